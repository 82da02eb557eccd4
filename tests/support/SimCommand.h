#pragma once

#include <string>

struct SimResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built quentor-sim with the arguments (shell-quoted by the
// caller), its standard error kept in a file of `scratchDir`.
SimResult RunSimCommand(const std::string& args, const std::string& scratchDir);

// Runs a shell command line and returns its exit status with what it wrote.
SimResult RunShell(const std::string& command, const std::string& scratchDir);
