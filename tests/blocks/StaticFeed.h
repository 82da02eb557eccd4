#pragma once

#include <string>
#include <vector>

#include "blocks/Families.h"
#include "model/ClassRegistry.h"

// A static block under test alone: its inputs are the first entries of the
// static-input vector, which the test writes directly.
template <class Block> Block* NewStatic(Schematic& sheet, const std::string& cls) {
    auto* b = dynamic_cast<Block*>(CreateElementByName(sheet, cls));
    b->FInputBase = 0;
    b->ResetState();
    return b;
}

// The block's output for the given input values.
inline double OutputFor(TStatic& block, std::vector<double> inputs) {
    block.Sheet().Run().StaticInputs = std::move(inputs);
    return block.GetOutput().Value();
}
