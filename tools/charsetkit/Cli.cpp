#include "Cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <set>
#include <utility>

namespace charsetkit {
namespace tool {

namespace {

const std::size_t kHelpWidth = 78;
const std::size_t kOptionColumn = 30;

// The help of a subcommand: its usage line and description, CLI11's option
// lines with their descriptions wrapped to the width, and its closing
// paragraphs.
class HelpFormatter : public CLI::Formatter {
public:
    explicit HelpFormatter(const CommandSpec& command) : m_command(command) {
        column_width(kOptionColumn);
    }

    std::string make_help(const CLI::App* app, std::string,
                          CLI::AppFormatMode mode) const override {
        std::string text = std::string("Usage: charsetkit ") + m_command.name + " " +
                           m_command.usage + "\n\n" + m_command.description;
        text += make_groups(app, mode);
        while (text.size() > 1 && text.back() == '\n' && text[text.size() - 2] == '\n') {
            text.pop_back();
        }
        if (m_command.closing[0] != '\0') {
            text += std::string("\n") + m_command.closing;
        }
        return text;
    }

    std::string make_option_name(const CLI::Option* option, bool) const override {
        std::string names;
        for (const std::string& name : option->get_snames()) {
            names += "-" + name + ", ";
        }
        return names + "--" + option->get_lnames().front();
    }

    std::string make_option_opts(const CLI::Option* option) const override {
        return option->get_type_size() == 0 ? std::string() : " " + option->get_type_name();
    }

    std::string make_option_desc(const CLI::Option* option) const override {
        return wrap(option->get_description(), kHelpWidth - kOptionColumn);
    }

private:
    // Breaks `text` into lines of at most `width` characters at spaces.
    static std::string wrap(const std::string& text, std::size_t width) {
        std::string out;
        std::size_t lineLength = 0;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(' ', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            const std::size_t wordLength = end - start;
            if (lineLength > 0 && lineLength + 1 + wordLength > width) {
                out += '\n';
                lineLength = 0;
            } else if (lineLength > 0) {
                out += ' ';
                ++lineLength;
            }
            out.append(text, start, wordLength);
            lineLength += wordLength;
            start = end + 1;
        }
        return out;
    }

    const CommandSpec& m_command;
};

const OptionSpec* findOption(const std::vector<OptionSpec>& optionTable, const std::string& name,
                             char shortName) {
    for (const OptionSpec& option : optionTable) {
        if ((shortName == 0 && name == option.longName) ||
            (shortName != 0 && option.shortName == shortName)) {
            return &option;
        }
    }
    return nullptr;
}

// "--name" or "-x", as the option appears in `word`.
std::string shownOption(const std::string& word) {
    if (word.compare(0, 2, "--") == 0) {
        return word.substr(0, word.find('='));
    }
    return word.substr(0, 2);
}

// Whether CLI11 reads `word` (which starts with '-') as an option rather than
// as a file name: "-1", "---x" and "-!" it does not.
bool looksLikeOption(const std::string& word) {
    const std::size_t first = word.compare(0, 2, "--") == 0 ? 2 : 1;
    if (word.size() <= first) {
        return false;
    }
    const char c = word[first];
    return c != '-' && c != '!' && c != ' ' && c != '\n' && (first == 2 || c < '0' || c > '9');
}

// The words as CLI11 is to read them, after the checks where CLI11 would
// differ from what the tool has always done: "--name=" gives an empty value
// (CLI11 would read the next word), "--flag=value" is refused (CLI11 would
// take it as the flag's setting), a single-valued option given twice and a
// word such as "-1" or "---x" (which CLI11 takes for a file name) are
// refused naming them as typed. The words that options take as values are
// passed over, whatever they look like, and so is everything after "--".
std::vector<std::string> prepareWords(const std::vector<std::string>& args,
                                      const std::vector<OptionSpec>& optionTable) {
    std::vector<std::string> words;
    std::set<const OptionSpec*> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        words.push_back(arg);
        if (arg == "--") {
            words.insert(words.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         args.end());
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            continue;
        }
        const bool isLong = arg[1] == '-';
        const std::size_t equals = isLong ? arg.find('=') : std::string::npos;
        const std::string shown = shownOption(arg);
        const OptionSpec* option =
            findOption(optionTable, shown.substr(isLong ? 2 : 1), isLong ? '\0' : arg[1]);
        if (option == nullptr) {
            const bool common = isLong ? shown == "--help" || shown == "--json" : arg[1] == 'h';
            if (common && equals != std::string::npos) {
                throw UsageError("option " + shown + " takes no value");
            }
            if (!common && !looksLikeOption(arg)) {
                throw UsageError("unknown option " + shown + " (see --help)");
            }
            continue; // CLI11 reads it, or lists it as unknown
        }
        if (!option->repeatable && !seen.insert(option).second) {
            throw UsageError("option " + shown + " given more than once");
        }
        if (option->valueName == nullptr) {
            if (equals != std::string::npos) {
                throw UsageError("option " + shown + " takes no value");
            }
        } else if (equals != std::string::npos) {
            if (equals + 1 == arg.size()) {
                words.back() = shown;
                words.emplace_back();
            }
        } else if ((isLong || arg.size() == 2) && i + 1 < args.size()) {
            words.push_back(args[++i]);
        }
    }
    return words;
}

} // namespace

bool ParsedArgs::has(const std::string& name) const {
    return m_options.find(name) != m_options.end();
}

std::string ParsedArgs::value(const std::string& name, const std::string& fallback) const {
    auto it = m_options.find(name);
    if (it == m_options.end() || it->second.empty()) {
        return fallback;
    }
    return it->second.back();
}

const std::vector<std::string>& ParsedArgs::values(const std::string& name) const {
    static const std::vector<std::string> none;
    auto it = m_options.find(name);
    return it == m_options.end() ? none : it->second;
}

void ParsedArgs::addFlag(const std::string& name) {
    m_options[name];
}

void ParsedArgs::addValue(const std::string& name, const std::string& value) {
    m_options[name].push_back(value);
}

ParsedArgs parseArgs(const std::vector<std::string>& args, const CommandSpec& command,
                     const std::vector<OptionSpec>& optionTable) {
    CLI::App app(command.description, command.name);
    app.formatter(std::make_shared<HelpFormatter>(command));
    app.set_help_flag("-h,--help", "show this help");
    app.allow_extras();
    std::vector<std::pair<const OptionSpec*, CLI::Option*>> declared;
    for (const OptionSpec& row : optionTable) {
        std::string names = std::string("--") + row.longName;
        if (row.shortName != 0) {
            names = std::string("-") + row.shortName + "," + names;
        }
        CLI::Option* option = row.valueName != nullptr
                                  ? app.add_option(names)->type_name(row.valueName)->expected(1)
                                  : app.add_flag(names);
        option->description(row.help)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        declared.emplace_back(&row, option);
    }
    CLI::Option* json = app.add_flag("--json", command.jsonHelp);
    json->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    std::vector<std::string> positionals;
    app.add_option("files", positionals)->group("");

    std::vector<std::string> words = prepareWords(args, optionTable);
    const std::string last = words.empty() ? std::string() : words.back();
    std::reverse(words.begin(), words.end());
    try {
        app.parse(words);
    } catch (const CLI::CallForHelp&) {
        throw HelpRequest(app.help());
    } catch (const CLI::ArgumentMismatch&) {
        // Only an option at the end of the words goes without its value.
        throw UsageError("option " + shownOption(last) + " needs a value");
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what());
    }
    for (const std::string& word : app.remaining()) {
        if (word.size() > 1 && word[0] == '-' && word != "--") {
            throw UsageError("unknown option " + shownOption(word) + " (see --help)");
        }
    }

    ParsedArgs parsed;
    for (const auto& entry : declared) {
        const OptionSpec& row = *entry.first;
        const CLI::Option& option = *entry.second;
        if (option.count() == 0) {
            continue;
        }
        if (option.count() > 1 && !row.repeatable) {
            throw UsageError(std::string("option --") + row.longName + " given more than once");
        }
        if (row.valueName == nullptr) {
            parsed.addFlag(row.longName);
        } else {
            for (const std::string& value : option.results()) {
                parsed.addValue(row.longName, value);
            }
        }
    }
    if (json->count() > 0) {
        parsed.addFlag("json");
    }
    for (const std::string& positional : positionals) {
        parsed.addPositional(positional);
    }
    return parsed;
}

int parseCount(const std::string& option, const std::string& text, int max) {
    if (text.empty()) {
        throw UsageError("option --" + option + " needs a whole number, not '" + text + "'");
    }
    // Saturates past `max`, so that any number of digits is read safely.
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            throw UsageError("option --" + option + " needs a whole number, not '" + text + "'");
        }
        value = std::min<long long>(value * 10 + (c - '0'), static_cast<long long>(max) + 1);
    }
    if (value > max) {
        throw UsageError("option --" + option + " is at most " + std::to_string(max));
    }
    return static_cast<int>(value);
}

void rejectTogether(const ParsedArgs& args, const std::string& option, const std::string& other) {
    if (args.has(option) && args.has(other)) {
        throw UsageError("options --" + option + " and --" + other + " cannot be used together");
    }
}

} // namespace tool
} // namespace charsetkit
