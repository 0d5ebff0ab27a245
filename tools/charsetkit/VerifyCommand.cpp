#include "Commands.h"

namespace charsetkit {
namespace tool {

const CommandSpec kVerifyCommand = {
    "verify", "--encoding LABEL [OPTIONS] [FILE...]",
    R"HELP(Tells whether each input is valid text in the encoding that LABEL names (any
charset label the library knows, compared without regard to case; see
"charsetkit labels"). Reads standard input when no FILE or "-" is given.
)HELP",
    R"HELP(An input that ends inside a multi-byte character is not valid. Western
(iso-8859-1) text is valid unless it holds the ISO-2022 control bytes ESC,
SO or SI.

Output: "FILE: valid NAME" or "FILE: invalid NAME (REASON)".
Exit status: 0 when every input is valid, 1 when some input is not, 2 for
usage errors and unreadable inputs.
)HELP"};

int runVerify(const std::vector<std::string>& args) {
    const ParsedArgs parsed =
        parseArgs(args, kVerifyCommand,
                  {{"encoding", 0, "LABEL", false, "the encoding to check against (required)"},
                   detectionOption("verify-characters"),
                   detectionOption("reject-redundant-escapes"),
                   detectionOption("escape-run-limit"),
                   recursiveOption()});
    if (!parsed.has("encoding")) {
        throw UsageError("option --encoding LABEL is required");
    }
    const EncodingId id = resolveLabel(parsed.value("encoding"));
    const bool verifyCharacters = parsed.has("verify-characters");
    const bool rejectRedundant = parsed.has("reject-redundant-escapes");
    int escapeRunLimit = kDefaultEscapeRunLimit;
    if (parsed.has("escape-run-limit")) {
        escapeRunLimit =
            parseCount("escape-run-limit", parsed.value("escape-run-limit"), kMaxEscapeRunLimit);
    }

    Progress progress("verify:");
    Reporter reporter(parsed.has("json"), &progress);
    forEachInput(parsed.positionals(), parsed.has("recursive"), kMaxLength, reporter, &progress,
                 [&](const std::string& name, const InputData& input) {
                     const Verdict verdict =
                         verifyWhole(id, input, verifyCharacters, rejectRedundant, escapeRunLimit);
                     if (!verdict.valid) {
                         reporter.raise(ExitNegative);
                     }
                     if (reporter.json()) {
                         JsonLine json;
                         json.add("file", name)
                             .add("encoding", preferredName(id))
                             .add("valid", verdict.valid);
                         if (!verdict.valid) {
                             json.add("reason", verdict.reason).add("offset", verdict.offset);
                         }
                         reporter.line(json.add("bytes", input.size()).str());
                     } else if (verdict.valid) {
                         reporter.line(shownName(name) + ": valid " + preferredName(id));
                     } else {
                         reporter.line(shownName(name) + ": invalid " + preferredName(id) + " (" +
                                       verdict.reason + ")");
                     }
                 });
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
