#include "Input.h"

#include "Output.h"
#include "Signals.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace charsetkit {
namespace tool {

const char* const kStdinName = "(standard input)";

namespace {

std::string systemError(int error) {
    return std::strerror(error);
}

} // namespace

InputData::InputData(InputData&& other) noexcept
    : m_mapped(other.m_mapped), m_mappedSize(other.m_mappedSize), m_owned(other.m_owned),
      m_ownedSize(other.m_ownedSize) {
    other.m_mapped = nullptr;
    other.m_mappedSize = 0;
    other.m_owned = nullptr;
    other.m_ownedSize = 0;
}

InputData& InputData::operator=(InputData&& other) noexcept {
    if (this != &other) {
        release();
        m_mapped = other.m_mapped;
        m_mappedSize = other.m_mappedSize;
        m_owned = other.m_owned;
        m_ownedSize = other.m_ownedSize;
        other.m_mapped = nullptr;
        other.m_mappedSize = 0;
        other.m_owned = nullptr;
        other.m_ownedSize = 0;
    }
    return *this;
}

InputData::~InputData() {
    release();
}

void InputData::release() {
    if (m_mapped != nullptr) {
        munmap(const_cast<char*>(m_mapped), m_mappedSize);
        m_mapped = nullptr;
        m_mappedSize = 0;
    }
    std::free(m_owned);
    m_owned = nullptr;
    m_ownedSize = 0;
}

void InputData::forgetBefore(std::size_t offset) {
    if (m_mapped == nullptr) {
        return;
    }
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t length = std::min(offset, m_mappedSize) / page * page;
    if (length > 0) {
        madvise(const_cast<char*>(m_mapped), length, MADV_DONTNEED);
    }
}

bool InputData::load(const std::string& path, std::string& error, std::size_t limit) {
    release();
    setInputName(shownName(displayName(path)));
    if (path == "-") {
        return loadDescriptor(STDIN_FILENO, error, limit);
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    const bool ok = loadDescriptor(fd, error, limit);
    close(fd);
    return ok;
}

bool InputData::loadDescriptor(int fd, std::string& error, std::size_t limit) {
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        error = systemError(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = "is a directory";
        return false;
    }
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        if (!checkSize(size, limit, error)) {
            return false;
        }
        void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            madvise(mapped, size, MADV_SEQUENTIAL);
            m_mapped = static_cast<const char*>(mapped);
            m_mappedSize = size;
            return true;
        }
        // Some file systems cannot map files: read them instead.
    }
    // Pipes, terminals, devices and files whose size is not known in advance.
    if (!readAll(fd, error, limit)) {
        release();
        return false;
    }
    return true;
}

bool InputData::readAll(int fd, std::string& error, std::size_t limit) {
    std::size_t capacity = 0;
    for (;;) {
        if (m_ownedSize == capacity) {
            if (capacity > limit) {
                // One byte more than the limit was asked for, and came.
                error = "too large (more than " + std::to_string(limit) +
                        " bytes, the most that can be processed at once)";
                return false;
            }
            // Grow by half, but never read more than one byte past the limit.
            std::size_t grown = capacity < 64 * 1024 ? 64 * 1024 : capacity + capacity / 2;
            grown = std::min(grown, limit < SIZE_MAX ? limit + 1 : limit);
            void* block = std::realloc(m_owned, grown);
            if (block == nullptr) {
                error = "out of memory";
                return false;
            }
            m_owned = static_cast<char*>(block);
            capacity = grown;
        }
        const ssize_t got = read(fd, m_owned + m_ownedSize, capacity - m_ownedSize);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno == EISDIR ? std::string("is a directory") : systemError(errno);
            return false;
        }
        if (got == 0) {
            break;
        }
        m_ownedSize += static_cast<std::size_t>(got);
    }
    if (m_ownedSize == 0) {
        std::free(m_owned);
        m_owned = nullptr;
    } else if (m_ownedSize < capacity) {
        // Give back the unused end (a failed shrink keeps the larger block).
        void* block = std::realloc(m_owned, m_ownedSize);
        if (block != nullptr) {
            m_owned = static_cast<char*>(block);
        }
    }
    return true;
}

ChunkReader::~ChunkReader() {
    if (m_owned) {
        close(m_fd);
    }
}

bool ChunkReader::open(const std::string& path, std::string& error) {
    setInputName(shownName(displayName(path)));
    int fd = STDIN_FILENO;
    if (path != "-") {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            error = systemError(errno);
            return false;
        }
    }
    struct stat info {};
    const bool statted = fstat(fd, &info) == 0;
    const int statError = errno;
    if (!statted || S_ISDIR(info.st_mode)) {
        error = statted ? std::string("is a directory") : systemError(statError);
        if (fd != STDIN_FILENO) {
            close(fd);
        }
        return false;
    }
    if (S_ISREG(info.st_mode)) {
        posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        // Standard input may be a file already read in part.
        const off_t at = lseek(fd, 0, SEEK_CUR);
        if (at >= 0 && at < info.st_size) {
            m_expected = static_cast<std::uint64_t>(info.st_size - at);
        }
        m_seekable = at == 0;
    }
    m_fd = fd;
    m_owned = fd != STDIN_FILENO;
    return true;
}

bool ChunkReader::read(char* buffer, std::size_t capacity, std::size_t& got, std::string& error) {
    got = 0;
    while (got < capacity) {
        const ssize_t n = ::read(m_fd, buffer + got, capacity - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno == EISDIR ? std::string("is a directory") : systemError(errno);
            return false;
        }
        if (n == 0) {
            if (m_read < m_expected) {
                // A regular file cut short under the reader.
                error = "changed or became unreadable while it was being read";
                return false;
            }
            break;
        }
        got += static_cast<std::size_t>(n);
        m_read += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool ChunkReader::rewind(std::string& error) {
    if (lseek(m_fd, 0, SEEK_SET) != 0) {
        error = systemError(errno);
        return false;
    }
    m_read = 0;
    return true;
}

std::string displayName(const std::string& path) {
    return path == "-" ? std::string(kStdinName) : path;
}

bool checkSize(std::size_t size, std::size_t limit, std::string& error) {
    if (size > limit) {
        error = "too large (" + std::to_string(size) + " bytes; at most " + std::to_string(limit) +
                " bytes can be processed at once)";
        return false;
    }
    return true;
}

} // namespace tool
} // namespace charsetkit
