#pragma once

#include <string>

// Where the typical-device databases live. Each element kind with a database
// name has one file, name + ".edb". The program's own directory is not
// writable once installed, so:
// - QUENTOR_DB_DIR, when set, is the one directory read and written;
// - otherwise the user's copy in $XDG_DATA_HOME/quentor (default
//   ~/.local/share/quentor) is read when it exists, else the shipped file:
//   beside the program in the build tree, or in the installed data
//   directory (bin/../share/quentor);
// - writes always go to the user's copy, which starts as a copy of the
//   shipped file.

// Directory of the running program, with a trailing '/'.
std::string ProgramDirectory();
// The user's database directory, with a trailing '/'.
std::string UserDatabaseDirectory();
// The shipped file of a database file name for a program in `programDir`:
// beside it when it is there, else under the installed data directory.
std::string ShippedDatabasePath(const std::string& programDir, const std::string& fileName);
// The file to read for a database name.
std::string DatabasePath(const std::string& dbSection);
// The file to write; prepares the user's copy (directory, shipped contents).
std::string DatabaseWritePath(const std::string& dbSection);
