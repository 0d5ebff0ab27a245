#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/CharsetChecker.h>
#include <charsetkit/traversal/Utf16BigTraverser.h>
#include <charsetkit/traversal/Utf16LittleTraverser.h>
#include <charsetkit/utilities/Convert.h>

#include "traversal/TraverserScan.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <type_traits>

namespace charsetkit {

namespace {

// The text of the malformed escapes: each escape's bytes, after a ", " when
// an earlier one is there. The pieces are gathered in a local block and
// reach the caller's string a block at a time, since a body full of
// malformed escapes would otherwise cost a string append per escape.
class BadEscapes {
public:
    BadEscapes(bool* flag, std::string* text) : m_flag(flag), m_text(text) {}

    // Records a malformed escape: `count` bytes from its '%'. Kept out of
    // line, so that the loops that call it stay small.
    [[gnu::noinline]] void add(const char* escape, std::size_t count) {
        if (m_flag != nullptr) {
            *m_flag = true;
        }
        if (m_text == nullptr) {
            return;
        }
        if (sizeof m_block - m_used < count + 2) {
            flush();
        }
        const bool separated = m_any;
        m_any = true;
        if (count + 2 > sizeof m_block) {
            m_text->append(separated ? ", " : "");
            m_text->append(escape, count);
            return;
        }
        if (separated) {
            m_block[m_used] = ',';
            m_block[m_used + 1] = ' ';
            m_used += 2;
        }
        // Byte by byte: a piece is three bytes or fewer but for a long
        // escape cut by the end.
        for (std::size_t i = 0; i < count; ++i) {
            m_block[m_used + i] = escape[i];
        }
        m_used += count;
    }

    // Appends what the block holds to the caller's string; called once the
    // checking is over.
    void flush() {
        if (m_used != 0) {
            m_text->append(m_block, m_used);
            m_used = 0;
        }
    }

private:
    bool* m_flag;
    std::string* m_text;
    bool m_any = false; // the text is emptied before the checking starts
    std::size_t m_used = 0;
    char m_block[256];
};

// The checks made at each stop by the loops that read the bytes directly. A stop is handed
// over with its position, its byte and whether the step onto it passed over
// bytes that are not stops.
class StopChecker {
public:
    StopChecker(const bool* allowed, bool checkEscapes, bool acceptPercent, const char* buffer,
                std::size_t size, char* report, bool* seen, BadEscapes& badEscapes)
        : m_allowed(allowed), m_checkEscapes(checkEscapes), m_acceptPercent(acceptPercent),
          m_buffer(buffer), m_bytes(reinterpret_cast<const unsigned char*>(buffer)), m_size(size),
          m_report(report), m_seen(seen), m_badEscapes(badEscapes) {}

    // Fills `wanted` with the stops that need a look while no escape is open:
    // a forbidden value not reported yet, and a '%' that opens an escape.
    // Values for which `neverStops` holds are left out. A value is dropped
    // from the table once it has been reported.
    template <typename NeverStops>
    void fillWanted(bool* wanted, NeverStops neverStops) {
        m_wanted = wanted;
        for (int v = 0; v < 256; ++v) {
            const auto c = static_cast<unsigned char>(v);
            wanted[v] = !neverStops(c) && (forbidden(c) ? !m_seen[c] : m_checkEscapes && c == '%');
        }
    }

    bool escapeOpen() const { return m_escapeOpen; }
    int count() const { return m_count; }

    // The stop at `pos`, holding the byte `c`.
    void stop(std::size_t pos, unsigned char c, bool skipped) {
        if (forbidden(c)) {
            // A forbidden byte also ends any escape in progress, which is then
            // neither decoded nor reported as malformed.
            reportValue(c);
            m_escapeOpen = false;
        } else if (m_checkEscapes) {
            if (!m_escapeOpen) {
                if (c == '%') {
                    m_escapeOpen = true;
                    m_escapeAt = pos;
                }
            } else if (skipped) {
                // Non-stop bytes (a multi-byte character, say) between the '%'
                // and this position: the escape cannot be a valid one.
                const std::size_t remaining = m_size - m_escapeAt;
                m_badEscapes.add(m_buffer + m_escapeAt, remaining < 3 ? remaining : 3);
                m_escapeOpen = false;
            } else if (pos == m_escapeAt + 2) {
                // The second digit: a '%' met in between counts as a digit
                // here, so "%%41" is one malformed escape "%%4".
                const int high = Convert::ms_legalHexToInt[m_bytes[pos - 1]];
                const int low = Convert::ms_legalHexToInt[c];
                if (high < 0 || low < 0) {
                    m_badEscapes.add(m_buffer + m_escapeAt, 3);
                } else {
                    const unsigned char value = static_cast<unsigned char>(high * 16 + low);
                    if (!m_allowed[value]) {
                        reportValue(value);
                    }
                }
                m_escapeOpen = false;
            }
        }
    }

    // After the last stop.
    void finish() {
        if (m_checkEscapes && m_escapeOpen) {
            // The buffer ends less than three bytes after the '%'.
            m_badEscapes.add(m_buffer + m_escapeAt, m_size - m_escapeAt);
        }
    }

private:
    bool forbidden(unsigned char c) const {
        return !(m_acceptPercent && c == '%') && !m_allowed[c];
    }

    // Appends a forbidden value once; the seen table keeps the count within
    // the 256 distinct byte values.
    void reportValue(unsigned char value) {
        if (!m_seen[value]) {
            m_seen[value] = true;
            m_report[m_count] = static_cast<char>(value);
            ++m_count;
            if (forbidden(value)) {
                m_wanted[value] = false;
            }
        }
    }

    const bool* m_allowed;
    bool m_checkEscapes;
    bool m_acceptPercent;
    const char* m_buffer;
    const unsigned char* m_bytes;
    std::size_t m_size;
    char* m_report;
    bool* m_seen;
    BadEscapes& m_badEscapes;
    bool* m_wanted = nullptr;
    int m_count = 0;
    bool m_escapeOpen = false;
    std::size_t m_escapeAt = 0; // index of the open escape's '%'
};

// The checking loop over a traverser of class T (the library's classes step
// without virtual calls and jump over the stops that need no look).
template <typename T>
int checkWith(T& walker, const bool* allowed, bool checkEscapes, bool acceptPercent,
              const char* buffer, std::size_t size, char* report, bool* seen,
              BadEscapes& badEscapes) {
    walker.setNewBuffer(buffer, static_cast<int>(size));

    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(buffer);
    const auto forbidden = [&](unsigned char c) {
        return !(acceptPercent && c == '%') && !allowed[c];
    };
    // The stops that need a look while no escape is open: a forbidden value
    // not reported yet, and a '%' that opens an escape. A value is dropped
    // once it has been reported; values that are never stops are left out.
    bool wanted[256];
    for (int v = 0; v < 256; ++v) {
        const auto c = static_cast<unsigned char>(v);
        wanted[v] = !TraverserScan::neverStops(walker, c) &&
                    (forbidden(c) ? !seen[c] : checkEscapes && c == '%');
    }
    const TraverserScan::SetTarget target(wanted);
    const char* const end = buffer + size;

    int count = 0;
    // Appends a forbidden value once; the seen table keeps the count within
    // the 256 distinct byte values.
    auto reportValue = [&](unsigned char value) {
        if (!seen[value]) {
            seen[value] = true;
            report[count] = static_cast<char>(value);
            ++count;
            if (forbidden(value)) {
                wanted[value] = false;
            }
        }
    };

    bool escapeOpen = false;
    std::size_t escapeAt = 0; // index of the open escape's '%'
    for (;;) {
        const std::size_t pos = static_cast<std::size_t>(walker.getPos() - buffer);
        if (pos >= size) {
            break;
        }
        const unsigned char c = bytes[pos];
        if (forbidden(c)) {
            // A forbidden byte also ends any escape in progress, which is then
            // neither decoded nor reported as malformed.
            reportValue(c);
            escapeOpen = false;
        } else if (checkEscapes) {
            if (!escapeOpen) {
                if (c == '%') {
                    escapeOpen = true;
                    escapeAt = pos;
                }
            } else if (walker.skipped()) {
                // Non-stop bytes (a multi-byte character, say) between the '%'
                // and this position: the escape cannot be a valid one.
                const std::size_t remaining = size - escapeAt;
                badEscapes.add(buffer + escapeAt, remaining < 3 ? remaining : 3);
                escapeOpen = false;
            } else if (pos == escapeAt + 2) {
                // The second digit: a '%' met in between counts as a digit
                // here, so "%%41" is one malformed escape "%%4".
                const int high = Convert::ms_legalHexToInt[bytes[pos - 1]];
                const int low = Convert::ms_legalHexToInt[c];
                if (high < 0 || low < 0) {
                    badEscapes.add(buffer + escapeAt, 3);
                } else {
                    const unsigned char value = static_cast<unsigned char>(high * 16 + low);
                    if (!allowed[value]) {
                        reportValue(value);
                    }
                }
                escapeOpen = false;
            }
        }
        if (escapeOpen) {
            TraverserScan::step(walker);
        } else {
            // Stops that need no look are passed over in one scan.
            TraverserScan::scan(walker, target, end);
        }
    }

    if (checkEscapes && escapeOpen) {
        // The buffer ends less than three bytes after the '%'.
        badEscapes.add(buffer + escapeAt, size - escapeAt);
    }
    return count;
}

// Every byte is a stop: the bytes are read directly, and those that need no
// look are passed over in a plain loop. The traverser ends at the end, with
// skipped() as it was.
int checkDirectly(AsciiTraverser& walker, StopChecker& checker, const char* buffer,
                  std::size_t size) {
    walker.setNewBuffer(buffer, static_cast<int>(size));
    const bool skipped = walker.skipped(); // an ASCII traverser never changes it

    bool wanted[256];
    checker.fillWanted(wanted, [](unsigned char) { return false; });
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(buffer);

    std::size_t pos = 0;
    while (pos < size) {
        if (!checker.escapeOpen()) {
            while (pos < size && !wanted[bytes[pos]]) {
                ++pos;
            }
            if (pos == size) {
                break;
            }
        }
        checker.stop(pos, bytes[pos], skipped);
        ++pos;
    }
    checker.finish();
    TraverserScan::placeAtEnd(walker, skipped);
    return checker.count();
}

// UTF-16: the code units are read directly. A unit that holds a value below
// 0x80 is a stop at its low-order byte (`low` is 1 for big-endian units and
// 0 for little-endian ones); a byte-order mark opening a buffer longer than
// two bytes is passed over without counting as skipped; a trailing odd byte
// is neither a stop nor skipped. The traverser ends at the end, with the
// skipped() of the step that reaches it.
template <typename T>
int checkUtf16(T& walker, StopChecker& checker, const char* buffer, std::size_t size,
               unsigned char markFirst, unsigned char markSecond, std::size_t low) {
    walker.setNewBuffer(buffer, static_cast<int>(size));

    bool wanted[256];
    checker.fillWanted(wanted, [](unsigned char c) { return c >= 0x80; });
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(buffer);
    const std::size_t high = 1 - low;

    const std::size_t units = size / 2;
    std::size_t unit = size > 2 && bytes[0] == markFirst && bytes[1] == markSecond ? 1 : 0;
    // While an escape is open every stop needs a look.
    bool every[256];
    std::fill(std::begin(every), std::end(every), true);
    const bool* look = wanted;
    bool skipped = false;
    for (; unit < units; ++unit) {
        const std::size_t at = 2 * unit;
        const unsigned char value = bytes[at + low];
        if ((bytes[at + high] | (value & 0x80)) != 0) {
            skipped = true;
            continue;
        }
        if (look[value]) {
            checker.stop(at + low, value, skipped);
            look = checker.escapeOpen() ? every : wanted;
        }
        skipped = false;
    }
    checker.finish();
    TraverserScan::placeAtEnd(walker, skipped);
    return checker.count();
}

int checkDirectly(Utf16BigTraverser& walker, StopChecker& checker, const char* buffer,
                  std::size_t size) {
    return checkUtf16(walker, checker, buffer, size, 0xFE, 0xFF, 1);
}

int checkDirectly(Utf16LittleTraverser& walker, StopChecker& checker, const char* buffer,
                  std::size_t size) {
    return checkUtf16(walker, checker, buffer, size, 0xFF, 0xFE, 0);
}

// Whether checkBuffer reads the stops of T directly instead of stepping it.
template <typename T>
constexpr bool readDirectly() {
    return std::is_same<T, AsciiTraverser>::value || std::is_same<T, Utf16BigTraverser>::value ||
           std::is_same<T, Utf16LittleTraverser>::value;
}

} // namespace

void CharsetChecker::checkBuffer(const bool* const allowed, bool checkEscapes, const char* buffer,
                                 int length, char** reported, int* reportedCount, bool* seen,
                                 bool* badEscape, AbstractTraverser* traverser,
                                 std::string* badEscapeText, bool acceptPercent) {
    if (!checkEscapes) {
        acceptPercent = false;
    }
    if (badEscape != nullptr) {
        *badEscape = false;
    }
    if (badEscapeText != nullptr) {
        badEscapeText->clear();
    }
    if (reportedCount != nullptr) {
        *reportedCount = 0;
    }
    if (allowed == nullptr || reported == nullptr || *reported == nullptr ||
        reportedCount == nullptr || seen == nullptr || length < 0 ||
        (buffer == nullptr && length != 0)) {
        return;
    }

    AsciiTraverser localTraverser;
    AbstractTraverser* const walker = traverser != nullptr ? traverser : &localTraverser;
    char* const report = *reported;
    const std::size_t size = static_cast<std::size_t>(length);
    BadEscapes badEscapes(badEscape, badEscapeText);
    const int count = TraverserScan::withClass(*walker, [&](auto& t) {
        if constexpr (readDirectly<std::decay_t<decltype(t)>>()) {
            StopChecker checker(allowed, checkEscapes, acceptPercent, buffer, size, report, seen,
                                badEscapes);
            return checkDirectly(t, checker, buffer, size);
        } else {
            return checkWith(t, allowed, checkEscapes, acceptPercent, buffer, size, report, seen,
                             badEscapes);
        }
    });
    badEscapes.flush();

    *reportedCount = count;
    for (int i = 0; i < count; ++i) {
        seen[static_cast<unsigned char>(report[i])] = false;
    }
}

} // namespace charsetkit
