#pragma once

#include <string>
#include <string_view>
#include <vector>

class TStatic;
class TInfoInput;

// What the summing and multiplying junctions share: inputs added and deleted
// at run time, the input count in the file, and a layout that grows the
// block by 12 pixels per input.

// Pixels of body height per input.
inline constexpr int JunctionInputPitch = 12;
// Fewest inputs a junction keeps.
inline constexpr int JunctionMinInputs = 2;

// Creates one more input after the others; no layout.
TInfoInput* CreateJunctionInput(TStatic& block);
// Frees the input when more than the minimum remain; false otherwise.
bool RemoveJunctionInput(TStatic& block, TInfoInput* input);
// Places the inputs 12 pixels apart, sizes the body and the block to them and
// centres the output and the sign; moved pins re-route their links.
void LayOutJunction(TStatic& block);

// Appends "#" and the input count to the last line when the block has more
// than the minimum.
void AppendInputCount(const TStatic& block, std::vector<std::string>& list);
// The count after "#" in a header, or 0 when there is none; a count that is
// not a whole number is reported against the header's line and gives 0.
int InputCountInHeader(const TStatic& block, std::string_view header, int lineIndex);
// Creates inputs until the block has `count` of them and lays it out when any
// was created.
void GrowJunctionTo(TStatic& block, int count);
