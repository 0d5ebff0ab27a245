#include "Commands.h"

namespace charsetkit {
namespace tool {

const CommandSpec kDecodeCommand = {
    "decode", "[--encoding LABEL] [-o OUT] [FILE]",
    R"HELP(Decodes the percent escapes ("%" and two hexadecimal digits, as in URLs and
form bodies) of one input (standard input when no FILE or "-" is given).
Only a "%" where a character starts is an escape: with --encoding, a "%"
byte inside a multi-byte character of that encoding is left alone. "+" and
every other byte are copied unchanged; decoded bytes are not scanned again
("%2541" gives "%41"); a "%" among the last two bytes is copied unchanged.
)HELP",
    R"HELP(Exit status: 0 when decoded, 1 when some "%" at a character start is not
followed by two hexadecimal digits (then nothing is written), 2 for usage
errors and I/O errors.
)HELP",
    "with -o: print a JSON summary line"};

namespace {

bool isHexDigit(char c) {
    return Convert::ms_legalHexToInt[static_cast<unsigned char>(c)] >= 0;
}

// The offset of the first '%' at a character start that does not begin an
// escape, scanning as the library's decoder does; `size` when there is none.
std::size_t findMalformedEscape(const char* data, std::size_t size, AbstractTraverser& traverser) {
    traverser.setNewBuffer(data, static_cast<int>(size));
    const char* const end = data + size;
    while (!traverser.isEnd() && end - traverser.getPos() > 2) {
        const char* position = traverser.getPos();
        if (*position != '%') {
            traverser.advance();
            continue;
        }
        if (!isHexDigit(position[1]) || !isHexDigit(position[2])) {
            return static_cast<std::size_t>(position - data);
        }
        traverser.advance();
        traverser.advance();
        traverser.advance();
    }
    return size;
}

} // namespace

int runDecode(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(
        args, kDecodeCommand,
        {{"encoding", 0, "LABEL", false,
          "the input's encoding (default: every byte starts a character, as in Western text)"},
         outputOption()});
    if (parsed.positionals().size() > 1) {
        throw UsageError("decode takes one input file, not " +
                         std::to_string(parsed.positionals().size()));
    }
    const EncodingId id =
        parsed.has("encoding") ? resolveLabel(parsed.value("encoding")) : AbstractEncoding::Ascii;
    const std::string output = parsed.value("output");
    if (parsed.has("output") && output.empty()) {
        throw UsageError("option -o needs a file name (or - for standard output)");
    }
    const bool json = parsed.has("json");
    if (json && (output.empty() || output == "-")) {
        throw UsageError("option --json needs -o OUT (standard output carries the text)");
    }

    const std::string path = parsed.positionals().empty() ? "-" : parsed.positionals()[0];
    const std::string name = displayName(path);
    Reporter reporter(json);
    InputData input;
    std::string error;
    if (!input.load(path, error, kMaxIntLength)) {
        reporter.fileError(name, error);
        return reporter.status();
    }
    const std::unique_ptr<AbstractTraverser> traverser(encodingFor(id).getExactEncodingTraverser());
    if (!traverser) {
        reporter.fileError(name, "out of memory");
        return reporter.status();
    }
    std::string decoded;
    if (!TraverserUtils::hexDecode(decoded, input.data(), static_cast<int>(input.size()),
                                   traverser.get())) {
        const std::size_t at = findMalformedEscape(input.data(), input.size(), *traverser);
        std::string reason = "malformed percent escape";
        if (at < input.size()) {
            reason += " '" +
                      printable(std::string(input.data() + at,
                                            std::min<std::size_t>(3, input.size() - at))) +
                      "' at byte " + std::to_string(at);
        }
        reporter.note(name, reason + "; nothing decoded");
        if (json) {
            reporter.line(JsonLine().add("file", name).add("refused", reason).str());
        }
        return finishStdout() ? ExitNegative : ExitTrouble;
    }
    if (!writeOutput(output, decoded.data(), decoded.size(), error)) {
        reporter.fileError(
            output.empty() || output == "-" ? std::string("standard output") : output, error);
        return reporter.status();
    }
    if (!output.empty() && output != "-") {
        if (json) {
            reporter.line(JsonLine()
                              .add("file", name)
                              .add("encoding", preferredName(id))
                              .add("output", output)
                              .add("bytes", decoded.size())
                              .str());
        } else {
            reporter.line(shownName(name) + ": " + std::to_string(decoded.size()) +
                          " bytes written to " + shownName(output));
        }
    }
    return finishStdout() ? ExitPositive : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
