#include "AtomicFile.h"
#include "Commands.h"
#include "Pieces.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace charsetkit {
namespace tool {

const CommandSpec kConvertCommand = {
    "convert", "[--from LABEL|auto] [--to LABEL] [OPTIONS] [FILE]",
    R"HELP(Converts one input (standard input when no FILE or "-" is given) to UTF-8,
or from UTF-8 into the encoding that --to names. With both --from and --to
the text goes from one encoding to the other by way of UTF-8. The detection
options apply to --from auto.
)HELP",
    R"HELP(The input must be valid in its encoding (an input that ends inside a
multi-byte character is not). Western (iso-8859-1) text is read and written
as Windows-1252, a superset of ISO-8859-1's printable characters. With -o,
the text is converted and written block by block (cut after line ends, or
between characters in very long lines), so that memory stays near the
input's size however large it is.

Exit status: 0 when converted, 1 when the conversion is refused (detection
empty or ambiguous, input not valid, a character that the output encoding
cannot hold), 2 for usage errors and I/O errors. Nothing is written when the
conversion is refused.
)HELP",
    "with -o: print a JSON summary line"};

namespace {

class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The first character of the UTF-8 `text` that `encoding` cannot write, or
// `size` when there is none. Blocks of text are tried first, so that only one
// block is examined character by character.
std::size_t findUnconvertible(const AbstractEncoding& encoding, const char* text,
                              std::size_t size) {
    std::string scratch;
    const std::size_t blockSize = 4096;
    for (std::size_t start = 0; start < size;) {
        std::size_t end = std::min(size, start + blockSize);
        while (end < size && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
            ++end;
        }
        if (!encoding.convertFromUtf8(text + start, static_cast<unsigned int>(end - start),
                                      scratch)) {
            for (std::size_t i = start; i < end;) {
                const std::size_t length =
                    std::max<std::size_t>(1, utf8CharLength(text + i, end - i));
                if (!encoding.convertFromUtf8(text + i, static_cast<unsigned int>(length),
                                              scratch)) {
                    return i;
                }
                i += length;
            }
            return start;
        }
        start = end;
    }
    return size;
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
        return "the byte " + describeByte(static_cast<unsigned char>(text[offset])) + " at " +
               position;
    }
    const unsigned int codePoint = utf8CodePoint(text + offset, length);
    std::string shown = codePointName(codePoint);
    if (codePoint >= 0x20 && codePoint != 0x7F && (codePoint < 0x80 || codePoint >= 0xA0)) {
        shown += " '" + std::string(text + offset, length) + "'";
    }
    return "the character " + shown + " at " + position;
}

// Counts the five-byte tagged codes that stand for Japanese characters
// without a Unicode mapping (their lead byte 0xF8 never occurs otherwise in
// the converted text).
std::size_t countTaggedCodes(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), static_cast<char>(0xF8)));
}

// Converts pieces of text from one encoding to another by way of UTF-8.
class PieceConverter {
public:
    PieceConverter(EncodingId from, EncodingId to, bool replace)
        : m_from(from), m_to(to), m_replace(replace) {}

    /// Appends the conversion of `size` bytes at `data`, which start at line
    /// `firstLine` of the input, to `out`; throws Refusal when it cannot.
    void convert(const char* data, std::size_t size, std::size_t firstLine, std::string& out) {
        const char* text = data;
        std::size_t textSize = size;
        if (m_from != AbstractEncoding::Utf8) {
            m_utf8.clear();
            if (m_from == AbstractEncoding::Ascii) {
                westernToUtf8(data, size, m_utf8);
            } else {
                bool unmapped = false;
                if (!encodingFor(m_from).convertToUtf8(data, static_cast<unsigned int>(size),
                                                       m_utf8, unmapped, m_replace)) {
                    throw Refusal(failedLine(data, size, firstLine) + " cannot be converted from " +
                                  preferredName(m_from) + " to UTF-8");
                }
                m_unmapped = m_unmapped || unmapped;
                if (unmapped && !m_replace) {
                    m_taggedCodes += countTaggedCodes(m_utf8);
                }
            }
            text = m_utf8.data();
            textSize = m_utf8.size();
        }
        // Pieces can start inside a line (a line longer than a piece).
        const std::size_t firstColumn = m_column;
        m_column = columnAfter(text, textSize, m_column);
        if (m_to == AbstractEncoding::Utf8) {
            out.append(text, textSize);
            return;
        }
        if (m_taggedCodes > 0) {
            throw Refusal("some characters have no Unicode mapping and cannot be written in " +
                          preferredName(m_to) + " (use --replace)");
        }
        std::size_t failedAt = textSize;
        bool ok = true;
        if (m_to == AbstractEncoding::Ascii) {
            ok = utf8ToWestern(text, textSize, m_piece, failedAt);
        } else {
            ok = encodingFor(m_to).convertFromUtf8(text, static_cast<unsigned int>(textSize),
                                                   m_piece);
            if (!ok) {
                failedAt = findUnconvertible(encodingFor(m_to), text, textSize);
            }
        }
        if (!ok) {
            if (failedAt < textSize) {
                throw Refusal(describeCharacter(text, textSize, failedAt, firstLine, firstColumn) +
                              " cannot be written in " + preferredName(m_to));
            }
            throw Refusal("the text could not be converted to " + preferredName(m_to));
        }
        out += m_piece;
        m_piece.clear();
    }

    bool unmapped() const { return m_unmapped; }
    std::size_t taggedCodes() const { return m_taggedCodes; }

private:
    // "line N" of the first line of a piece that the converter refuses alone.
    std::string failedLine(const char* data, std::size_t size, std::size_t firstLine) {
        std::string scratch;
        bool unmapped = false;
        std::size_t line = firstLine;
        for (std::size_t start = 0; start < size; ++line) {
            const char* newline =
                static_cast<const char*>(std::memchr(data + start, '\n', size - start));
            const std::size_t end =
                newline != nullptr ? static_cast<std::size_t>(newline - data) + 1 : size;
            if (!encodingFor(m_from).convertToUtf8(data + start,
                                                   static_cast<unsigned int>(end - start), scratch,
                                                   unmapped, m_replace)) {
                return "line " + std::to_string(line);
            }
            start = end;
        }
        return "the text";
    }

    EncodingId m_from;
    EncodingId m_to;
    bool m_replace;
    bool m_unmapped = false;
    std::size_t m_taggedCodes = 0;
    std::size_t m_column = 0; // characters of the current line before the next piece
    std::string m_utf8;
    std::string m_piece;
};

bool isAuto(const std::string& label) {
    const char* const word = "auto";
    if (label.size() != 4) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = label[i];
        if (c != word[i] && c != word[i] - 'a' + 'A') {
            return false;
        }
    }
    return true;
}

} // namespace

int runConvert(const std::vector<std::string>& args) {
    std::vector<OptionSpec> optionTable;
    optionTable.push_back(
        {"from", 0, "LABEL|auto", false,
         "the input's encoding; \"auto\" (the default unless --to is given) detects it first "
         "and refuses when no encoding or more than one fits, or the input is empty. With --to "
         "and no --from, the input is UTF-8."});
    optionTable.push_back({"header", 0, "VALUE", false,
                           "with --from auto: a Content-Type header value whose charset declares "
                           "the input's encoding. A byte order mark, this declaration, or a "
                           "<meta> or XML declaration in the first 1024 bytes decides when the "
                           "bytes verify in it; detection otherwise"});
    optionTable.push_back({"to", 0, "LABEL", false, "the output's encoding (default utf-8)"});
    optionTable.push_back({"replace", 0, nullptr, true,
                           "write U+30FB (KATAKANA MIDDLE DOT) for Japanese characters that "
                           "have no Unicode mapping, instead of the library's tagged codes"});
    optionTable.push_back(outputOption());
    for (const OptionSpec& option : detectionOptions()) {
        optionTable.push_back(option);
    }
    const ParsedArgs parsed = parseArgs(args, kConvertCommand, optionTable);
    if (parsed.positionals().size() > 1) {
        throw UsageError("convert takes one input file, not " +
                         std::to_string(parsed.positionals().size()));
    }
    const bool toGiven = parsed.has("to");
    const std::string fromLabel = parsed.value("from", toGiven ? "utf-8" : "auto");
    const bool autoDetect = isAuto(fromLabel);
    EncodingId fromId = autoDetect ? AbstractEncoding::Ascii : resolveLabel(fromLabel);
    const EncodingId toId = toGiven ? resolveLabel(parsed.value("to")) : AbstractEncoding::Utf8;
    if (!autoDetect) {
        for (const OptionSpec& option : detectionOptions()) {
            if (parsed.has(option.longName)) {
                throw UsageError(std::string("option --") + option.longName +
                                 " applies only to --from auto");
            }
        }
        if (parsed.has("header")) {
            throw UsageError("option --header applies only to --from auto");
        }
        if (parsed.has("replace") && fromId == AbstractEncoding::Utf8) {
            throw UsageError("option --replace applies only when converting to UTF-8");
        }
    }
    const std::string output = parsed.value("output");
    if (parsed.has("output") && output.empty()) {
        throw UsageError("option -o needs a file name (or - for standard output)");
    }
    const bool toStdout = output.empty() || output == "-";
    const bool json = parsed.has("json");
    if (json && toStdout) {
        throw UsageError("option --json needs -o OUT (standard output carries the text)");
    }
    const DetectionSettings settings = readDetectionSettings(parsed);
    const std::unique_ptr<AbstractLocale> locale = resolveLocale(settings.locale);
    applySupported(settings);

    const std::string path = parsed.positionals().empty() ? "-" : parsed.positionals()[0];
    const std::string name = displayName(path);
    const std::string outputName = toStdout ? std::string("standard output") : output;
    Reporter reporter(json);
    InputData input;
    std::string error;
    if (!input.load(path, error, kMaxLength)) {
        reporter.fileError(name, error);
        return reporter.status();
    }

    AtomicFile file;
    if (!toStdout && !file.open(output, error)) {
        reporter.fileError(outputName, error);
        return reporter.status();
    }
    // A file is written piece by piece. Standard output cannot be taken
    // back, so there the whole text is converted before any of it is written,
    // unless the conversion cannot fail once the input has been verified
    // (Japanese and Western text to UTF-8).
    bool streamToStdout = false;
    std::string converted;
    std::size_t written = 0;
    PieceConverter converter(fromId, toId, parsed.has("replace"));
    try {
        if (autoDetect && input.empty()) {
            // Nothing to tell the encoding from, as detect says too.
            throw Refusal("cannot detect the encoding of an empty input (give --from LABEL)");
        }
        // A byte order mark or a declaration the bytes verify in decides;
        // without one, detection must find exactly one encoding.
        bool declared = false;
        if (autoDetect) {
            EncodingSniffer::Options options;
            options.verifyCharacters = settings.verifyCharacters;
            options.rejectRedundantEscapes = settings.rejectRedundantEscapes;
            options.escapeRunLimit = settings.escapeRunLimit;
            options.scanToEnd = settings.scanToEnd;
            const std::string header = parsed.value("header");
            const EncodingSniffer::Result sniffed = EncodingSniffer::sniff(
                input.data(), static_cast<unsigned int>(input.size()),
                parsed.has("header") ? header.c_str() : nullptr, *locale, false, options);
            if (sniffed.utf16 != EncodingSniffer::NotUtf16) {
                throw Refusal(std::string("cannot detect the encoding: a byte order mark says ") +
                              sniffed.name() +
                              ", which charsetkit does not convert (give --from LABEL)");
            }
            declared = !sniffed.contradicted && sniffed.encoding != 0 &&
                       sniffed.source != EncodingSniffer::FromDetection &&
                       sniffed.source != EncodingSniffer::FromDefault;
            if (declared) {
                fromId = sniffed.encoding;
                converter = PieceConverter(fromId, toId, parsed.has("replace"));
            }
        }
        if (autoDetect && !declared) {
            const std::vector<EncodingId> found = detectEncodings(*locale, input, settings);
            if (found.empty()) {
                throw Refusal("cannot detect the encoding: no " + std::string(locale->getName()) +
                              " encoding fits (give --from LABEL)");
            }
            if (found.size() > 1) {
                std::string names;
                for (EncodingId id : found) {
                    names += (names.empty() ? "" : " or ") + preferredName(id);
                }
                throw Refusal("cannot detect the encoding: the input could be " + names +
                              " (give --from LABEL)");
            }
            fromId = found[0];
            converter = PieceConverter(fromId, toId, parsed.has("replace"));
        }
        streamToStdout = toStdout && toId == AbstractEncoding::Utf8 &&
                         fromId != AbstractEncoding::EucKr && fromId != AbstractEncoding::Utf8;
        const Verdict verdict =
            verifyWhole(fromId, input, settings.verifyCharacters, settings.rejectRedundantEscapes,
                        settings.escapeRunLimit);
        if (!verdict.valid) {
            throw Refusal("the input is not valid " + preferredName(fromId) + " (" +
                          verdict.reason + ")");
        }
        if (toStdout && fromId == AbstractEncoding::Utf8 && toId == AbstractEncoding::Utf8) {
            // Nothing to convert: the input is written as it is, below.
        } else {
            std::size_t line = 1;
            for (std::size_t start = 0; start < input.size();) {
                const std::size_t end = pieceEnd(input.data(), input.size(), start, fromId);
                converter.convert(input.data() + start, end - start, line, converted);
                line += static_cast<std::size_t>(
                    std::count(input.data() + start, input.data() + end, '\n'));
                if (!toStdout || streamToStdout) {
                    const bool ok = streamToStdout
                                        ? writeOutput("", converted.data(), converted.size(), error)
                                        : file.write(converted.data(), converted.size(), error);
                    if (!ok) {
                        reporter.fileError(outputName, error);
                        return reporter.status();
                    }
                    written += converted.size();
                    converted.clear();
                    input.forgetBefore(end);
                }
                start = end;
            }
        }
    } catch (const Refusal& refusal) {
        file.discard();
        reporter.note(name, std::string(refusal.what()) + "; conversion refused");
        if (json) {
            reporter.line(JsonLine().add("file", name).add("refused", refusal.what()).str());
        }
        return finishStdout() ? ExitNegative : ExitTrouble;
    } catch (const std::bad_alloc&) {
        file.discard();
        reporter.fileError(name, "out of memory");
        return reporter.status();
    }

    if (streamToStdout) {
        // Written already.
    } else if (toStdout) {
        const bool copy = fromId == AbstractEncoding::Utf8 && toId == AbstractEncoding::Utf8;
        const char* data = copy ? input.data() : converted.data();
        const std::size_t size = copy ? input.size() : converted.size();
        if (!writeOutput("", data, size, error)) {
            reporter.fileError(outputName, error);
            return reporter.status();
        }
        written = size;
    } else if (!file.commit(error)) {
        reporter.fileError(outputName, error);
        return reporter.status();
    }
    if (converter.taggedCodes() > 0) {
        reporter.note(name, std::to_string(converter.taggedCodes()) +
                                " characters without a Unicode mapping were written as tagged "
                                "codes (use --replace to write U+30FB instead)");
    } else if (converter.unmapped()) {
        reporter.note(name, "characters without a Unicode mapping were written as U+30FB");
    }
    if (!toStdout) {
        if (json) {
            reporter.line(JsonLine()
                              .add("file", name)
                              .add("from", preferredName(fromId))
                              .add("to", preferredName(toId))
                              .add("output", output)
                              .add("bytes", written)
                              .add("unmapped", converter.unmapped())
                              .str());
        } else {
            reporter.line(shownName(name) + ": " + preferredName(fromId) + " -> " +
                          preferredName(toId) + ", " + std::to_string(written) +
                          " bytes written to " + shownName(output));
        }
    }
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
