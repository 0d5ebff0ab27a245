#include "Commands.h"

namespace charsetkit {
namespace tool {

const CommandSpec kLabelsCommand = {
    "labels", "[--json]",
    R"HELP(Lists every encoding the library knows: its number, preferred charset name,
display name, runtime name and the charset labels that name it. Labels are
compared without regard to case, and whole: "Shift_JIS" names shift_jis,
" shift_jis" names nothing. The label x-euc names both euc-jp and euc-kr;
the tool's --encoding, --from and --to take it as euc-jp.
)HELP",
    ""};

int runLabels(const std::vector<std::string>& args) {
    const ParsedArgs parsed = parseArgs(args, kLabelsCommand, {});
    if (!parsed.positionals().empty()) {
        throw UsageError("labels takes no file");
    }
    Reporter reporter(parsed.has("json"));
    for (EncodingId id : allEncodings()) {
        const AbstractEncoding& encoding = encodingFor(id);
        const std::vector<std::string> aliases = aliasesOf(id);
        if (reporter.json()) {
            reporter.line(JsonLine()
                              .add("id", static_cast<int>(id))
                              .add("preferred", encoding.getPreferedID())
                              .add("display", encoding.getDisplayName())
                              .add("runtime", encoding.getJavaName())
                              .add("stateful", encoding.isStateful())
                              .add("aliases", aliases)
                              .str());
            continue;
        }
        std::string text = std::to_string(static_cast<int>(id)) + " " + encoding.getPreferedID() +
                           "\n    display name: " + encoding.getDisplayName() +
                           "\n    runtime name: " + encoding.getJavaName() + "\n    labels:";
        std::size_t column = 12;
        for (std::size_t k = 0; k < aliases.size(); ++k) {
            const std::string item = aliases[k] + (k + 1 < aliases.size() ? "," : "");
            if (column + 1 + item.size() > 78) {
                text += "\n           ";
                column = 11;
            }
            text += " " + item;
            column += 1 + item.size();
        }
        reporter.line(text);
    }
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
