#include "params/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(int code) {
    switch (code) {
    case ENOSPC:
    case EDQUOT:
        return "нет места на диске";
    case EFBIG:
        return "превышен допустимый размер файла";
    case EACCES:
    case EPERM:
        return "нет прав на запись";
    case EROFS:
        return "файловая система только для чтения";
    case ENOENT:
    case ENOTDIR:
        return "нет такого каталога";
    default:
        return std::strerror(code);
    }
}

// The file a symbolic link points to is the one to replace, not the link.
std::string ResolvedTarget(const std::string& path) {
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf)) return buf;
    return path;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += std::size_t(n);
    }
    return true;
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    const std::string target = ResolvedTarget(path);
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = Reason(errno);
        return false;
    }
    auto fail = [&](int code) {
        ::close(fd);
        ::unlink(temp.c_str());
        error = Reason(code);
        return false;
    };
    // mkstemp creates the file for its owner only; a replaced file keeps its
    // permissions, a new one gets the usual ones.
    struct stat old {};
    mode_t mode = 0666;
    if (::stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (!WriteAll(fd, bytes)) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        error = Reason(code);
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        error = Reason(code);
        return false;
    }
    // The rename is durable only once the directory is on disk; the file
    // itself is complete either way, so a failure here is not reported.
    if (const int dir = ::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
