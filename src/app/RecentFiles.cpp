#include "app/RecentFiles.h"

#include <algorithm>

std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path) {
    if (path.empty()) return list;
    list = WithoutRecentFile(std::move(list), path);
    list.insert(list.begin(), path);
    if (list.size() > RecentFilesKept) list.resize(RecentFilesKept);
    return list;
}

std::vector<std::string> WithoutRecentFile(std::vector<std::string> list, const std::string& path) {
    std::erase(list, path);
    return list;
}
