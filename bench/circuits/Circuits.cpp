#include "circuits/Circuits.h"

#include <vector>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"

namespace {

TBaseElement* Place(Schematic& sheet, const char* cls, const char* pin, TPoint at, int angle = 0) {
    TBaseElement* e = CreateElementByName(sheet, cls);
    if (angle) e->SetAngle(angle);
    const TControl* c = e->FindChild(pin);
    e->Left = at.x - (c->Left + c->Width / 2);
    e->Top = at.y - (c->Top + c->Height / 2);
    return e;
}

// A wire dragged from the pin and released at `to`, as in the editor.
void Drag(TBaseElement* e, const char* pin, TPoint to) {
    TConnector* c = e->FindConnector(pin);
    c->MouseDown(TMouseButton::Left, false, c->GetLink());
    c->MouseMove(to);
    c->MouseUp(TMouseButton::Left, false, to);
}

TPoint PinAt(TBaseElement* e, const char* pin) { return e->FindConnector(pin)->GetLink(); }

} // namespace

std::unique_ptr<Schematic> Ladder(int sections) {
    auto sheet = std::make_unique<Schematic>();
    Schematic& s = *sheet;
    auto* vs = Place(s, "TVoltageSource", "Plus", {120, 100});
    auto* g0 = Place(s, "TGround", "Connector", {120, 200});
    Drag(vs, "Minus", PinAt(g0, "Connector"));
    TBaseElement* previous = vs;
    const char* previousPin = "Plus";
    std::vector<TBaseElement*> pendingTap;
    for (int k = 0; k < sections; ++k) {
        const int x = 200 + 100 * k;
        auto* r = Place(s, "TResistor", "Connector1", {x, 100});
        Drag(previous, previousPin, PinAt(r, "Connector1"));
        auto* c = Place(s, "TCapacitor", "Connector1", {x + 80, 130}, 90);
        auto* g = Place(s, "TGround", "Connector", {x + 80, 210});
        Drag(c, "Connector2", PinAt(g, "Connector"));
        previous = r;
        previousPin = "Connector2";
        if (k == sections - 1) Drag(c, "Connector1", PinAt(r, "Connector2"));
        else pendingTap.push_back(c);
    }
    // Taps onto the rail once the next resistor's wire is drawn.
    for (TBaseElement* c : pendingTap) {
        const TPoint p = PinAt(c, "Connector1");
        Drag(c, "Connector1", {p.x, 104});
    }
    return sheet;
}

std::unique_ptr<Schematic> Mesh(int rows, int cols) {
    auto sheet = std::make_unique<Schematic>();
    CircuitBuilder b(*sheet);
    using P = CircuitBuilder;
    const int pitch = 240;
    // Each node is the top pin of its capacitor; the first wire onto a node
    // goes to that pin, later ones tap the node's wire.
    std::vector<TConnector*> node(std::size_t(rows * cols));
    auto at = [&](int i, int j) -> TConnector*& { return node[std::size_t(i * cols + j)]; };
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            const int x = 200 + pitch * j, y = 200 + pitch * i;
            auto* c = b.Add("TCapacitor", x, y);
            c->SetAngle(90);
            auto* g = b.Add("TGround", x + 100, y + 120);
            b.Wire(P::Pin(c, "Connector2"), P::Pin(g, "Connector"));
            at(i, j) = P::Pin(c, "Connector1");
        }
    std::vector<char> wired(node.size(), 0);
    auto attach = [&](TConnector* pin, int i, int j) {
        char& w = wired[std::size_t(i * cols + j)];
        if (!w) b.Wire(pin, at(i, j));
        else b.WireToNode(pin, at(i, j));
        w = 1;
    };
    auto* vs = b.Add("TVoltageSource", 40, 120);
    auto* g0 = b.Add("TGround", 40, 260);
    b.Wire(P::Pin(vs, "Minus"), P::Pin(g0, "Connector"));
    attach(P::Pin(vs, "Plus"), 0, 0);
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) {
            const int x = 200 + pitch * j, y = 200 + pitch * i;
            if (j + 1 < cols) {
                const bool diode = j == cols / 2;
                auto* e = b.Add(diode ? "TDiode" : "TResistor", x + 60, y - 60);
                attach(P::Pin(e, diode ? "Anode" : "Connector1"), i, j);
                attach(P::Pin(e, diode ? "Cathode" : "Connector2"), i, j + 1);
            }
            if (i + 1 < rows) {
                auto* r = b.Add("TResistor", x - 60, y + 60);
                r->SetAngle(90);
                attach(P::Pin(r, "Connector1"), i, j);
                attach(P::Pin(r, "Connector2"), i + 1, j);
            }
        }
    return sheet;
}
