#ifndef CHARSETKIT_TOOL_OUTPUT_H
#define CHARSETKIT_TOOL_OUTPUT_H

// Everything the tool prints: result lines on stdout (plain text or JSON
// Lines), one-line messages on stderr, and a progress line on stderr that is
// shown only when stderr is a terminal.

#include <nlohmann/json_fwd.hpp>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace charsetkit {
namespace tool {

/// Builds one JSON object on one line, its members in the order they are
/// added. Strings are written as UTF-8; each byte that does not begin a
/// well-formed UTF-8 character (in file names, say) becomes U+FFFD.
class JsonLine {
public:
    JsonLine();
    ~JsonLine();
    JsonLine(JsonLine&& other) noexcept;
    JsonLine& operator=(JsonLine&& other) noexcept;
    JsonLine(const JsonLine&) = delete;
    JsonLine& operator=(const JsonLine&) = delete;

    JsonLine& add(const std::string& key, const std::string& value);
    JsonLine& add(const std::string& key, const char* value);
    JsonLine& add(const std::string& key, bool value);
    JsonLine& addNull(const std::string& key);
    JsonLine& add(const std::string& key, long long value);
    JsonLine& add(const std::string& key, std::size_t value);
    JsonLine& add(const std::string& key, int value);
    JsonLine& add(const std::string& key, const std::vector<std::string>& values);
    JsonLine& addNumbers(const std::string& key, const std::vector<int>& values);
    std::string str() const;

private:
    std::unique_ptr<nlohmann::ordered_json> m_object;
};

/// JSON string literal, quotes included, with invalid UTF-8 replaced as in
/// JsonLine. Long lists are written one item at a time through it, so that
/// they need not be held whole.
std::string jsonString(const std::string& text);

/// `text` with each byte that does not begin a well-formed UTF-8 character
/// replaced by U+FFFD.
std::string replaceInvalidUtf8(const std::string& text);

/// Bytes 0x20-0x7E as they are ('\\' doubled), every other byte as \xHH.
std::string printable(const std::string& bytes);

/// "0x3c '<'" for a printable byte, "0x95" for any other.
std::string describeByte(unsigned char byte);

/// `text` for a line of plain output or a message: control characters (bytes
/// 0x00-0x1F and 0x7F, and U+0080-U+009F in UTF-8) as \xHH, so that a file
/// name can neither break the line nor drive the terminal. Other bytes are
/// kept as they are.
std::string shownName(const std::string& text);

/// A progress line on stderr for long runs, shown only when stderr is a
/// terminal, first after half a second and then at most ten times a second.
class Progress {
public:
    explicit Progress(const char* verb);
    ~Progress() { clear(); }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    /// Counts one more input of `bytes` bytes; `total` is 0 when unknown.
    void step(std::size_t done, std::size_t total, std::uint64_t bytes);
    /// Removes the line (before anything else is printed on the terminal).
    void clear();

private:
    const char* m_verb;
    bool m_enabled;
    bool m_shown = false;
    std::uint64_t m_bytes = 0;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_last;
};

/// Collects the exit status of a subcommand and prints its lines.
class Reporter {
public:
    Reporter(bool json, Progress* progress = nullptr) : m_json(json), m_progress(progress) {}

    bool json() const { return m_json; }
    /// A result line on stdout (plain text or a JSON object).
    void line(const std::string& text);
    /// The start of a long result line, written at once so that it need not
    /// be held whole; the next line() ends it.
    void partial(const std::string& text);
    /// "charsetkit: NAME: REASON" on stderr (see printError); the status
    /// becomes at least 2.
    /// In JSON mode a {"file": NAME, "error": REASON} record goes to stdout too.
    void fileError(const std::string& name, const std::string& reason);
    /// "charsetkit: NAME: MESSAGE" on stderr without changing the status.
    void note(const std::string& name, const std::string& message);
    /// Raises the exit status to `status` (it never goes down).
    void raise(int status);
    int status() const { return m_status; }

private:
    bool m_json;
    Progress* m_progress;
    int m_status = 0;
};

/// Writes a message line to stderr: "charsetkit: TEXT", with TEXT passed
/// through shownName so that it stays one line.
void printError(const std::string& text);

/// Flushes stdout; false (with a message printed) when writing failed.
bool finishStdout();

} // namespace tool
} // namespace charsetkit

#endif
