#pragma once

#include <string>
#include <string_view>
#include <vector>

// Windows-1251 on disk, UTF-8 in memory.

// Every byte maps to one character and back; the one unassigned byte (0x98)
// becomes the private-use U+F798.
std::string Cp1251ToUtf8(std::string_view text);
// Characters without a Windows-1251 byte, and malformed UTF-8, become '?'.
std::string Utf8ToCp1251(std::string_view text);

// Splits file content into lines at CR LF, bare CR or bare LF.
std::vector<std::string> SplitLines(std::string_view text);
// Joins lines, each ended by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// Reads a whole Windows-1251 text file as UTF-8 lines; false when it cannot be read.
bool ReadTextFile(const std::string& path, std::vector<std::string>& lines);
// Writes UTF-8 lines as a Windows-1251 file with CR LF, replacing it at once
// (ReplaceFileAtomically): a failed write leaves the old file as it was.
// False on failure, with the reason in `error` when given.
bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                   std::string* error = nullptr);

// Case folding for the letters of both alphabets the files use (Latin,
// Cyrillic with Ё); other characters are kept.
std::string FoldCase(std::string_view utf8);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
