#ifndef CHARSETKIT_TOOL_INPUT_H
#define CHARSETKIT_TOOL_INPUT_H

// Reading whole inputs. Regular files are mapped into memory rather than
// copied, so that even inputs of hundreds of megabytes cost about their own
// size; pipes and terminals are read into a buffer that grows geometrically.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace charsetkit {
namespace tool {

/// The name under which standard input appears in output and messages.
extern const char* const kStdinName;

/// The bytes of one input, mapped or owned. Move-only.
class InputData {
public:
    InputData() = default;
    InputData(const InputData&) = delete;
    InputData& operator=(const InputData&) = delete;
    InputData(InputData&& other) noexcept;
    InputData& operator=(InputData&& other) noexcept;
    ~InputData();

    /// The bytes; never null, even for an empty input.
    const char* data() const {
        return m_mapped != nullptr ? m_mapped : m_owned != nullptr ? m_owned : "";
    }
    std::size_t size() const { return m_mapped != nullptr ? m_mappedSize : m_ownedSize; }
    bool empty() const { return size() == 0; }

    /// Tells that the bytes before `offset` will not be read again, so that a
    /// mapped file's pages there can leave memory (they are read back from
    /// the file if touched after all).
    void forgetBefore(std::size_t offset);

    /// Reads `path` ("-" is standard input), of at most `limit` bytes. On
    /// failure returns false with a reason such as "No such file or
    /// directory", "is a directory" or "too large (...)"; an endless input
    /// such as /dev/zero stops at the limit.
    bool load(const std::string& path, std::string& error, std::size_t limit);

private:
    void release();
    bool loadDescriptor(int fd, std::string& error, std::size_t limit);
    bool readAll(int fd, std::string& error, std::size_t limit);

    const char* m_mapped = nullptr;
    std::size_t m_mappedSize = 0;
    // Read inputs live in a malloc'ed block grown with realloc, which large
    // blocks do without copying, so that memory stays near the input's size.
    char* m_owned = nullptr;
    std::size_t m_ownedSize = 0;
};

/// An input read piece by piece, in memory that does not depend on its size.
/// Move-less; closes what it opened.
class ChunkReader {
public:
    ChunkReader() = default;
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;
    ~ChunkReader();

    /// Opens `path` ("-" is standard input). False with a reason such as
    /// "No such file or directory" or "is a directory".
    bool open(const std::string& path, std::string& error);
    /// Fills `buffer` with up to `capacity` bytes, fewer only at the end of
    /// the input; `got` is 0 at the end. False with a reason on a read error
    /// and when a regular file ends before the size it had when opened.
    bool read(char* buffer, std::size_t capacity, std::size_t& got, std::string& error);
    /// True for a regular file, which rewind() can read again from the start.
    bool seekable() const { return m_seekable; }
    bool rewind(std::string& error);

private:
    int m_fd = -1;
    bool m_owned = false;
    bool m_seekable = false;
    std::uint64_t m_expected = 0; // a regular file's size when opened
    std::uint64_t m_read = 0;
};

/// The name to show for an input path ("-" becomes kStdinName).
std::string displayName(const std::string& path);

/// Fails with a reason when `size` exceeds what a library call can take.
bool checkSize(std::size_t size, std::size_t limit, std::string& error);

} // namespace tool
} // namespace charsetkit

#endif
