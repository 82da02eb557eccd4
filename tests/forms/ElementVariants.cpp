#include "forms/ElementVariants.h"

#include "model/ClassRegistry.h"

std::vector<std::string> ConcreteClassNames() {
    std::vector<std::string> names;
    for (const TElementClass* cls : AllElementClasses())
        if (cls->Create && cls->Name.rfind("TTest", 0) != 0) names.push_back(cls->Name);
    return names;
}

const std::vector<Orientation>& Orientations() {
    static const std::vector<Orientation> all = {
        {"0", 0, false, false},       {"90", 1, false, false},   {"180", 2, false, false},
        {"270", 3, false, false},     {"xflip", 0, true, false}, {"yflip", 0, false, true},
        {"90+xflip", 1, true, false},
    };
    return all;
}

void Orient(TBaseElement& e, const Orientation& o) {
    // The rotate command: the present angle plus 90.
    for (int i = 0; i < o.turns; ++i)
        e.SetAngle(e.GetAngle() + 90);
    if (o.xflip) e.SetXFlip(true);
    if (o.yflip) e.SetYFlip(true);
}

bool IsSignalOnly(const TBaseElement& e) {
    return e.FConnectors.empty() && (!e.FInputs.empty() || !e.FOutputs.empty());
}
