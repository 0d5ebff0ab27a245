#include "Cli.h"

#include <algorithm>

namespace charsetkit {
namespace tool {

namespace {

const OptionSpec kCommonOptions[] = {
    {"help", 'h', false, true},
    {"json", 0, false, true},
};

const OptionSpec* findLong(const std::vector<OptionSpec>& optionTable, const std::string& name) {
    for (const OptionSpec& option : kCommonOptions) {
        if (name == option.longName) {
            return &option;
        }
    }
    for (const OptionSpec& option : optionTable) {
        if (name == option.longName) {
            return &option;
        }
    }
    return nullptr;
}

const OptionSpec* findShort(const std::vector<OptionSpec>& optionTable, char name) {
    for (const OptionSpec& option : kCommonOptions) {
        if (option.shortName == name) {
            return &option;
        }
    }
    for (const OptionSpec& option : optionTable) {
        if (option.shortName != 0 && option.shortName == name) {
            return &option;
        }
    }
    return nullptr;
}

void store(ParsedArgs& parsed, const OptionSpec& option, const std::string& shown,
           const std::string* value) {
    const std::string name = option.longName;
    if (!option.repeatable && parsed.has(name)) {
        throw UsageError("option " + shown + " given more than once");
    }
    if (option.takesValue) {
        parsed.addValue(name, *value);
    } else {
        parsed.addFlag(name);
    }
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

ParsedArgs parseArgs(const std::vector<std::string>& args,
                     const std::vector<OptionSpec>& optionTable) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            parsed.addPositional(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg.compare(0, 2, "--") == 0) {
            const std::size_t equals = arg.find('=');
            const std::string name =
                arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
            const OptionSpec* option = findLong(optionTable, name);
            if (option == nullptr) {
                throw UsageError("unknown option --" + name + " (see --help)");
            }
            if (!option->takesValue) {
                if (equals != std::string::npos) {
                    throw UsageError("option --" + name + " takes no value");
                }
                store(parsed, *option, "--" + name, nullptr);
            } else if (equals != std::string::npos) {
                const std::string value = arg.substr(equals + 1);
                store(parsed, *option, "--" + name, &value);
            } else {
                if (i + 1 >= args.size()) {
                    throw UsageError("option --" + name + " needs a value");
                }
                store(parsed, *option, "--" + name, &args[++i]);
            }
            continue;
        }
        // One short option, with its value attached (-oOUT) or in the next word.
        const OptionSpec* option = findShort(optionTable, arg[1]);
        const std::string shown = arg.substr(0, 2);
        if (option == nullptr) {
            throw UsageError("unknown option " + shown + " (see --help)");
        }
        if (!option->takesValue) {
            if (arg.size() > 2) {
                throw UsageError("unknown option " + arg);
            }
            store(parsed, *option, shown, nullptr);
        } else if (arg.size() > 2) {
            const std::string value = arg.substr(2);
            store(parsed, *option, shown, &value);
        } else {
            if (i + 1 >= args.size()) {
                throw UsageError("option " + shown + " needs a value");
            }
            store(parsed, *option, shown, &args[++i]);
        }
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
