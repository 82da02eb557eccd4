#pragma once

#include <string>
#include <vector>

// The file menu's recent schematics, newest first.
inline constexpr std::size_t RecentFilesKept = 10;

// The list after `path` was opened or saved: at the front, once, at most
// RecentFilesKept long.
std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path);
// The list without `path` (a file that could not be opened).
std::vector<std::string> WithoutRecentFile(std::vector<std::string> list, const std::string& path);
