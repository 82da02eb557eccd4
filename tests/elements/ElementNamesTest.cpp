#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/BoundModel.h"
#include "support/RecordingMessages.h"

namespace {

// Pins asked for by name that the element lacks, as "Class: name".
std::vector<std::string> missedNames;

void RecordMiss(const TBaseElement& e, std::string_view name) {
    missedNames.push_back(e.Name() + ": " + std::string(name));
}

class NameMisses {
public:
    NameMisses() : previous_(SetNameMissHook(&RecordMiss)) { missedNames.clear(); }
    ~NameMisses() { SetNameMissHook(previous_); }

private:
    TNameMissHook previous_;
};

int MethodCount(const TBaseElement& e) {
    int n = 0;
    for (const char* const* m = e.ModelMethods; m && *m; ++m)
        ++n;
    return n ? n : 1;
}

std::set<std::string> PinNames(const TBaseElement& e) {
    std::set<std::string> names;
    for (const TConnector* c : e.FConnectors)
        names.insert(c->Name);
    return names;
}

// The names an element's branch table uses that the element does not have.
std::vector<std::string> BadTableNames(TBaseElement& e) {
    std::vector<std::string> bad;
    const std::set<std::string> pins = PinNames(e);
    const TBranchRecord* table = e.GetCircuitModel();
    for (const TBranchRecord* r = table; r && r->T1.Kind != -1; ++r) {
        for (const TTerminal* t : {&r->T1, &r->T2})
            if (t->Kind == 0 && (!t->Pin || !pins.count(t->Pin)))
                bad.push_back(std::string("terminal ") + (t->Pin ? t->Pin : "(none)"));
        for (const TValueRef* v : {&r->g, &r->E, &r->J}) {
            if (v->Kind == 1) {
                bool found = false;
                for (const ParamValue& p : e.ParamValues)
                    found = found || (v->Param && p.Def->Name == std::string(v->Param));
                if (!found)
                    bad.push_back(std::string("parameter ") + (v->Param ? v->Param : "(none)"));
            }
            if ((v->Kind == 2 || v->Kind == 3) && !v->Function)
                bad.push_back("value without a function");
        }
    }
    return bad;
}

bool MissingParameterMessage(const std::string& text) {
    return text.find("не содержит параметра") != std::string::npos;
}

TEST(ElementNames, EveryPinBranchTerminalAndParameterNameOfEveryClassExists) {
    int classes = 0, tables = 0;
    for (const TElementClass* cls : AllElementClasses()) {
        if (!cls->Create) continue;
        for (int method = 0;; ++method) {
            RecordingMessages messages;
            NameMisses misses;
            Schematic sheet;
            BoundModel bound(sheet);
            TBaseElement* e = CreateElementByName(sheet, cls->Name);
            if (method >= MethodCount(*e)) break;
            if (method == 0) ++classes;
            const std::string where = cls->Name + " method " + std::to_string(method);
            // What a run does with the element before and during its first
            // step, with every name looked up on the way.
            e->MethodIndex = method;
            if (e->ModelParamDefs) {
                e->AutoModel = true;
                e->CalcModelParams();
            }
            e->ResetState();
            e->CheckBeforeRun();
            EXPECT_EQ(BadTableNames(*e), std::vector<std::string>{}) << where;
            if (missedNames.empty())
                for (const TBranchRecord* r = e->GetCircuitModel(); r && r->T1.Kind != -1; ++r) {
                    ++tables;
                    for (const TValueRef* v : {&r->g, &r->E, &r->J}) {
                        // A live value's function runs on every read.
                        const double value = EvaluateValue(*e, *v).Value();
                        EXPECT_FALSE(value != value && v->Kind == 1)
                            << where << ": parameter reads as NaN";
                    }
                }
            EXPECT_EQ(missedNames, std::vector<std::string>{}) << where;
            for (const std::string& text : messages.Texts())
                EXPECT_FALSE(MissingParameterMessage(text)) << where << ": " << text;
        }
    }
    EXPECT_GT(classes, 30);
    EXPECT_GT(tables, 10);
}

TEST(ElementNames, TheChecksSeeAMisspeltName) {
    RecordingMessages messages;
    NameMisses misses;
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TResistor");
    EXPECT_EQ(e->FindConnector("Conector1"), nullptr);
    EXPECT_EQ(missedNames, std::vector<std::string>{"Resistor: Conector1"});
    EXPECT_EQ(e->FindParam("r"), nullptr);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_TRUE(MissingParameterMessage(messages.Texts()[0]));
}

} // namespace
