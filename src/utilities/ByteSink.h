// Writing converted text quickly: a small block of stack memory collects the
// bytes of short characters and goes to the result string in one append when
// it fills up or the conversion ends, and runs of plain ASCII go straight
// from the input to the result. The result is reserved once for the longest
// output the caller expects, so appends rarely reallocate.
#ifndef CHARSETKIT_SRC_UTILITIES_BYTESINK_H
#define CHARSETKIT_SRC_UTILITIES_BYTESINK_H

#include "utilities/AsciiRun.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace charsetkit {
namespace detail {

class ByteSink {
public:
    /// Appends to `result`, first reserving room for `room` more bytes (more
    /// may still be written).
    ByteSink(std::string& result, std::size_t room) : m_result(result) {
        if (result.capacity() - result.size() < room) {
            result.reserve(result.size() + room);
        }
    }
    ~ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    /// Copies the plain ASCII (see AsciiRun.h) at the start of the `n` bytes
    /// at `p` and returns its length.
    std::size_t copyPlainAscii(const unsigned char* p, std::size_t n) {
        const std::size_t run = plainAsciiRunLength(p, n);
        if (run <= kShortRun) {
            char* out = room(kShortRun);
            for (std::size_t k = 0; k < run; ++k) {
                out[k] = static_cast<char>(p[k]);
            }
            m_used += run;
        } else {
            flush();
            m_result.append(reinterpret_cast<const char*>(p), run);
        }
        return run;
    }

    /// For the hot loops that write through window(): takes the plain ASCII
    /// at `in` (`left` bytes to the end, the first of them plain ASCII).
    /// A run of eight bytes or more goes through copyPlainAscii (the window
    /// is committed first and `p` reopened after); anything shorter, such as
    /// the space or digit between two characters, is written one byte at `p`.
    /// Returns the number of bytes taken.
    std::size_t putPlainAscii(char*& p, const unsigned char* in, std::size_t left) {
        if (left >= 8) {
            std::uint64_t word;
            std::memcpy(&word, in, sizeof word);
            if (allPlainAscii(word)) {
                commit(p);
                const std::size_t run = copyPlainAscii(in, left);
                p = window();
                return run;
            }
        }
        if (p == windowEnd()) {
            commit(p);
            p = window();
        }
        *p++ = static_cast<char>(*in);
        return 1;
    }

    /// Writes `n` bytes.
    void append(const char* p, std::size_t n) {
        if (n <= kShortRun) {
            char* out = room(kShortRun);
            for (std::size_t k = 0; k < n; ++k) {
                out[k] = p[k];
            }
            m_used += n;
        } else {
            flush();
            m_result.append(p, n);
        }
    }

    /// Writes one to three bytes packed as by the character tables: byte k
    /// in bits 8k-8k+7, the count in bits 24-31.
    void putPacked(std::uint32_t packed) {
        char* out = room(3);
        out[0] = static_cast<char>(packed & 0xFFu);
        out[1] = static_cast<char>(packed >> 8 & 0xFFu);
        out[2] = static_cast<char>(packed >> 16 & 0xFFu);
        m_used += packed >> 24;
    }

    void putTwo(unsigned char first, unsigned char second) {
        char* out = room(2);
        out[0] = static_cast<char>(first);
        out[1] = static_cast<char>(second);
        m_used += 2;
    }

    void putByte(unsigned char byte) {
        *room(1) = static_cast<char>(byte);
        ++m_used;
    }

    /// Writes the UTF-8 form of `v` (31-bit form, one to six bytes).
    void putCodePoint(std::uint32_t v) {
        char* out = room(6);
        auto trail = [v](int shift) { return static_cast<char>(0x80u | (v >> shift & 0x3Fu)); };
        if (v < 0x80u) {
            out[0] = static_cast<char>(v);
            m_used += 1;
        } else if (v < 0x800u) {
            out[0] = static_cast<char>(0xC0u | v >> 6);
            out[1] = trail(0);
            m_used += 2;
        } else if (v < 0x10000u) {
            out[0] = static_cast<char>(0xE0u | v >> 12);
            out[1] = trail(6);
            out[2] = trail(0);
            m_used += 3;
        } else if (v < 0x200000u) {
            out[0] = static_cast<char>(0xF0u | v >> 18);
            out[1] = trail(12);
            out[2] = trail(6);
            out[3] = trail(0);
            m_used += 4;
        } else if (v < 0x4000000u) {
            out[0] = static_cast<char>(0xF8u | v >> 24);
            out[1] = trail(18);
            out[2] = trail(12);
            out[3] = trail(6);
            out[4] = trail(0);
            m_used += 5;
        } else {
            out[0] = static_cast<char>(0xFCu | v >> 30);
            out[1] = trail(24);
            out[2] = trail(18);
            out[3] = trail(12);
            out[4] = trail(6);
            out[5] = trail(0);
            m_used += 6;
        }
    }

    /// Writes the byte as the code point of the same value.
    void putLatin1(unsigned char byte) { putCodePoint(byte); }

    /// Writes the bytes [first, last) read as ISO-8859-1.
    void putLatin1Range(const unsigned char* first, const unsigned char* last) {
        for (; first != last; ++first) {
            putLatin1(*first);
        }
    }

    /// Direct writing for hot loops, which keep the write position in a
    /// local variable: window() returns where the next byte goes, with at
    /// least kWindow bytes of room up to windowEnd(); commit(p) records that
    /// the bytes before `p` are written. No other call may come between a
    /// window() and its commit().
    static constexpr std::size_t kWindow = 64;
    char* window() { return room(kWindow); }
    char* windowEnd() { return m_block + sizeof m_block; }
    void commit(char* end) { m_used = static_cast<std::size_t>(end - m_block); }
    /// `p` when the window holds `n` bytes (up to the block's size) from
    /// there; otherwise the bytes before `p` are committed and moved to the
    /// result, and the start of the emptied block is returned.
    char* roomFrom(char* p, std::ptrdiff_t n) {
        if (windowEnd() - p >= n) {
            return p;
        }
        commit(p);
        flush();
        return window();
    }
    /// Writes one character of a packed UTF-8 table entry (its bytes in the
    /// low three bytes, its length in the top byte) at `p`, a place in the
    /// current window, opening a new window first when fewer than four bytes
    /// are left; returns where the next byte goes.
    char* putPacked(char* p, std::uint32_t packed) {
        if (windowEnd() - p < 4) {
            commit(p);
            p = window();
        }
        return storePacked(p, packed);
    }

    /// Writes the bytes of a non-zero packed entry at `p`, and on
    /// little-endian machines one byte more (its count) in a single store,
    /// so `p` needs room for four bytes; the next write covers that byte or
    /// it lies past what is committed. Returns where the next byte goes.
    static char* storePacked(char* p, std::uint32_t packed) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        std::memcpy(p, &packed, sizeof packed);
#else
        p[0] = static_cast<char>(packed & 0xFFu);
        p[1] = static_cast<char>(packed >> 8 & 0xFFu);
        p[2] = static_cast<char>(packed >> 16 & 0xFFu);
#endif
        return p + (packed >> 24);
    }

    /// Moves the collected bytes to the result.
    void flush() {
        m_result.append(m_block, m_used);
        m_used = 0;
    }

private:
    static constexpr std::size_t kShortRun = 16;

    // Room for `n` bytes at the end of the block.
    char* room(std::size_t n) {
        if (sizeof m_block - m_used < n) {
            flush();
        }
        return m_block + m_used;
    }

    std::string& m_result;
    std::size_t m_used = 0;
    char m_block[2048];
};

} // namespace detail
} // namespace charsetkit

#endif
