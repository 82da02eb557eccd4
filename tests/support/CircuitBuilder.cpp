#include "support/CircuitBuilder.h"

#include <gtest/gtest.h>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"

TBaseElement* CircuitBuilder::Add(const std::string& cls, int left, int top) {
    TBaseElement* e = CreateElementByName(sheet_, cls);
    e->Left = left;
    e->Top = top;
    return e;
}

TConnector* CircuitBuilder::Pin(TBaseElement* e, const char* name) {
    TConnector* c = e->FindConnector(name);
    EXPECT_NE(c, nullptr) << e->ClassName() << " has no pin " << name;
    return c;
}

void CircuitBuilder::Wire(TConnector* a, TConnector* b) {
    EXPECT_FALSE(a->IsConnected());
    EXPECT_FALSE(b->IsConnected());
    const auto route = TElectricLine::CreateRoute(sheet_, a->GetLink(), b->GetLink());
    ASSERT_FALSE(route.empty());
    // The route's segments are ordered from one end to the other; each pin
    // goes onto the segment whose end lies at its centre.
    for (TConnector* pin : {a, b})
        for (TElectricLine* s : route)
            if ((s->StartPoint() == pin->GetLink() && !s->FStartLink) ||
                (s->EndPoint() == pin->GetLink() && !s->FEndLink)) {
                if (pin->ConnectTo(s)) break;
            }
    EXPECT_TRUE(a->IsConnected()) << "pin " << a->Name;
    EXPECT_TRUE(b->IsConnected()) << "pin " << b->Name;
}

namespace {

TElectricLine* LongestSegment(TConnector* on) {
    TElectricLine* target = nullptr;
    for (TElectricLine* s : on->FLink->FNode->Segments)
        if (!target || std::max(s->Width, s->Height) > std::max(target->Width, target->Height)) target = s;
    return target;
}

TPoint Middle(const TElectricLine* s) {
    const TPoint a = s->StartPoint(), b = s->EndPoint();
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// Joins the free end of one of the route's segments lying at p to `target`.
bool JoinRouteEnd(const std::vector<TElectricLine*>& route, TPoint p, TElectricLine* target) {
    for (TElectricLine* s : route)
        if ((s->StartPoint() == p && !s->FStartLink) || (s->EndPoint() == p && !s->FEndLink))
            if (TElectricLine::Join(s, target, p)) return true;
    return false;
}

} // namespace

void CircuitBuilder::Bridge(TConnector* a, TConnector* b) {
    ASSERT_TRUE(a->IsConnected());
    ASSERT_TRUE(b->IsConnected());
    TElectricLine* ta = LongestSegment(a);
    TElectricLine* tb = LongestSegment(b);
    const TPoint pa = Middle(ta), pb = Middle(tb);
    const auto route = TElectricLine::CreateRoute(sheet_, pa, pb);
    ASSERT_FALSE(route.empty());
    EXPECT_TRUE(JoinRouteEnd(route, pa, ta));
    EXPECT_TRUE(JoinRouteEnd(route, pb, tb));
    EXPECT_EQ(a->FLink->FNode, b->FLink->FNode);
}

void CircuitBuilder::WireToNode(TConnector* a, TConnector* on) {
    ASSERT_TRUE(on->IsConnected());
    TElectricLine* target = LongestSegment(on);
    const TPoint mid = Middle(target);
    const auto route = TElectricLine::CreateRoute(sheet_, a->GetLink(), mid);
    ASSERT_FALSE(route.empty());
    for (TElectricLine* s : route)
        if ((s->StartPoint() == a->GetLink() && !s->FStartLink) || (s->EndPoint() == a->GetLink() && !s->FEndLink))
            if (a->ConnectTo(s)) break;
    EXPECT_TRUE(JoinRouteEnd(route, mid, target));
    EXPECT_TRUE(a->IsConnected());
    EXPECT_EQ(a->FLink->FNode, on->FLink->FNode);
}

void CircuitBuilder::Link(TBaseElement* from, TBaseElement* to, int input, int output) {
    ASSERT_LT(std::size_t(output), from->FOutputs.size());
    ASSERT_LT(std::size_t(input), to->FInputs.size());
    to->FInputs[std::size_t(input)]->SetSource(from->FOutputs[std::size_t(output)]);
}

void CircuitBuilder::Set(TBaseElement* e, const char* param, double value) {
    ParamValue* v = e->FindParam(param);
    ASSERT_NE(v, nullptr);
    v->Value = value;
}
