#pragma once

#include <string>

// Starts the plot viewer "vielo" from the program's own directory in the
// directory that holds the run's "graf.grp", and waits until it exits.
// False (with the reason in `error`) when it could not be started.
bool RunViewer(const std::string& resultDir, std::string& error);
