#include "Commands.h"

namespace charsetkit {
namespace tool {

const CommandSpec kDetectCommand = {
    "detect", "[OPTIONS] [FILE...]",
    R"HELP(Tells which encodings each input can be in, as preferred charset names, in
the order the locale prefers them. Reads standard input when no FILE or "-"
is given.
)HELP",
    R"HELP(Output: "FILE: NAME" for one answer, "FILE: NAME NAME (ambiguous)" when the
bytes fit several encodings equally, "FILE: none" when no encoding fits.
Plain ASCII text gives iso-8859-1; an empty input gives "none (empty input)".

Exit status: 0 when every input got an answer, 1 when some input fits no
encoding, 2 for usage errors and unreadable inputs.
)HELP"};

int runDetect(const std::vector<std::string>& args) {
    std::vector<OptionSpec> optionTable = detectionOptions();
    optionTable.push_back(recursiveOption());
    const ParsedArgs parsed = parseArgs(args, kDetectCommand, optionTable);
    const DetectionSettings settings = readDetectionSettings(parsed);
    const std::unique_ptr<AbstractLocale> locale = resolveLocale(settings.locale);
    applySupported(settings);

    Progress progress("detect:");
    Reporter reporter(parsed.has("json"), &progress);
    forEachInput(parsed.positionals(), parsed.has("recursive"), kMaxLength, reporter, &progress,
                 [&](const std::string& name, const InputData& input) {
                     // The library calls an empty buffer ASCII; there is nothing
                     // to tell from it, which the tool says plainly.
                     const std::vector<EncodingId> found =
                         input.empty() ? std::vector<EncodingId>()
                                       : detectEncodings(*locale, input, settings);
                     std::vector<std::string> names;
                     for (EncodingId id : found) {
                         names.push_back(preferredName(id));
                     }
                     if (found.empty()) {
                         reporter.raise(ExitNegative);
                     }
                     if (reporter.json()) {
                         reporter.line(JsonLine()
                                           .add("file", name)
                                           .add("locale", locale->getName())
                                           .add("encodings", names)
                                           .add("ambiguous", names.size() > 1)
                                           .add("empty", input.empty())
                                           .add("bytes", input.size())
                                           .str());
                         return;
                     }
                     std::string text = shownName(name) + ":";
                     for (const std::string& encoding : names) {
                         text += " " + encoding;
                     }
                     if (input.empty()) {
                         text += " none (empty input)";
                     } else if (names.empty()) {
                         text += " none";
                     } else if (names.size() > 1) {
                         text += " (ambiguous)";
                     }
                     reporter.line(text);
                 });
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
