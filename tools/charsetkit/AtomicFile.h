#ifndef CHARSETKIT_TOOL_ATOMICFILE_H
#define CHARSETKIT_TOOL_ATOMICFILE_H

// An output file that appears whole or not at all: the bytes go to a
// temporary file in the target's directory, which is flushed to disk and then
// renamed over the target. Until commit() succeeds the target is untouched;
// the temporary file is removed on failure, on destruction and, through the
// handlers of Signals.h, when the process is interrupted. A target that is a
// symbolic link is written through: the file it leads to is replaced.

#include <cstddef>
#include <string>

namespace charsetkit {
namespace tool {

class AtomicFile {
public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    /// Creates the temporary file for `target`. False with a reason when the
    /// target is a directory, a link to nothing, or its directory cannot be
    /// written.
    bool open(const std::string& target, std::string& error);
    bool write(const char* data, std::size_t size, std::string& error);
    /// Flushes, closes and renames the temporary file onto the target.
    bool commit(std::string& error);
    /// Closes and removes the temporary file, if any.
    void discard();

private:
    int m_fd = -1;
    std::string m_target;
    std::string m_temp;
};

} // namespace tool
} // namespace charsetkit

#endif
