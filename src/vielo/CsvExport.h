#pragma once

#include <ostream>
#include <string>

#include "vielo/GrpFile.h"

// The samples as comma-separated text for spreadsheets and scripts: a header
// row ("Время", then the input names, in quotes where they hold a comma or
// a quote), then one row per sample with the time and each input. Numbers use "." and the shortest text that reads back to
// the same float; values the run left undefined appear as "nan" or "inf".
void WriteCsv(const GrpData& data, std::ostream& out);

// Returns an empty string on success, otherwise the message for the user.
std::string WriteCsvFile(const GrpData& data, const std::string& path);
