#pragma once

#include <optional>
#include <string>
#include <vector>

// Side files that keep a modified schematic between saves: beside the
// schematic ("rc.dvn" -> "rc.dvn.autosave"), or, where its directory takes no
// new files, under the user's state directory with the schematic's whole
// path in the name. Written in the schematic's own format.

inline constexpr const char* AutosaveSuffix = ".autosave";

// "$XDG_STATE_HOME/quentor/autosave", with ~/.local/state when the variable
// is unset or not absolute; empty without a home directory.
std::string AutosaveStateDir();
// The two places, in the order they are tried.
std::string AutosaveBeside(const std::string& schematic);
std::string AutosaveInStateDir(const std::string& schematic, const std::string& stateDir);

// Writes the lines beside the schematic, else under `stateDir`; the path
// written, or empty when neither place took the file.
std::string WriteAutosave(const std::string& schematic, const std::vector<std::string>& lines,
                          const std::string& stateDir);
// The newer of the side files that are newer than the schematic itself.
std::optional<std::string> NewerAutosave(const std::string& schematic, const std::string& stateDir);
// Removes both side files, wherever they are.
void RemoveAutosaves(const std::string& schematic, const std::string& stateDir);
