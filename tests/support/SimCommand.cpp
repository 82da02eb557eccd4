#include "support/SimCommand.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

SimResult RunShell(const std::string& command, const std::string& scratchDir) {
    const std::string errFile = scratchDir + "/stderr.txt";
    SimResult r;
    FILE* p = popen((command + " 2>" + errFile).c_str(), "r");
    if (!p) return r;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* e = fopen(errFile.c_str(), "r")) {
        while ((n = fread(buf.data(), 1, buf.size(), e)) > 0) r.err.append(buf.data(), n);
        fclose(e);
    }
    return r;
}

SimResult RunSimCommand(const std::string& args, const std::string& scratchDir) {
    return RunShell(std::string(QUENTOR_BINARY_DIR) + "/quentor-sim " + args, scratchDir);
}
