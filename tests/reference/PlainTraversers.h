// The traversers as plain stepping code, one advance() at a time with no
// search: the Shift_JIS and ISO-2022-JP ones drive their detector machines
// byte by byte, the others test each byte or code unit. Their advanceTo() is
// the base class's, a loop of advance() calls, and the percent decoder and
// charset checker below use nothing but advance(). Tests and fuzz targets
// compare the library's traversers, which step inline and search for bytes,
// against these.
#ifndef CHARSETKIT_TESTS_REFERENCE_PLAINTRAVERSERS_H
#define CHARSETKIT_TESTS_REFERENCE_PLAINTRAVERSERS_H

#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/traversal/AbstractTraverser.h>
#include <charsetkit/utilities/Convert.h>

#include <cstddef>
#include <new>
#include <string>

namespace charsetkit {
namespace reference {

/// Every byte is a stop.
class PlainAsciiTraverser : public AbstractTraverser {
public:
    const char* advance() override {
        m_pos = nextPosition();
        return m_pos;
    }
    AbstractTraverser* createNew() const override { return new (std::nothrow) PlainAsciiTraverser; }

protected:
    void resetStateToAscii() override {}
};

/// Stops at bytes below 0x80 (UTF-8, EUC-JP, EUC-KR).
class PlainUtf8Traverser : public AbstractTraverser {
public:
    const char* advance() override {
        m_skipped = false;
        for (const char* p = nextPosition(); p < m_bufferEnd; ++p) {
            if (static_cast<unsigned char>(*p) < 0x80) {
                m_pos = p;
                return m_pos;
            }
            m_skipped = true;
        }
        m_pos = m_bufferEnd;
        return m_pos;
    }
    AbstractTraverser* createNew() const override { return new (std::nothrow) PlainUtf8Traverser; }

protected:
    void resetStateToAscii() override {}
};

/// Shift_JIS through a fresh SjisDetectorSM per call: states 0 and 3 stop,
/// state 4 makes the lead byte the stop, a lead byte at the end is a stop.
class PlainSjisTraverser : public AbstractTraverser {
public:
    const char* advance() override {
        m_skipped = false;
        const char* pos = nextPosition();
        if (pos == m_bufferEnd) {
            m_pos = pos;
            return m_pos;
        }
        SjisDetectorSM detector;
        for (;;) {
            detector.processByte(static_cast<unsigned char>(*pos), false);
            if (detector.m_state == 0 || detector.m_state == 3) {
                m_pos = pos;
                return m_pos;
            }
            if (detector.m_state == 4) {
                m_pos = pos - 1;
                return m_pos;
            }
            ++pos;
            m_skipped = true;
            if (pos == m_bufferEnd) {
                m_pos = detector.m_state == 2 ? pos - 1 : pos;
                return m_pos;
            }
        }
    }
    AbstractTraverser* createNew() const override { return new (std::nothrow) PlainSjisTraverser; }

protected:
    void resetStateToAscii() override {}
};

/// ISO-2022-JP through a fresh JisDetectorSM per call: state 1 stops, the
/// failure states 19, 20 and 21 make the ESC 1, 2 or 3 bytes back the stop.
class PlainJisTraverser : public AbstractTraverser {
public:
    const char* advance() override {
        m_skipped = false;
        const char* pos = nextPosition();
        if (pos == m_bufferEnd) {
            m_pos = pos;
            return m_pos;
        }
        JisDetectorSM detector;
        for (;;) {
            detector.processByte(static_cast<unsigned char>(*pos), false);
            const int back = detector.m_state == 19   ? 1
                             : detector.m_state == 20 ? 2
                             : detector.m_state == 21 ? 3
                                                      : 0;
            if (detector.m_state == 1) {
                m_pos = pos;
                return m_pos;
            }
            if (back != 0) {
                m_pos = pos - back;
                m_skipped = true;
                return m_pos;
            }
            ++pos;
            m_skipped = true;
            if (pos == m_bufferEnd) {
                m_pos = pos;
                return m_pos;
            }
        }
    }
    AbstractTraverser* createNew() const override { return new (std::nothrow) PlainJisTraverser; }

protected:
    void resetStateToAscii() override {}
};

/// UTF-16: a code unit 0x0000-0x007F is a stop; `Big` chooses the byte
/// order. Positions are indices so that nothing points before the buffer.
template <bool Big>
class PlainUtf16Traverser : public AbstractTraverser {
public:
    const char* advance() override {
        m_skipped = false;
        const auto* bytes = reinterpret_cast<const unsigned char*>(m_bufferStart);
        const std::ptrdiff_t length = m_bufferEnd - m_bufferStart;
        // The stop is the unit's low-order byte: its second byte in big
        // endian, its first in little endian.
        const std::ptrdiff_t offset = Big ? 1 : 0;
        std::ptrdiff_t unit; // index of the current unit's first byte
        if (m_pos == nullptr) {
            unit = -2;
            // Only the first step passes over a mark of this byte order, and
            // only in a buffer longer than the mark.
            if (length > 2 && bytes[0] == (Big ? 0xFE : 0xFF) && bytes[1] == (Big ? 0xFF : 0xFE)) {
                unit = 0;
            }
        } else {
            unit = m_pos - m_bufferStart - offset;
        }
        for (unit += 2; unit + 2 <= length; unit += 2) {
            const unsigned char high = Big ? bytes[unit] : bytes[unit + 1];
            const unsigned char low = Big ? bytes[unit + 1] : bytes[unit];
            if (high == 0 && low < 0x80) {
                m_pos = m_bufferStart + unit + offset;
                return m_pos;
            }
            m_skipped = true;
        }
        m_pos = m_bufferEnd;
        return m_pos;
    }
    AbstractTraverser* createNew() const override { return new (std::nothrow) PlainUtf16Traverser; }

protected:
    void resetStateToAscii() override {}
};

/// Percent decoding with advance() alone, one stop at a time.
inline bool plainHexDecode(std::string& out, const char* in, int length,
                           AbstractTraverser& traverser) {
    out.clear();
    const std::size_t size = static_cast<std::size_t>(length);
    traverser.setNewBuffer(in, length);
    const std::size_t limit = size > 2 ? size - 2 : 0;
    std::size_t copyFrom = 0;
    while (static_cast<std::size_t>(traverser.getPos() - in) < limit) {
        const std::size_t pos = static_cast<std::size_t>(traverser.getPos() - in);
        if (pos < copyFrom || in[pos] != '%') {
            traverser.advance();
            continue;
        }
        out.append(in + copyFrom, pos - copyFrom);
        const int high = Convert::ms_legalHexToInt[static_cast<unsigned char>(in[pos + 1])];
        const int low = Convert::ms_legalHexToInt[static_cast<unsigned char>(in[pos + 2])];
        if (high < 0 || low < 0) {
            out.assign(in, size);
            return false;
        }
        out.push_back(static_cast<char>(static_cast<unsigned char>(high * 16 + low)));
        copyFrom = pos + 3;
        traverser.advance();
        traverser.advance();
        traverser.advance();
    }
    out.append(in + copyFrom, size > copyFrom ? size - copyFrom : 0);
    return true;
}

/// What checkBuffer reports.
struct CheckResult {
    std::string reported;
    bool badEscape = false;
    std::string badEscapeText;
};

/// The charset checker with advance() alone, looking at every stop.
inline CheckResult plainCheckBuffer(const bool* allowed, bool checkEscapes, const char* buffer,
                                    int length, const bool* seenOnEntry,
                                    AbstractTraverser& traverser, bool acceptPercent) {
    CheckResult result;
    if (!checkEscapes) {
        acceptPercent = false;
    }
    bool seen[256];
    for (int i = 0; i < 256; ++i) {
        seen[i] = seenOnEntry[i];
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    const std::size_t size = static_cast<std::size_t>(length);
    const auto report = [&](unsigned char value) {
        if (!seen[value]) {
            seen[value] = true;
            result.reported += static_cast<char>(value);
        }
    };
    const auto bad = [&](std::size_t at, std::size_t count) {
        result.badEscape = true;
        if (!result.badEscapeText.empty()) {
            result.badEscapeText += ", ";
        }
        result.badEscapeText.append(buffer + at, count);
    };
    traverser.setNewBuffer(buffer, length);
    bool open = false;
    std::size_t at = 0;
    for (; !traverser.isEnd(); traverser.advance()) {
        const std::size_t pos = static_cast<std::size_t>(traverser.getPos() - buffer);
        const unsigned char c = bytes[pos];
        if (!(acceptPercent && c == '%') && !allowed[c]) {
            report(c);
            open = false;
            continue;
        }
        if (!checkEscapes) {
            continue;
        }
        if (!open) {
            if (c == '%') {
                open = true;
                at = pos;
            }
        } else if (traverser.skipped()) {
            bad(at, size - at < 3 ? size - at : 3);
            open = false;
        } else if (pos == at + 2) {
            const int high = Convert::ms_legalHexToInt[bytes[pos - 1]];
            const int low = Convert::ms_legalHexToInt[c];
            if (high < 0 || low < 0) {
                bad(at, 3);
            } else if (!allowed[high * 16 + low]) {
                report(static_cast<unsigned char>(high * 16 + low));
            }
            open = false;
        }
    }
    if (checkEscapes && open) {
        bad(at, size - at);
    }
    return result;
}

} // namespace reference
} // namespace charsetkit

#endif
