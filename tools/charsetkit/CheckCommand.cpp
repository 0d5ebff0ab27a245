#include "Commands.h"

namespace charsetkit {
namespace tool {

const CommandSpec kCheckCommand = {
    "check", "--forbid BYTES [OPTIONS] [FILE...]",
    R"HELP(Tells which forbidden byte values occur in each input where a character
starts (bytes inside multi-byte characters of the --encoding are never
taken for forbidden ones) and, with --escapes, which percent escapes stand
for forbidden bytes or are malformed. Reads standard input when no FILE or
"-" is given.

BYTES lists the forbidden bytes: characters as they are, \xHH for any byte,
\\ for a backslash, and ranges such as a-z or \x00-\x1f (a "-" at the start
or the end is itself a byte). A character outside ASCII stands for each of
its bytes on its own, not for the character. --forbid may be given several
times.
)HELP",
    R"HELP(Output: "FILE: clean", or "FILE: forbidden 0x3c '<', ..." followed by
"; malformed escapes: %G1, ..." when there are any.
Exit status: 0 when every input is clean, 1 when some input holds forbidden
bytes or malformed escapes, 2 for usage errors and unreadable inputs.
)HELP"};

namespace {

int hexValue(char c) {
    return Convert::ms_legalHexToInt[static_cast<unsigned char>(c)];
}

// Reads one byte of a --forbid list at `i`, moving `i` past it.
int readByte(const std::string& text, std::size_t& i) {
    if (text[i] != '\\') {
        return static_cast<unsigned char>(text[i++]);
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
        i += 2;
        return '\\';
    }
    if (i + 3 < text.size() && text[i + 1] == 'x' && hexValue(text[i + 2]) >= 0 &&
        hexValue(text[i + 3]) >= 0) {
        const int value = hexValue(text[i + 2]) * 16 + hexValue(text[i + 3]);
        i += 4;
        return value;
    }
    throw UsageError("option --forbid: write a backslash as \\\\ and a byte as \\xHH, in '" + text +
                     "'");
}

void addForbidden(const std::string& text, bool forbidden[256]) {
    if (text.empty()) {
        throw UsageError("option --forbid needs at least one byte");
    }
    for (std::size_t i = 0; i < text.size();) {
        const int first = readByte(text, i);
        if (i + 1 < text.size() && text[i] == '-') {
            ++i;
            const int last = readByte(text, i);
            if (last < first) {
                throw UsageError("option --forbid: the range in '" + text + "' runs backwards");
            }
            for (int b = first; b <= last; ++b) {
                forbidden[b] = true;
            }
        } else {
            forbidden[first] = true;
        }
    }
}

// Writes the checker's list of malformed escapes after `head` as the rest of
// a result line, each escape through printable() and then `quote` (JSON), so
// that a list as long as the input itself is never held a second time. Each
// escape is the '%' and the two bytes after it, joined by ", "; only the last
// can be shorter, when the input ends less than three bytes after its '%'.
void writeEscapes(Reporter& reporter, std::string head, const std::string& list,
                  const char* separator, std::string (*quote)(const std::string&),
                  const char* tail) {
    const std::size_t flushAt = 64 * 1024;
    for (std::size_t start = 0; start < list.size(); start += 3 + 2) {
        if (start > 0) {
            head += separator;
        }
        head += quote(printable(list.substr(start, 3)));
        if (head.size() >= flushAt) {
            reporter.partial(head);
            head.clear();
        }
    }
    reporter.line(head + tail);
}

std::string asIs(const std::string& text) {
    return text;
}

} // namespace

int runCheck(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(
        args, kCheckCommand,
        {{"forbid", 0, "BYTES", true, "the forbidden bytes (required)"},
         {"escapes", 0, nullptr, true,
          "also check the bytes that \"%XY\" escapes stand for and report malformed escapes"},
         {"accept-percent", 0, nullptr, true,
          "with --escapes: \"%\" always opens an escape, even when it is itself forbidden"},
         {"encoding", 0, "LABEL", false,
          "the inputs' encoding (default: every byte starts a character, as in Western text)"},
         recursiveOption()});
    if (!parsed.has("forbid")) {
        throw UsageError("option --forbid BYTES is required");
    }
    if (parsed.has("accept-percent") && !parsed.has("escapes")) {
        throw UsageError("option --accept-percent applies only with --escapes");
    }
    bool forbidden[256] = {};
    for (const std::string& list : parsed.values("forbid")) {
        addForbidden(list, forbidden);
    }
    bool allowed[256];
    for (int b = 0; b < 256; ++b) {
        allowed[b] = !forbidden[b];
    }
    const bool escapes = parsed.has("escapes");
    const bool acceptPercent = parsed.has("accept-percent");
    const EncodingId id =
        parsed.has("encoding") ? resolveLabel(parsed.value("encoding")) : AbstractEncoding::Ascii;
    const std::unique_ptr<AbstractTraverser> traverser(encodingFor(id).getExactEncodingTraverser());

    Progress progress("check:");
    Reporter reporter(parsed.has("json"), &progress);
    if (!traverser) {
        reporter.fileError("charsetkit", "out of memory");
        return reporter.status();
    }
    CharsetChecker checker;
    forEachInput(parsed.positionals(), parsed.has("recursive"), kMaxIntLength, reporter, &progress,
                 [&](const std::string& name, const InputData& input) {
                     char reportBuffer[256];
                     char* reported = reportBuffer;
                     int count = 0;
                     bool seen[256] = {};
                     bool badEscape = false;
                     std::string badEscapeText;
                     checker.checkBuffer(
                         allowed, escapes, input.data(), static_cast<int>(input.size()), &reported,
                         &count, seen, &badEscape, traverser.get(), &badEscapeText, acceptPercent);
                     std::vector<int> values;
                     std::vector<std::string> shown;
                     for (int k = 0; k < count && k < 256; ++k) {
                         const auto byte = static_cast<unsigned char>(reportBuffer[k]);
                         values.push_back(byte);
                         shown.push_back(describeByte(byte));
                     }
                     const bool clean = values.empty() && !badEscape;
                     if (!clean) {
                         reporter.raise(ExitNegative);
                     }
                     if (reporter.json()) {
                         std::string head = JsonLine()
                                                .add("file", name)
                                                .add("clean", clean)
                                                .addNumbers("forbidden", values)
                                                .str();
                         head.back() = ','; // the escapes follow as the last member
                         head += jsonString("malformedEscapes") + ":[";
                         const std::string none;
                         writeEscapes(reporter, head, badEscape ? badEscapeText : none, ",",
                                      jsonString, "]}");
                         return;
                     }
                     if (clean) {
                         reporter.line(shownName(name) + ": clean");
                         return;
                     }
                     std::string text = shownName(name) + ":";
                     if (!shown.empty()) {
                         text += " forbidden";
                         for (std::size_t k = 0; k < shown.size(); ++k) {
                             text += (k == 0 ? " " : ", ") + shown[k];
                         }
                     }
                     if (!badEscape) {
                         reporter.line(text);
                         return;
                     }
                     text += shown.empty() ? " malformed escapes: " : "; malformed escapes: ";
                     writeEscapes(reporter, text, badEscapeText, ", ", asIs, "");
                 });
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
