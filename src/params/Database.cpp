#include "params/Database.h"

#include "params/AtomicFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// An empty QUENTOR_DB_DIR counts as unset.
bool DirectoryOverridden() {
    const char* dir = std::getenv("QUENTOR_DB_DIR");
    return dir && *dir;
}

std::string WithSlash(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}
} // namespace

std::string ProgramDirectory() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return WithSlash(exe.parent_path().string());
}

std::string UserDatabaseDirectory() {
    if (DirectoryOverridden()) return WithSlash(std::getenv("QUENTOR_DB_DIR"));
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return WithSlash(std::string(xdg) + "/quentor");
    const char* home = std::getenv("HOME");
    return WithSlash(std::string(home && *home ? home : ".") + "/.local/share/quentor");
}

#ifndef QUENTOR_SHIPPED_DATA_RELATIVE
#define QUENTOR_SHIPPED_DATA_RELATIVE "../share/quentor"
#endif

std::string ShippedDatabasePath(const std::string& programDir, const std::string& fileName) {
    const std::string beside = WithSlash(programDir) + fileName;
    std::error_code ec;
    if (fs::exists(beside, ec)) return beside;
    const std::string installed = WithSlash(programDir) + QUENTOR_SHIPPED_DATA_RELATIVE "/" + fileName;
    return fs::exists(installed, ec) ? installed : beside;
}

std::string DatabasePath(const std::string& dbSection) {
    const std::string name = dbSection + ".edb";
    const std::string user = UserDatabaseDirectory() + name;
    if (DirectoryOverridden()) return user;
    std::error_code ec;
    if (fs::exists(user, ec)) return user;
    return ShippedDatabasePath(ProgramDirectory(), name);
}

std::string DatabaseWritePath(const std::string& dbSection) {
    const std::string name = dbSection + ".edb";
    const std::string dir = UserDatabaseDirectory();
    const std::string user = dir + name;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::exists(user, ec)) {
        const std::string shipped = ShippedDatabasePath(ProgramDirectory(), name);
        // Whole or not at all: a fragment would hide the shipped devices.
        std::ifstream in(shipped, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        std::string error;
        if (in && !in.bad()) ReplaceFileAtomically(user, bytes.str(), error);
    }
    return user;
}
