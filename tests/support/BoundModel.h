#pragma once

#include <memory>

#include "Simulation/RunContext.h"
#include "Simulation/SimModel.h"
#include "model/Schematic.h"

// An empty run model bound to a schematic outside any run, for tests that
// set the potentials, inputs or model time an element reads and then call
// the element directly.
class BoundModel {
public:
    explicit BoundModel(Schematic& sheet) : run_(sheet, "") {
        run_.Adopt(std::make_unique<TSimModel>(sheet.RunSettings));
    }
    TSimModel& operator*() const { return *run_.Model(); }
    TSimModel* operator->() const { return run_.Model(); }

private:
    TRunContext run_;
};
