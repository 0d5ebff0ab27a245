#include "japanese/JapaneseOutputBuffer.h"

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
                                           std::size_t expectedLength)
    : m_target(target) {
    m_output.reserve(expectedLength);
}

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
    const auto high = [](unsigned char byte) { return static_cast<char>(byte | 0x80); };
    switch (m_target) {
    case AbstractEncoding::EucJp:
        if (set == JapaneseConversions::CharsetJis0201) {
            m_output.push_back('\x8E');
            m_output.push_back(static_cast<char>(cell));
        } else {
            if (set == JapaneseConversions::CharsetJis0212) {
                m_output.push_back('\x8F');
            }
            m_output.push_back(high(row));
            m_output.push_back(high(cell));
        }
        break;
    case AbstractEncoding::Sjis:
        if (set == JapaneseConversions::CharsetJis0201) {
            m_output.push_back(static_cast<char>(cell));
        } else {
            unsigned char lead = 0;
            unsigned char trail = 0;
            JapaneseConversions::jisToSjis(row, cell, lead, trail);
            m_output.push_back(static_cast<char>(lead));
            m_output.push_back(static_cast<char>(trail));
        }
        break;
    case AbstractEncoding::Jis:
        // One designation covers a run of characters of the same set.
        if (m_current != set) {
            appendEscape(set);
        }
        if (set == JapaneseConversions::CharsetJis0201) {
            m_output.push_back(static_cast<char>(cell & 0x7F));
        } else {
            m_output.push_back(static_cast<char>(row));
            m_output.push_back(static_cast<char>(cell));
        }
        break;
    default:
        return false;
    }
    m_current = set;
    return true;
}

void JapaneseOutputBuffer::appendEscape(CharsetVersion set) {
    const auto index = static_cast<unsigned int>(set);
    if (index >= sizeof ms_escapeSequences / sizeof ms_escapeSequences[0]) {
        return;
    }
    const EscapeSequence& escape = ms_escapeSequences[index];
    m_output.append(escape.bytes, escape.length);
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
    std::string output;
    output.swap(m_output);
    return output;
}

} // namespace charsetkit
