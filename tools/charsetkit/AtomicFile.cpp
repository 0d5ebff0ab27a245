#include "AtomicFile.h"

#include "Signals.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace charsetkit {
namespace tool {

namespace {

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

AtomicFile::~AtomicFile() {
    discard();
}

bool AtomicFile::open(const std::string& given, std::string& error) {
    discard();
    std::string target = given;
    struct stat info {};
    mode_t mode = 0;
    if (stat(given.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error = "is a directory";
            return false;
        }
        if (!S_ISREG(info.st_mode)) {
            error = "is not a regular file";
            return false;
        }
        mode = info.st_mode & 07777;
        // A symbolic link is written through, as a shell redirection would:
        // the file it leads to is replaced, not the link, which may be shared
        // (as /dev/stdout is).
        struct stat link {};
        if (lstat(given.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            char* resolved = realpath(given.c_str(), nullptr);
            if (resolved == nullptr) {
                error = std::strerror(errno);
                return false;
            }
            target = resolved;
            std::free(resolved);
        }
    } else if (lstat(given.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        error = "is a symbolic link to a missing file";
        return false;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (target.empty() || target.back() == '/') {
        error = "is not a file name";
        return false;
    }
    // The temporary name starts with at most 100 bytes of the target's, so
    // that it stays within the length a name may have however long that is.
    const std::string base = baseName(target);
    std::string temp = directoryOf(target) + "/." +
                       base.substr(0, std::min<std::size_t>(base.size(), 100)) +
                       ".charsetkit-XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = std::string("cannot create a file in its directory: ") + std::strerror(errno);
        return false;
    }
    m_fd = fd;
    m_temp.assign(name.data());
    m_target = target;
    setPendingTemp(m_temp);
    fchmod(m_fd, mode);
    return true;
}

bool AtomicFile::write(const char* data, std::size_t size, std::string& error) {
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = std::strerror(errno);
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool AtomicFile::commit(std::string& error) {
    if (fsync(m_fd) != 0 && errno != EINVAL) {
        error = std::strerror(errno);
        return false;
    }
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (rename(m_temp.c_str(), m_target.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    clearPendingTemp();
    m_temp.clear();
    return true;
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        clearPendingTemp();
        unlink(m_temp.c_str());
        m_temp.clear();
    }
}

} // namespace tool
} // namespace charsetkit
