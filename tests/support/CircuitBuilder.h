#pragma once

#include <string>

#include "model/Geometry.h"

class Schematic;
class TBaseElement;
class TConnector;

// Builds schematics for engine tests: places elements, draws wires between
// pins (a route from one pin centre to the other, each end joined to its
// pin), taps onto existing wires and signal links.
class CircuitBuilder {
public:
    explicit CircuitBuilder(Schematic& sheet) : sheet_(sheet) {}

    TBaseElement* Add(const std::string& cls, int left, int top);
    static TConnector* Pin(TBaseElement* e, const char* name);
    // A wire from pin a to pin b; both pins must be free.
    void Wire(TConnector* a, TConnector* b);
    // A wire from pin a onto the middle of the longest segment of the node
    // that pin `on` is wired into.
    void WireToNode(TConnector* a, TConnector* on);
    // A wire between the middles of the longest segments of the nodes that
    // pins a and b are wired into, joining the two nodes.
    void Bridge(TConnector* a, TConnector* b);
    // Links output `output` of `from` to input `input` of `to`.
    void Link(TBaseElement* from, TBaseElement* to, int input = 0, int output = 0);
    static void Set(TBaseElement* e, const char* param, double value);

private:
    Schematic& sheet_;
};
