#include "app/Autosave.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "params/Cp1251.h"

namespace fs = std::filesystem;

std::string AutosaveStateDir() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && fs::path(state).is_absolute()) return (fs::path(state) / "quentor" / "autosave").string();
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    return (fs::path(home) / ".local" / "state" / "quentor" / "autosave").string();
}

std::string AutosaveBeside(const std::string& schematic) { return schematic + AutosaveSuffix; }

std::string AutosaveInStateDir(const std::string& schematic, const std::string& stateDir) {
    if (stateDir.empty()) return {};
    std::error_code error;
    fs::path full = fs::absolute(schematic, error);
    if (error) full = schematic;
    // The whole path in one name, as "%home%user%rc.dvn", so that schematics
    // of the same name in different directories keep apart.
    std::string name = full.lexically_normal().string();
    for (char& c : name)
        if (c == '/') c = '%';
    return (fs::path(stateDir) / (name + AutosaveSuffix)).string();
}

std::string WriteAutosave(const std::string& schematic, const std::vector<std::string>& lines,
                          const std::string& stateDir) {
    const std::string beside = AutosaveBeside(schematic);
    if (WriteTextFile(beside, lines)) return beside;
    const std::string inState = AutosaveInStateDir(schematic, stateDir);
    if (inState.empty()) return {};
    std::error_code error;
    fs::create_directories(stateDir, error);
    return WriteTextFile(inState, lines) ? inState : std::string();
}

std::optional<std::string> NewerAutosave(const std::string& schematic, const std::string& stateDir) {
    std::error_code error;
    const auto saved = fs::last_write_time(schematic, error);
    if (error) return std::nullopt;
    std::optional<std::string> newest;
    fs::file_time_type newestTime = saved;
    for (const std::string& side : {AutosaveBeside(schematic), AutosaveInStateDir(schematic, stateDir)}) {
        if (side.empty() || !fs::is_regular_file(side, error)) continue;
        const auto written = fs::last_write_time(side, error);
        if (error || written <= newestTime) continue;
        newest = side;
        newestTime = written;
    }
    return newest;
}

void RemoveAutosaves(const std::string& schematic, const std::string& stateDir) {
    std::error_code error;
    fs::remove(AutosaveBeside(schematic), error);
    if (const std::string inState = AutosaveInStateDir(schematic, stateDir); !inState.empty())
        fs::remove(inState, error);
}
