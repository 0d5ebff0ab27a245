#include <charsetkit/encodings/StreamingEncoder.h>

#include <charsetkit/encodings/EncodingFromId.h>

#include "encodings/StreamSupport.h"
#include "utilities/MissingInput.h"

#include <algorithm>
#include <cstring>

namespace charsetkit {

namespace {

constexpr char kEscape = '\x1B';
constexpr char kToAscii[] = "\x1B(B";

// The set an ISO-2022-JP escape of the conversion's output designates (0
// ASCII, 1 katakana, 2 JIS X 0208, 3 JIS X 0212), from the bytes after ESC.
int designatedSet(const std::string& text, std::size_t escape) {
    if (text.compare(escape + 1, 2, "(I") == 0) {
        return 1;
    }
    if (text.compare(escape + 1, 2, "$B") == 0) {
        return 2;
    }
    if (text.compare(escape + 1, 3, "$(D") == 0) {
        return 3;
    }
    return 0;
}

} // namespace

StreamingEncoder::StreamingEncoder(AbstractEncoding::EncodingID encoding) : m_encoding(encoding) {}

void StreamingEncoder::reset() {
    *this = StreamingEncoder(m_encoding);
}

void StreamingEncoder::fail(std::uint64_t offset) {
    m_failed = true;
    m_failureOffset = offset;
    m_heldCount = 0;
}

void StreamingEncoder::appendJis(const std::string& text, std::string& converted) {
    if (text.empty()) {
        return;
    }
    // Each conversion starts in ASCII and returns to ASCII at its end. The
    // closing ESC ( B is kept back while more text may follow in the same
    // set, and an opening escape that repeats the set in force is left out.
    std::size_t end = text.size();
    int endSet = 0;
    if (end >= 3 && text.compare(end - 3, 3, kToAscii) == 0) {
        end -= 3;
        const std::size_t escape = text.rfind(kEscape, end - 1);
        endSet = escape == std::string::npos ? 0 : designatedSet(text, escape);
    }
    std::size_t begin = 0;
    if (text[0] == kEscape) {
        const int firstSet = designatedSet(text, 0);
        if (firstSet == m_jisSet) {
            begin = firstSet == 3 ? 4 : 3;
        }
    } else if (m_jisSet != 0) {
        converted += kToAscii;
    }
    if (end > begin) {
        converted.append(text, begin, end - begin);
    }
    m_jisSet = endSet;
}

bool StreamingEncoder::convertSegment(const unsigned char* bytes, unsigned int length,
                                      std::uint64_t offset, std::string& converted) {
    if (length == 0) {
        return true;
    }
    EncodingFromId registry;
    const AbstractEncoding* encoding = registry.getEncodingForID(m_encoding);
    std::string text;
    if (encoding->convertFromUtf8(reinterpret_cast<const char*>(bytes), length, text)) {
        if (m_encoding == AbstractEncoding::Jis) {
            appendJis(text, converted);
        } else {
            converted += text;
        }
        return true;
    }
    const unsigned int at =
        detail::failingCharacter(bytes, length, detail::utf8CharEnd, [&](unsigned int prefix) {
            std::string scratch;
            return encoding->convertFromUtf8(reinterpret_cast<const char*>(bytes), prefix, scratch);
        });
    fail(offset + at);
    return false;
}

bool StreamingEncoder::feed(const char* piece, unsigned int length, bool last,
                            std::string& output) {
    if (m_failed || m_finished || detail::isMissingInput(piece, length)) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(piece);
    switch (m_encoding) {
    case AbstractEncoding::Utf8:
        if (length != 0) {
            output.append(piece, length);
        }
        m_bytesFed += length;
        m_finished = last;
        return true;
    case AbstractEncoding::EucJp:
    case AbstractEncoding::Sjis:
    case AbstractEncoding::Jis:
    case AbstractEncoding::EucKr:
        break;
    default:
        // Western offers no conversion from UTF-8; nor does an unknown
        // identifier.
        fail(0);
        return false;
    }

    // Nothing of a piece reaches `output` unless all of it converts.
    std::string converted;
    const std::uint64_t base = m_bytesFed;
    unsigned int start = 0;
    if (m_heldCount != 0) {
        // The open sequence takes its continuation bytes from the piece; a
        // byte that is none ends it, and goes with it so that the conversion
        // sees the sequence broken.
        const unsigned int want = detail::utf8LeadLength(m_held[0]);
        unsigned int taken = 0;
        while (taken < length && m_heldCount + taken < want &&
               detail::isUtf8Continuation(bytes[taken])) {
            ++taken;
        }
        if (m_heldCount + taken < want) {
            if (taken == length && !last) {
                if (taken != 0) {
                    std::memcpy(m_held + m_heldCount, bytes, taken);
                }
                m_heldCount += taken;
                m_bytesFed += length;
                return true;
            }
            if (taken < length) {
                ++taken;
            }
        }
        unsigned char joined[12];
        std::memcpy(joined, m_held, m_heldCount);
        if (taken != 0) {
            std::memcpy(joined + m_heldCount, bytes, taken);
        }
        const unsigned int total = m_heldCount + taken;
        const std::uint64_t heldStart = base - m_heldCount;
        m_heldCount = 0;
        if (!convertSegment(joined, total, heldStart, converted)) {
            return false;
        }
        start = taken;
    }
    const unsigned char* rest = bytes + start;
    const unsigned int restLength = length - start;
    unsigned int open = last ? 0 : detail::openUtf8Tail(rest, restLength);
    if (open != 0 && detail::openUtf8Tail(rest, restLength - open) != 0) {
        // The lead byte of the open sequence breaks a sequence before it:
        // it goes with that one, so that the conversion sees the break.
        --open;
    }
    if (!convertSegment(rest, restLength - open, base + start, converted)) {
        return false;
    }
    if (open != 0) {
        std::memcpy(m_held, rest + restLength - open, open);
        m_heldCount = open;
    }
    if (last && m_jisSet != 0) {
        converted += kToAscii;
        m_jisSet = 0;
    }
    output += converted;
    m_bytesFed += length;
    m_finished = last;
    return true;
}

} // namespace charsetkit
