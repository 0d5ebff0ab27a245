#include "Commands.h"

namespace charsetkit {
namespace tool {

const CommandSpec kSniffCommand = {
    "sniff", "[--header VALUE] [OPTIONS] [FILE...]",
    R"HELP(Decides one encoding for each input, as a browser or crawler would for a
response: a byte order mark first, then the charset of the Content-Type
value given with --header, then a <meta> or XML declaration in the first
1024 bytes, then detection, then the locale's default. A declaration the
bytes do not verify in is not trusted: detection decides instead. Reads
standard input when no FILE or "-" is given. Characters are always looked
up in the code tables.
)HELP",
    R"HELP(Output: "FILE: ENCODING (SOURCE)", SOURCE being bom, transport, meta, xml,
detected or default; ENCODING is utf-16le or utf-16be for a UTF-16 byte
order mark. A contradicted declaration adds "; declared LABEL contradicted".

Exit status: 0 when every input got an encoding, 1 when some input got
none, 2 for usage errors and unreadable inputs.
)HELP",
    "one JSON object per line: file, encoding, source, declared (the label weighed, or "
    "null), declared_in, contradicted, candidates"};

int runSniff(const std::vector<std::string>& args) {
    std::vector<OptionSpec> optionTable = detectionOptions();
    optionTable.push_back(recursiveOption());
    optionTable.push_back({"header", 0, "VALUE", false,
                           "a Content-Type header value, e.g. 'text/html; charset=shift_jis'"});
    const ParsedArgs parsed = parseArgs(args, kSniffCommand, optionTable);
    const DetectionSettings settings = readDetectionSettings(parsed);
    const std::unique_ptr<AbstractLocale> locale = resolveLocale(settings.locale);
    applySupported(settings);
    const bool headerGiven = parsed.has("header");
    const std::string header = parsed.value("header");

    EncodingSniffer::Options options;
    options.verifyCharacters = true;
    options.rejectRedundantEscapes = settings.rejectRedundantEscapes;
    options.escapeRunLimit = settings.escapeRunLimit;
    options.scanToEnd = settings.scanToEnd;

    Progress progress("sniff:");
    Reporter reporter(parsed.has("json"), &progress);
    forEachInput(
        parsed.positionals(), parsed.has("recursive"), kMaxLength, reporter, &progress,
        [&](const std::string& name, const InputData& input) {
            const EncodingSniffer::Result result = EncodingSniffer::sniff(
                input.data(), static_cast<unsigned int>(input.size()),
                headerGiven ? header.c_str() : nullptr, *locale, false, options);
            const bool decided = result.encoding != 0 || result.utf16 != EncodingSniffer::NotUtf16;
            const std::string encoding = decided ? result.name() : "";
            if (!decided) {
                reporter.raise(ExitNegative);
            }
            const bool declared = result.declaredIn != 0;
            if (reporter.json()) {
                std::vector<std::string> candidates;
                for (EncodingId id : result.candidates) {
                    candidates.push_back(preferredName(id));
                }
                JsonLine line;
                line.add("file", name);
                if (decided) {
                    line.add("encoding", encoding);
                } else {
                    line.addNull("encoding");
                }
                line.add("source", result.sourceName());
                if (declared) {
                    line.add("declared", result.declaredLabel)
                        .add("declared_in", EncodingSniffer::sourceName(result.declaredIn));
                } else {
                    line.addNull("declared").addNull("declared_in");
                }
                line.add("contradicted", result.contradicted).add("candidates", candidates);
                reporter.line(line.str());
                return;
            }
            std::string text =
                shownName(name) + ": " + (decided ? encoding : "none") + " (" + result.sourceName();
            if (result.contradicted) {
                text += "; declared " + result.declaredLabel + " contradicted";
            }
            reporter.line(text + ")");
        });
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
