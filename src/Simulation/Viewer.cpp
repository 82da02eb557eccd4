#include "Simulation/Viewer.h"

#include <cerrno>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

#include "params/Database.h"

bool RunViewer(const std::string& resultDir, std::string& error) {
    const std::string path = ProgramDirectory() + "vielo";
    if (access(path.c_str(), X_OK) != 0) {
        error = "Программа просмотра графиков не найдена: " + path;
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("Не удалось запустить ") + path + ": " + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        if (!resultDir.empty() && chdir(resultDir.c_str()) != 0) _exit(127);
        char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
        execv(path.c_str(), argv);
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        error = std::string("Не удалось запустить ") + path;
        return false;
    }
    return true;
}
