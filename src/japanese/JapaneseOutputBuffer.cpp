#include "japanese/JapaneseOutputBuffer.h"

#include "japanese/JisDirectTables.h"

#include <cstdint>
#include <cstring>

namespace charsetkit {

namespace {

// JIS X 0208 and JIS X 0212 rows and cells use the 94 values 0x21-0x7E.
bool isJisByte(unsigned char byte) {
    return byte >= 0x21 && byte <= 0x7E;
}

// JIS X 0201 katakana in their 8-bit form.
bool isKatakanaByte(unsigned char byte) {
    return byte >= 0xA1 && byte <= 0xDF;
}

} // namespace

JapaneseOutputBuffer::JapaneseOutputBuffer(AbstractEncoding::EncodingID target,
                                           std::size_t expectedLength, detail::BlockScan scan)
    : m_target(target), m_scan(scan), m_sink(m_output, expectedLength) {}

bool JapaneseOutputBuffer::appendJis(unsigned char row, unsigned char cell, CharsetVersion set) {
    switch (set) {
    case JapaneseConversions::CharsetJis0201:
        if (row != 0 || !isKatakanaByte(cell)) {
            return false;
        }
        break;
    case JapaneseConversions::CharsetJis0208:
        if (!isJisByte(row) || !isJisByte(cell)) {
            return false;
        }
        break;
    case JapaneseConversions::CharsetJis0212:
        // Shift_JIS has no form for the supplementary set.
        if (m_target == AbstractEncoding::Sjis || !isJisByte(row) || !isJisByte(cell)) {
            return false;
        }
        break;
    default:
        return false;
    }

    // The ranges checked above keep every byte below in its proper range:
    // EUC-JP bytes 0xA1-0xFE, ISO-2022-JP bytes 0x21-0x7E.
    const auto high = [](unsigned char byte) { return static_cast<unsigned char>(byte | 0x80); };
    switch (m_target) {
    case AbstractEncoding::EucJp:
        if (set == JapaneseConversions::CharsetJis0201) {
            m_sink.putByte(0x8E);
            m_sink.putByte(cell);
        } else {
            if (set == JapaneseConversions::CharsetJis0212) {
                m_sink.putByte(0x8F);
            }
            m_sink.putByte(high(row));
            m_sink.putByte(high(cell));
        }
        break;
    case AbstractEncoding::Sjis:
        if (set == JapaneseConversions::CharsetJis0201) {
            m_sink.putByte(cell);
        } else {
            unsigned char lead = 0;
            unsigned char trail = 0;
            JapaneseConversions::jisToSjis(row, cell, lead, trail);
            m_sink.putByte(lead);
            m_sink.putByte(trail);
        }
        break;
    case AbstractEncoding::Jis:
        // One designation covers a run of characters of the same set.
        if (m_current != set) {
            appendEscape(set);
        }
        if (set == JapaneseConversions::CharsetJis0201) {
            m_sink.putByte(static_cast<unsigned char>(cell & 0x7F));
        } else {
            m_sink.putByte(row);
            m_sink.putByte(cell);
        }
        break;
    default:
        return false;
    }
    m_current = set;
    return true;
}

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::size_t JapaneseOutputBuffer::appendDirect(const unsigned char* bytes, std::size_t i,
                                               std::size_t length) {
    switch (m_target) {
    case AbstractEncoding::EucJp:
        return appendDirectTo<AbstractEncoding::EucJp>(bytes, i, length);
    case AbstractEncoding::Sjis:
        return appendDirectTo<AbstractEncoding::Sjis>(bytes, i, length);
    case AbstractEncoding::Jis:
        return appendDirectTo<AbstractEncoding::Jis>(bytes, i, length);
    default:
        return i;
    }
}

// Whole blocks first; where a block holds something they leave alone, the
// character loop takes over from there to the block's end, and the blocks
// resume after it. The last bytes, fewer than a block needs, go to the
// character loop. ISO-2022-JP text changes its designated set at nearly
// every switch between ASCII and kanji, where the blocks would hand over,
// so it goes to the character loop whole: the blocks only pay for the
// targets without designations.
template <AbstractEncoding::EncodingID Target>
std::size_t JapaneseOutputBuffer::appendDirectTo(const unsigned char* bytes, std::size_t i,
                                                 std::size_t length) {
    if constexpr (Target != AbstractEncoding::Jis) {
        while (m_scan.blocks && length - i >= detail::kBlockReach) {
            std::size_t stop = i;
            i = appendBlocksTo<Target>(bytes, i, length, stop);
            if (i < stop) {
                i = appendCharactersTo<Target>(bytes, i, length, stop);
                if (i < stop) {
                    return i;
                }
            }
        }
    }
    return appendCharactersTo<Target>(bytes, i, length, length);
}

// For Shift_JIS and EUC-JP: whole blocks of plain ASCII and two- and
// three-byte characters with a JIS X 0208 code (see detail::writeBlocks).
template <AbstractEncoding::EncodingID Target>
std::size_t JapaneseOutputBuffer::appendBlocksTo(const unsigned char* bytes, std::size_t i,
                                                 std::size_t length, std::size_t& stop) {
    char* p = m_sink.window();
    i = detail::writeBlocks(
        m_scan.level, false, bytes, length, i, stop, m_sink, p,
        [](std::size_t high, std::size_t low) {
            const std::size_t entry = detail::kUnicodeToJisIndex[high] * std::size_t{64} + low;
            if (Target == AbstractEncoding::Sjis) {
                return static_cast<std::uint32_t>(detail::kUnicodeToSjisBlocks[entry]);
            }
            // JIS X 0208 only: 0x2121-0x7E7E.
            const std::uint32_t code = detail::kUnicodeToJisBlocks[entry];
            return code < 0x100 || (code & detail::kJis0212Flag) != 0 ? 0u : code | 0x8080u;
        });
    m_sink.commit(p);
    return i;
}

// One loop per target, so that a JIS X 0208 character (by far the most
// common) is written without asking for the target or the set again.
// It stops before the first character that starts at `stop` or later.
template <AbstractEncoding::EncodingID Target>
std::size_t JapaneseOutputBuffer::appendCharactersTo(const unsigned char* bytes, std::size_t i,
                                                     std::size_t length, std::size_t stop) {
    // The write position stays in `p` between the calls that write through
    // the sink themselves (ASCII runs, escapes, the rarer sets).
    char* p = m_sink.window();
    char* const end = m_sink.windowEnd();
    while (i < stop) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            if (!detail::isPlainAscii(lead)) {
                break; // ESC, SO, SI
            }
            if (Target == AbstractEncoding::Jis && m_current != JapaneseConversions::CharsetAscii) {
                m_sink.commit(p);
                leaveToAscii();
                p = m_sink.window();
            }
            i += m_sink.putPlainAscii(p, bytes + i, length - i);
            continue;
        }
        std::uint32_t codePoint = 0;
        std::size_t size = 0;
        if (lead >= 0xE0 && lead <= 0xEF) {
            // E0 80-9F would be an overlong form.
            if (length - i < 3 || !isContinuation(bytes[i + 1]) || !isContinuation(bytes[i + 2]) ||
                (lead == 0xE0 && bytes[i + 1] < 0xA0)) {
                break;
            }
            codePoint = (lead & 0x0Fu) << 12 | (bytes[i + 1] & 0x3Fu) << 6 | (bytes[i + 2] & 0x3Fu);
            size = 3;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            if (length - i < 2 || !isContinuation(bytes[i + 1])) {
                break;
            }
            codePoint = (lead & 0x1Fu) << 6 | (bytes[i + 1] & 0x3Fu);
            size = 2;
        } else {
            break;
        }
        if (Target == AbstractEncoding::Sjis) {
            // The common case in one lookup: the final bytes of a JIS X 0208
            // character.
            const unsigned sjis = detail::unicodeToSjisDirect(codePoint);
            if (sjis != 0) {
                if (end - p < 2) {
                    m_sink.commit(p);
                    p = m_sink.window();
                }
                p[0] = static_cast<char>(sjis >> 8);
                p[1] = static_cast<char>(sjis & 0xFFu);
                p += 2;
                i += size;
                continue;
            }
        }
        const unsigned code = detail::unicodeToJisDirect(codePoint);
        if (code >= 0x100 && (code & detail::kJis0212Flag) == 0) {
            // JIS X 0208: row and cell 0x21-0x7E.
            const unsigned row = code >> 8;
            const unsigned cell = code & 0xFFu;
            if (Target == AbstractEncoding::Jis &&
                m_current != JapaneseConversions::CharsetJis0208) {
                m_sink.commit(p);
                appendEscape(JapaneseConversions::CharsetJis0208);
                m_current = JapaneseConversions::CharsetJis0208;
                p = m_sink.window();
            }
            if (end - p < 2) {
                m_sink.commit(p);
                p = m_sink.window();
            }
            if (Target == AbstractEncoding::EucJp) {
                p[0] = static_cast<char>(row | 0x80u);
                p[1] = static_cast<char>(cell | 0x80u);
            } else if (Target == AbstractEncoding::Sjis) {
                // As jisToSjis, without branches on the row's parity.
                const unsigned oddTrail = cell + (cell <= 0x5F ? 0x1Fu : 0x20u);
                p[0] = static_cast<char>(((row + 1u) >> 1) + (row < 0x5F ? 0x70u : 0xB0u));
                p[1] = static_cast<char>((row & 1u) != 0 ? oddTrail : cell + 0x7Eu);
            } else {
                p[0] = static_cast<char>(row);
                p[1] = static_cast<char>(cell);
            }
            p += 2;
            i += size;
            continue;
        }
        if (code == 0) {
            break;
        }
        m_sink.commit(p);
        const bool written = code < 0x100 ? appendJis(0, static_cast<unsigned char>(code),
                                                      JapaneseConversions::CharsetJis0201)
                                          : appendJis(static_cast<unsigned char>(code >> 8 & 0x7F),
                                                      static_cast<unsigned char>(code & 0xFF),
                                                      JapaneseConversions::CharsetJis0212);
        p = m_sink.window();
        if (!written) {
            break; // JIS X 0212 in Shift_JIS: the caller fails it
        }
        i += size;
    }
    m_sink.commit(p);
    return i;
}

void JapaneseOutputBuffer::appendEscape(CharsetVersion set) {
    const auto index = static_cast<unsigned int>(set);
    if (index >= sizeof ms_escapeSequences / sizeof ms_escapeSequences[0]) {
        return;
    }
    const EscapeSequence& escape = ms_escapeSequences[index];
    m_sink.append(escape.bytes, escape.length);
}

void JapaneseOutputBuffer::leaveToAscii() {
    if (m_target == AbstractEncoding::Jis) {
        appendEscape(JapaneseConversions::CharsetAscii);
    }
    m_current = JapaneseConversions::CharsetAscii;
}

std::string JapaneseOutputBuffer::finish() {
    if (m_target == AbstractEncoding::Jis && m_current != JapaneseConversions::CharsetAscii) {
        appendEscape(JapaneseConversions::CharsetAscii);
        m_current = JapaneseConversions::CharsetAscii;
    }
    m_sink.flush();
    std::string output;
    output.swap(m_output);
    return output;
}

} // namespace charsetkit
