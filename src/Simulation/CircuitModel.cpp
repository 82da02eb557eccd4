#include "Simulation/CircuitModel.h"

#include "model/TBaseElement.h"
#include "model/TConnector.h"

#include <algorithm>

int TerminalNode(const TBaseElement& element, const TTerminal& terminal) {
    if (terminal.Kind == 1) return element.FNodeBase + terminal.Index;
    if (terminal.Kind != 0 || !terminal.Pin) return -1;
    const TConnector* pin = element.FindConnector(terminal.Pin);
    return pin && pin->IsConnected() ? pin->FSimNode : -1;
}

TValue EvaluateValue(TBaseElement& element, const TValueRef& ref) {
    switch (ref.Kind) {
    case 0: return ref.Constant;
    case 1: {
        const ParamValue* v = ref.Param ? element.FindParam(ref.Param) : nullptr;
        return v ? v->Value : 0.0;
    }
    case 2: return ref.Function ? ref.Function(&element) : 0.0;
    case 3: return ref.Function ? TValue(&element, ref.Function) : TValue(0.0);
    case 4: return ref.Function ? TValue::OncePerStep(&element, ref.Function) : TValue(0.0);
    case 5: return ref.Function ? TValue::AffineWithinStep(&element, ref.Function, ref.Slopes) : TValue(0.0);
    default: return 0.0;
    }
}

int BranchCount(const TBranchRecord* table) {
    int n = 0;
    for (const TBranchRecord* r = table; r && r->T1.Kind != -1; ++r) ++n;
    return n;
}

int InternalNodeCount(const TBranchRecord* table) {
    int count = 0;
    for (const TBranchRecord* r = table; r && r->T1.Kind != -1; ++r) {
        if (r->T1.Kind == 1) count = std::max(count, r->T1.Index + 1);
        if (r->T2.Kind == 1) count = std::max(count, r->T2.Index + 1);
    }
    return count;
}
