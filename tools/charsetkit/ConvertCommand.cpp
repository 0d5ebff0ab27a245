#include "Commands.h"

#include <algorithm>

namespace charsetkit {
namespace tool {

const char* const kConvertHelp =
    R"HELP(Usage: charsetkit convert [--from LABEL|auto] [--to LABEL] [OPTIONS] [FILE]

Converts one input (standard input when no FILE or "-" is given) to UTF-8,
or from UTF-8 into the encoding that --to names. With both --from and --to
the text goes from one encoding to the other by way of UTF-8.

Options:
  --from LABEL|auto   the input's encoding; "auto" (the default unless --to
                      is given) detects it first and refuses when no
                      encoding or more than one fits. With --to and no
                      --from, the input is UTF-8.
  --to LABEL          the output's encoding (default utf-8)
  --replace           write U+30FB (KATAKANA MIDDLE DOT) for Japanese
                      characters that have no Unicode mapping, instead of
                      the library's tagged codes
  -o, --output OUT    write to OUT instead of standard output; OUT is
                      written whole or not at all
  --locale L, --supported S, --scan-to-end, --verify-characters,
  --reject-redundant-escapes, --escape-run-limit N
                      detection settings for --from auto (see
                      "charsetkit detect --help")
  --json              with -o: print a JSON summary line
  -h, --help          show this help

The input must be valid in its encoding (an input that ends inside a
multi-byte character is not). Western (iso-8859-1) text is read and written
as Windows-1252, a superset of ISO-8859-1's printable characters.

Exit status: 0 when converted, 1 when the conversion is refused (detection
empty or ambiguous, input not valid, a character that the output encoding
cannot hold), 2 for usage errors and I/O errors. Nothing is written when the
conversion is refused.
)HELP";

namespace {

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

std::string describeCharacter(const char* text, std::size_t size, std::size_t offset) {
    const std::size_t length = utf8CharLength(text + offset, size - offset);
    if (length == 0) {
        return "the invalid UTF-8 byte 0x" + printable(std::string(1, text[offset])).substr(2) +
               " at " + describePosition(text, offset);
    }
    const unsigned int codePoint = utf8CodePoint(text + offset, length);
    std::string shown = codePointName(codePoint);
    if (codePoint >= 0x20 && codePoint != 0x7F && (codePoint < 0x80 || codePoint >= 0xA0)) {
        shown += " '" + std::string(text + offset, length) + "'";
    }
    return "the character " + shown + " at " + describePosition(text, offset);
}

// Counts the five-byte tagged codes that stand for Japanese characters
// without a Unicode mapping (their lead byte 0xF8 never occurs otherwise in
// the converted text).
std::size_t countTaggedCodes(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), static_cast<char>(0xF8)));
}

class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace

int runConvert(const std::vector<std::string>& args) {
    std::vector<OptionSpec> specs = detectionOptions();
    specs.push_back({"from", 0, true, false});
    specs.push_back({"to", 0, true, false});
    specs.push_back({"replace", 0, false, true});
    specs.push_back({"output", 'o', true, false});
    const ParsedArgs parsed = parseArgs(args, specs);
    if (parsed.has("help")) {
        return printHelp(kConvertHelp);
    }
    if (parsed.positionals().size() > 1) {
        throw UsageError("convert takes one input file, not " +
                         std::to_string(parsed.positionals().size()));
    }
    const bool toGiven = parsed.has("to");
    const std::string fromLabel = parsed.value("from", toGiven ? "utf-8" : "auto");
    const bool autoDetect = fromLabel == "auto" || fromLabel == "AUTO";
    EncodingId fromId = autoDetect ? AbstractEncoding::Ascii : resolveLabel(fromLabel);
    const EncodingId toId = toGiven ? resolveLabel(parsed.value("to")) : AbstractEncoding::Utf8;
    if (!autoDetect) {
        for (const OptionSpec& spec : detectionOptions()) {
            if (parsed.has(spec.longName)) {
                throw UsageError(std::string("option --") + spec.longName +
                                 " applies only to --from auto");
            }
        }
        if (parsed.has("replace") && fromId == AbstractEncoding::Utf8) {
            throw UsageError("option --replace applies only when converting to UTF-8");
        }
    }
    const std::string output = parsed.value("output");
    const bool json = parsed.has("json");
    if (json && (output.empty() || output == "-")) {
        throw UsageError("option --json needs -o OUT (standard output carries the text)");
    }
    const DetectionSettings settings = readDetectionSettings(parsed);
    const std::unique_ptr<AbstractLocale> locale = resolveLocale(settings.locale);
    applySupported(settings);

    const std::string path = parsed.positionals().empty() ? "-" : parsed.positionals()[0];
    const std::string name = displayName(path);
    Reporter reporter(json);
    InputData input;
    std::string error;
    if (!input.load(path, error) || !checkSize(input.size(), kMaxLength, error)) {
        reporter.fileError(name, error);
        return reporter.status();
    }

    std::string utf8;           // the text as UTF-8, when it is not the input itself
    const char* text = nullptr; // the UTF-8 text
    std::size_t textSize = 0;
    std::string converted; // the final output, when it is not `text`
    bool unmapped = false;
    std::size_t taggedCodes = 0;
    try {
        if (autoDetect && !input.empty()) {
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
        }
        const Verdict verdict =
            verifyWhole(fromId, input, settings.verifyCharacters, settings.rejectRedundantEscapes,
                        settings.escapeRunLimit);
        if (!verdict.valid) {
            throw Refusal("the input is not valid " + preferredName(fromId) + " (" +
                          verdict.reason + ")");
        }

        // To UTF-8.
        if (fromId == AbstractEncoding::Utf8) {
            text = input.data();
            textSize = input.size();
        } else {
            if (fromId == AbstractEncoding::Ascii) {
                westernToUtf8(input.data(), input.size(), utf8);
            } else if (!encodingFor(fromId).convertToUtf8(input.data(),
                                                          static_cast<unsigned int>(input.size()),
                                                          utf8, unmapped, parsed.has("replace"))) {
                throw Refusal("the " + preferredName(fromId) +
                              " text could not be converted to UTF-8");
            }
            if (unmapped && !parsed.has("replace")) {
                taggedCodes = countTaggedCodes(utf8);
            }
            text = utf8.data();
            textSize = utf8.size();
        }

        // From UTF-8.
        if (toId != AbstractEncoding::Utf8) {
            if (taggedCodes > 0) {
                throw Refusal("some characters have no Unicode mapping and cannot be written "
                              "in " +
                              preferredName(toId) + " (use --replace)");
            }
            std::size_t failedAt = textSize;
            bool ok = true;
            if (toId == AbstractEncoding::Ascii) {
                ok = utf8ToWestern(text, textSize, converted, failedAt);
            } else {
                ok = encodingFor(toId).convertFromUtf8(text, static_cast<unsigned int>(textSize),
                                                       converted);
                if (!ok) {
                    failedAt = findUnconvertible(encodingFor(toId), text, textSize);
                }
            }
            if (!ok) {
                if (failedAt < textSize) {
                    throw Refusal(describeCharacter(text, textSize, failedAt) +
                                  " cannot be written in " + preferredName(toId));
                }
                throw Refusal("the text could not be converted to " + preferredName(toId));
            }
            std::string().swap(utf8);
            text = converted.data();
            textSize = converted.size();
        }
    } catch (const Refusal& refusal) {
        reporter.note(name, std::string(refusal.what()) + "; conversion refused");
        if (json) {
            reporter.line(JsonLine().add("file", name).add("refused", refusal.what()).str());
        }
        return finishStdout() ? ExitNegative : ExitTrouble;
    }

    if (!writeOutput(output, text, textSize, error)) {
        reporter.fileError(
            output.empty() || output == "-" ? std::string("standard output") : output, error);
        return reporter.status();
    }
    if (taggedCodes > 0) {
        reporter.note(name, std::to_string(taggedCodes) +
                                " characters without a Unicode mapping were written as tagged "
                                "codes (use --replace to write U+30FB instead)");
    } else if (unmapped) {
        reporter.note(name, "characters without a Unicode mapping were written as U+30FB");
    }
    if (!output.empty() && output != "-") {
        if (json) {
            reporter.line(JsonLine()
                              .add("file", name)
                              .add("from", preferredName(fromId))
                              .add("to", preferredName(toId))
                              .add("output", output)
                              .add("bytes", textSize)
                              .add("unmapped", unmapped)
                              .str());
        } else {
            reporter.line(name + ": " + preferredName(fromId) + " -> " + preferredName(toId) +
                          ", " + std::to_string(textSize) + " bytes written to " + output);
        }
    }
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
