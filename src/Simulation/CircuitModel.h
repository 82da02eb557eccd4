#pragma once

#include <cstdint>
#include <vector>

#include "Simulation/TValue.h"

class TBaseElement;
class TConnector;
class TInfoInput;

// How a circuit element describes itself to model assembly: a static,
// class-wide table of branch records ended by a record whose first terminal
// has kind -1. The current in a branch from terminal 1 to terminal 2 is
// g·(E − u) − J with u = φ(terminal 2) − φ(terminal 1).

using TElementFunction = double (*)(TBaseElement*);

struct TTerminal {
    std::int8_t Kind = -1;       // 0: a pin of the element, 1: an internal node, -1: end of table
    const char* Pin = nullptr;   // kind 0: the pin's name
    int Index = 0;               // kind 1: the local index of the internal node
};

struct TValueRef {
    // 0 constant, 1 parameter, 2 computed once, 3 live at every read, 4 live
    // but fixed within a step (reads the last solution once per step), 5 live
    // at every read but affine within a step (see TValue::AffineWithinStep).
    std::int8_t Kind = 0;
    double Constant = 0;
    const char* Param = nullptr;
    TElementFunction Function = nullptr;
    TValue::SlopeGetter Slopes = nullptr;  // kind 5: the stated slopes, if any
};

struct TBranchRecord {
    TTerminal T1;
    TTerminal T2;
    TValueRef g;
    TValueRef E;
    TValueRef J;
};

constexpr TTerminal PinTerminal(const char* pin) { return {0, pin, 0}; }
constexpr TTerminal InternalNode(int index) { return {1, nullptr, index}; }
constexpr TTerminal EndOfBranches() { return {-1, nullptr, 0}; }
constexpr TBranchRecord EndRecord() { return {EndOfBranches(), {}, {}, {}, {}}; }

constexpr TValueRef ConstValue(double v) { return {0, v, nullptr, nullptr}; }
constexpr TValueRef ParamValueRef(const char* name) { return {1, 0, name, nullptr}; }
constexpr TValueRef ComputedValue(TElementFunction f) { return {2, 0, nullptr, f}; }
constexpr TValueRef LiveValue(TElementFunction f) { return {3, 0, nullptr, f}; }
constexpr TValueRef StepValue(TElementFunction f) { return {4, 0, nullptr, f}; }
constexpr TValueRef AffineValue(TElementFunction f, TValue::SlopeGetter slopes = nullptr) {
    return {5, 0, nullptr, f, slopes};
}

// Adapts a member function to the slope getter of an affine value.
template <class T, int (T::*Method)(TNodeSlope*)> int MemberSlopes(TBaseElement* element, TNodeSlope* out) {
    return (static_cast<T*>(element)->*Method)(out);
}

// The global node number of a terminal: an internal node is FNodeBase + k; a
// pin is -1 when unconnected, else its equation index for the run.
int TerminalNode(const TBaseElement& element, const TTerminal& terminal);

// The value a reference stands for, for this element.
TValue EvaluateValue(TBaseElement& element, const TValueRef& ref);

// Number of records of a table (0 for none).
int BranchCount(const TBranchRecord* table);

// Number of internal nodes a table uses.
int InternalNodeCount(const TBranchRecord* table);

// What an element's live values read (see TBaseElement::DeclareLiveReads).
struct TLiveReads {
    std::vector<const TConnector*> Pins;
    std::vector<int> InternalNodes;  // local indices
    std::vector<const TInfoInput*> Inputs;
};
