#pragma once

#include "blocks/Families.h"

// The live output of a static block whose getter is its member OutputValue.
template <class Block> TValue LiveOutput(Block* block) {
    return TValue(block, &MemberGetter<Block, &Block::OutputValue>);
}
