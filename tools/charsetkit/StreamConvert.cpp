#include "StreamConvert.h"

#include <algorithm>
#include <climits>

namespace charsetkit {
namespace tool {

namespace {

std::uint64_t countLines(const char* data, std::size_t size) {
    return static_cast<std::uint64_t>(std::count(data, data + size, '\n'));
}

// The number of characters on the last line of the UTF-8 `text`, given that
// `column` characters of that line came before the text.
std::size_t columnAfter(const char* text, std::size_t size, std::size_t column) {
    std::size_t i = size;
    while (i > 0 && text[i - 1] != '\n') {
        --i;
    }
    if (i > 0) {
        column = 0; // the text holds a line end; its last line starts after it
    }
    for (; i < size; ++i) {
        column += (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 ? 1U : 0U;
    }
    return column;
}

// "the character U+D55C '한' at line 2, column 5" for the character at
// `offset` of the UTF-8 `text`, which starts on line `firstLine` of the input
// after `firstColumn` characters of that line.
std::string describeCharacter(const char* text, std::size_t size, std::size_t offset,
                              std::size_t firstLine, std::size_t firstColumn) {
    std::size_t line = firstLine;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    const std::size_t column =
        columnAfter(text + lineStart, offset - lineStart, lineStart == 0 ? firstColumn : 0) + 1;
    const std::string position =
        "line " + std::to_string(line) + ", column " + std::to_string(column);
    const std::size_t length = utf8CharLength(text + offset, size - offset);
    if (length == 0) {
        // Never plain ASCII, which is always a whole character.
        const auto byte = static_cast<unsigned char>(text[offset]);
        const char* const hex = "0123456789ABCDEF";
        return std::string("the byte 0x") + hex[byte >> 4] + hex[byte & 0x0F] + " at " + position;
    }
    const unsigned int codePoint = utf8CodePoint(text + offset, length);
    std::string shown = codePointName(codePoint);
    if (codePoint >= 0x20 && codePoint != 0x7F && (codePoint < 0x80 || codePoint >= 0xA0)) {
        shown += " '" + std::string(text + offset, length) + "'";
    }
    return "the character " + shown + " at " + position;
}

// The length of the UTF-8 sequence a lead byte opens (1 for anything that is
// not a lead of two or more bytes).
std::size_t sequenceLength(unsigned char lead) {
    return lead >= 0xFC   ? 6
           : lead >= 0xF8 ? 5
           : lead >= 0xF0 ? 4
           : lead >= 0xE0 ? 3
           : lead >= 0xC0 ? 2
                          : 1;
}

// Where the UTF-8 `text` stops holding whole sequences: the start of a
// sequence its end cuts, or `size`.
std::size_t wholeSequencesEnd(const char* text, std::size_t size) {
    std::size_t i = size;
    while (i > 0 && size - i < 6) {
        --i;
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) {
            return i + sequenceLength(byte) > size ? i : size;
        }
    }
    return size;
}

bool usesDecoder(EncodingId id) {
    return id == AbstractEncoding::EucJp || id == AbstractEncoding::Sjis ||
           id == AbstractEncoding::Jis || id == AbstractEncoding::EucKr;
}

} // namespace

PieceVerifier::PieceVerifier(EncodingId id, bool verifyCharacters, bool rejectRedundantEscapes,
                             int escapeRunLimit)
    : m_verifier(id, verifyCharacters, rejectRedundantEscapes, escapeRunLimit) {}

bool PieceVerifier::feed(const char* data, std::size_t size, bool last) {
    if (failed()) {
        return false;
    }
    const std::uint64_t start = m_verifier.bytesFed();
    if (m_verifier.feed(data, static_cast<unsigned int>(size), last)) {
        m_lines += countLines(data, size);
        if (last && m_verifier.endsInsideCharacter()) {
            m_failure.kind = VerifyFailure::EndsInside;
            m_failure.offset = m_verifier.bytesFed();
            return false;
        }
        return true;
    }
    const std::uint64_t offset = m_verifier.failureOffset();
    m_failure.offset = offset;
    if (offset < m_verifier.bytesFed()) {
        // The breaking byte lies in this piece.
        const auto at = static_cast<std::size_t>(offset - start);
        m_failure.kind = VerifyFailure::Byte;
        m_failure.byte = static_cast<unsigned char>(data[at]);
        m_failure.line = m_lines + countLines(data, at) + 1;
    } else if (m_verifier.encoding() == AbstractEncoding::Jis) {
        m_failure.kind = VerifyFailure::EndState;
    } else {
        m_failure.kind = VerifyFailure::EndsInside;
    }
    return false;
}

StreamConverter::StreamConverter(const ConvertSettings& settings)
    : m_settings(settings), m_verifier(settings.from, settings.verifyCharacters,
                                       settings.rejectRedundantEscapes, settings.escapeRunLimit),
      m_decoder(settings.from, settings.replace), m_encoder(settings.to) {}

bool StreamConverter::feed(const char* data, std::size_t size, bool last, std::string& out) {
    if (!m_verifier.feed(data, size, last)) {
        return false;
    }
    if (m_decodeRefusal.empty()) {
        convert(data, size, last, out);
    }
    if (last) {
        // As the whole input would have it: a character that cannot be
        // decoded stops it before anything is encoded, and tagged codes
        // anywhere stop it before the encoder sees any text.
        if (!m_decodeRefusal.empty()) {
            m_conversionRefusal = m_decodeRefusal;
        } else if (m_taggedCodes > 0 && m_settings.to != AbstractEncoding::Utf8) {
            m_conversionRefusal =
                "some characters have no Unicode mapping and cannot be written in " +
                preferredName(m_settings.to) + " (use --replace)";
        } else {
            m_conversionRefusal = m_encodeRefusal;
        }
    }
    m_inputFed += size;
    m_inputLines += countLines(data, size);
    return true;
}

void StreamConverter::convert(const char* data, std::size_t size, bool last, std::string& out) {
    const EncodingId from = m_settings.from;
    const EncodingId to = m_settings.to;
    if (from == AbstractEncoding::Utf8 && to == AbstractEncoding::Utf8) {
        out.append(data, size);
        return;
    }
    m_utf8.clear();
    const char* text = m_utf8.data();
    std::size_t textSize = 0;
    if (from == AbstractEncoding::Utf8) {
        // Whole characters only, so that positions in messages and the
        // Western encoder see them whole.
        m_utf8.swap(m_carry);
        m_utf8.append(data, size);
        const std::size_t end =
            last ? m_utf8.size() : wholeSequencesEnd(m_utf8.data(), m_utf8.size());
        m_carry.assign(m_utf8, end, std::string::npos);
        m_utf8.resize(end);
    } else if (from == AbstractEncoding::Ascii) {
        westernToUtf8(data, size, m_utf8);
    } else if (usesDecoder(from)) {
        if (!m_decoder.feed(data, static_cast<unsigned int>(size), last, m_utf8)) {
            // Only EUC-KR fails, at a character that starts in this piece or
            // in the lead byte held from the one before, which is no line feed.
            const std::uint64_t failure = m_decoder.failureOffset();
            std::uint64_t line = m_inputLines + 1;
            if (failure > m_inputFed) {
                line += countLines(data, static_cast<std::size_t>(
                                             std::min<std::uint64_t>(failure - m_inputFed, size)));
            }
            m_decodeRefusal = "line " + std::to_string(line) + " cannot be converted from " +
                              preferredName(from) + " to UTF-8";
            return;
        }
        m_unmapped = m_unmapped || m_decoder.unmapped();
        if (!m_settings.replace && from != AbstractEncoding::EucKr) {
            // The five-byte tagged codes start with 0xF8, which the decoded
            // text holds nowhere else.
            m_taggedCodes += static_cast<std::size_t>(
                std::count(m_utf8.begin(), m_utf8.end(), static_cast<char>(0xF8)));
        }
    }
    text = m_utf8.data();
    textSize = m_utf8.size();
    encode(text, textSize, last, out);
}

void StreamConverter::encode(const char* text, std::size_t size, bool last, std::string& out) {
    const EncodingId to = m_settings.to;
    // Pieces can start inside a line (a line longer than a piece).
    const std::size_t firstLine = m_line;
    const std::size_t firstColumn = m_column;
    m_line += static_cast<std::size_t>(std::count(text, text + size, '\n'));
    m_column = columnAfter(text, size, m_column);
    if (to == AbstractEncoding::Utf8) {
        out.append(text, size);
        return;
    }
    if (m_taggedCodes > 0 || !m_encodeRefusal.empty()) {
        return; // refused already; decoding goes on for what it may refuse
    }
    std::size_t failedAt = size;
    bool ok = true;
    if (to == AbstractEncoding::Ascii) {
        ok = utf8ToWestern(text, size, out, failedAt);
    } else {
        const std::uint64_t before = m_encoder.bytesFed();
        ok = m_encoder.feed(text, static_cast<unsigned int>(size), last, out);
        if (!ok && m_encoder.failureOffset() >= before) {
            failedAt = static_cast<std::size_t>(
                std::min<std::uint64_t>(m_encoder.failureOffset() - before, size));
        }
    }
    if (!ok) {
        if (failedAt < size) {
            m_encodeRefusal = describeCharacter(text, size, failedAt, firstLine, firstColumn) +
                              " cannot be written in " + preferredName(to);
        } else {
            m_encodeRefusal = "the text could not be converted to " + preferredName(to);
        }
    }
}

} // namespace tool
} // namespace charsetkit
