#ifndef CHARSETKIT_TOOL_CLI_H
#define CHARSETKIT_TOOL_CLI_H

// Command-line parsing for the charsetkit tool, on CLI11: long options
// (--name, --name=value, --name value), a few short ones (-o OUT, -r, -h),
// "--" to end the options and "-" as the name of standard input. Each
// subcommand declares its options once, in a table that gives both the
// parsing and the lines of its help.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace charsetkit {
namespace tool {

/// Exit statuses of every subcommand.
enum ExitStatus : int {
    ExitPositive = 0, ///< valid, detected, clean, converted
    ExitNegative = 1, ///< not valid, nothing detected, forbidden bytes, refused
    ExitTrouble = 2   ///< usage or I/O error
};

/// A mistake on the command line: reported as one line on stderr, exit 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// -h or --help was given: the subcommand's help, to print instead of
/// running it.
class HelpRequest : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One option of a subcommand.
struct OptionSpec {
    const char* longName;  ///< without the leading "--"
    char shortName;        ///< 0 when the option has no short form
    const char* valueName; ///< the value as help names it ("LABEL"); null for a flag
    bool repeatable;       ///< may be given more than once (values accumulate)
    const char* help;      ///< its line in the help, wrapped to fit
};

/// A subcommand's help around its option lines: "Usage: charsetkit NAME
/// USAGE", the description, the options, then the closing paragraphs.
struct CommandSpec {
    const char* name;
    const char* usage;
    const char* description;
    const char* closing;
    const char* jsonHelp = "one JSON object per line";
};

class ParsedArgs {
public:
    bool has(const std::string& name) const;
    /// The value of a single-valued option, or `fallback` when absent.
    std::string value(const std::string& name, const std::string& fallback = "") const;
    const std::vector<std::string>& values(const std::string& name) const;
    const std::vector<std::string>& positionals() const { return m_positionals; }

    void addFlag(const std::string& name);
    void addValue(const std::string& name, const std::string& value);
    void addPositional(const std::string& arg) { m_positionals.push_back(arg); }

private:
    std::map<std::string, std::vector<std::string>> m_options;
    std::vector<std::string> m_positionals;
};

/// Parses `args` (the words after the subcommand) against `optionTable`;
/// --help (-h) and --json are always known. Throws HelpRequest with the help
/// text when help is asked for, and UsageError for an unknown option, a
/// missing value, a value given to a flag or a single-valued option given
/// twice.
ParsedArgs parseArgs(const std::vector<std::string>& args, const CommandSpec& command,
                     const std::vector<OptionSpec>& optionTable);

/// A whole non-negative decimal number no larger than `max`; throws
/// UsageError naming `option` otherwise.
int parseCount(const std::string& option, const std::string& text, int max);

/// Throws UsageError when `option` is present (used for combinations that
/// make no sense together).
void rejectTogether(const ParsedArgs& args, const std::string& option, const std::string& other);

} // namespace tool
} // namespace charsetkit

#endif
