#pragma once

#include <string>
#include <vector>

class Schematic;

// The schematic file: signature, run settings, wire segments, their joints,
// element records and pin connections, as Windows-1251 text with CR LF.

// The first line of every schematic file.
extern const char* const SchematicSignature;

// The file's lines (UTF-8) for the present schematic.
std::vector<std::string> SchematicToLines(const Schematic& sheet);

// Writes the file, replacing it; clears Modified. False after an error
// message when the file cannot be written (Modified then stays set).
bool SaveSchematic(Schematic& sheet, const std::string& path);

// Truncated: the file ends before one of its sections does; what was read
// stays on the sheet, but it is not the file's whole content.
enum class TLoadResult { Loaded, NotASchematic, Unreadable, Truncated };

// Reads lines into a cleared schematic. Damaged lines and sections are
// reported and skipped; whatever can be read is kept. Every problem of one
// reading is shown together, as one Problems list.
TLoadResult LoadSchematicLines(Schematic& sheet, const std::vector<std::string>& lines);

// Reads a file; an unreadable file is reported.
TLoadResult LoadSchematic(Schematic& sheet, const std::string& path);

// The run settings as "T=", "h=", "pr=", "TNC=", "GS=" lines, and their
// reader: from `index` while lines contain "="; returns the first other line.
void SaveRunParams(const Schematic& sheet, std::vector<std::string>& lines);
int LoadRunParams(Schematic& sheet, const std::vector<std::string>& lines, int index);
