#include "Output.h"

#include "Cli.h"
#include "Utf8.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include <unistd.h>

namespace charsetkit {
namespace tool {

namespace {

using Json = nlohmann::ordered_json;

// One line, no spaces. Every string put in has had its invalid UTF-8
// replaced, so the replacing handler is never used; it only keeps the dump
// from throwing.
std::string dumpJson(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

const char kHex[] = "0123456789abcdef";

void writeStderr(const std::string& text) {
    std::fflush(stdout);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

std::string humanBytes(std::uint64_t bytes) {
    char buffer[32];
    if (bytes >= 1024ULL * 1024 * 1024) {
        std::snprintf(buffer, sizeof buffer, "%.1f GiB",
                      static_cast<double>(bytes) / (1024.0 * 1024 * 1024));
    } else if (bytes >= 1024ULL * 1024) {
        std::snprintf(buffer, sizeof buffer, "%.1f MiB",
                      static_cast<double>(bytes) / (1024.0 * 1024));
    } else {
        std::snprintf(buffer, sizeof buffer, "%.1f KiB", static_cast<double>(bytes) / 1024.0);
    }
    return buffer;
}

} // namespace

std::string replaceInvalidUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8CharLength(text.data() + i, text.size() - i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

std::string jsonString(const std::string& text) {
    return dumpJson(Json(replaceInvalidUtf8(text)));
}

std::string printable(const std::string& bytes) {
    std::string out;
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7F) {
            out += ch;
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string describeByte(unsigned char byte) {
    std::string text = "0x";
    text += kHex[byte >> 4];
    text += kHex[byte & 0x0F];
    if (byte >= 0x20 && byte < 0x7F) {
        text += " '";
        text += static_cast<char>(byte);
        text += "'";
    }
    return text;
}

std::string shownName(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (c >= 0x20 && c != 0x7F && !c1) {
            out += static_cast<char>(c);
            continue;
        }
        const std::size_t length = c1 ? 2 : 1;
        for (std::size_t k = 0; k < length; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
        i += length - 1;
    }
    return out;
}

JsonLine::JsonLine() : m_object(std::make_unique<Json>(Json::object())) {}
JsonLine::~JsonLine() = default;
JsonLine::JsonLine(JsonLine&& other) noexcept = default;
JsonLine& JsonLine::operator=(JsonLine&& other) noexcept = default;

JsonLine& JsonLine::add(const std::string& name, const std::string& value) {
    (*m_object)[replaceInvalidUtf8(name)] = replaceInvalidUtf8(value);
    return *this;
}

JsonLine& JsonLine::add(const std::string& name, const char* value) {
    return add(name, std::string(value != nullptr ? value : ""));
}

JsonLine& JsonLine::add(const std::string& name, bool value) {
    (*m_object)[replaceInvalidUtf8(name)] = value;
    return *this;
}

JsonLine& JsonLine::addNull(const std::string& name) {
    (*m_object)[replaceInvalidUtf8(name)] = nullptr;
    return *this;
}

JsonLine& JsonLine::add(const std::string& name, long long value) {
    (*m_object)[replaceInvalidUtf8(name)] = value;
    return *this;
}

JsonLine& JsonLine::add(const std::string& name, std::size_t value) {
    (*m_object)[replaceInvalidUtf8(name)] = value;
    return *this;
}

JsonLine& JsonLine::add(const std::string& name, int value) {
    return add(name, static_cast<long long>(value));
}

JsonLine& JsonLine::add(const std::string& name, const std::vector<std::string>& values) {
    Json array = Json::array();
    for (const std::string& value : values) {
        array.push_back(replaceInvalidUtf8(value));
    }
    (*m_object)[replaceInvalidUtf8(name)] = std::move(array);
    return *this;
}

JsonLine& JsonLine::addNumbers(const std::string& name, const std::vector<int>& values) {
    (*m_object)[replaceInvalidUtf8(name)] = values;
    return *this;
}

std::string JsonLine::str() const {
    return dumpJson(*m_object);
}

Progress::Progress(const char* verb)
    : m_verb(verb), m_enabled(isatty(STDERR_FILENO) == 1),
      m_start(std::chrono::steady_clock::now()), m_last(m_start) {}

void Progress::step(std::size_t done, std::size_t total, std::uint64_t bytes) {
    m_bytes += bytes;
    if (!m_enabled) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - m_start < std::chrono::milliseconds(500) ||
        (m_shown && now - m_last < std::chrono::milliseconds(100))) {
        return;
    }
    m_last = now;
    std::string text = std::string("\r\033[Kcharsetkit: ") + m_verb + " " + std::to_string(done);
    if (total > 0) {
        text += "/" + std::to_string(total);
    }
    text += done == 1 ? " file, " : " files, ";
    text += humanBytes(m_bytes);
    writeStderr(text);
    m_shown = true;
}

void Progress::clear() {
    if (m_shown) {
        writeStderr("\r\033[K");
        m_shown = false;
    }
}

void Reporter::line(const std::string& text) {
    if (m_progress != nullptr) {
        m_progress->clear();
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

void Reporter::partial(const std::string& text) {
    if (m_progress != nullptr) {
        m_progress->clear();
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Reporter::fileError(const std::string& name, const std::string& reason) {
    if (m_progress != nullptr) {
        m_progress->clear();
    }
    printError(name + ": " + reason);
    if (m_json) {
        line(JsonLine().add("file", name).add("error", reason).str());
    }
    raise(ExitTrouble);
}

void Reporter::note(const std::string& name, const std::string& message) {
    if (m_progress != nullptr) {
        m_progress->clear();
    }
    printError(name + ": " + message);
}

void Reporter::raise(int status) {
    if (status > m_status) {
        m_status = status;
    }
}

void printError(const std::string& text) {
    writeStderr("charsetkit: " + shownName(text) + "\n");
}

bool finishStdout() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        const int error = errno;
        std::fprintf(stderr, "charsetkit: cannot write to standard output: %s\n",
                     error != 0 ? std::strerror(error) : "write error");
        return false;
    }
    return true;
}

} // namespace tool
} // namespace charsetkit
