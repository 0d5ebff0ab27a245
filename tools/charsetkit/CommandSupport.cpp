#include "AtomicFile.h"
#include "Commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace charsetkit {
namespace tool {

std::vector<OptionSpec> detectionOptions() {
    return {
        {"locale", 0, "L", false,
         "japanese (default), korean or utf8: the family of encodings considered"},
        {"supported", 0, "S", false,
         "local, utf8 or both (default): whether the Japanese and Korean locales consider "
         "their own encodings, UTF-8, or both"},
        {"scan-to-end", 0, nullptr, true,
         "read every byte instead of stopping as soon as a single encoding has shown typical "
         "characters"},
        {"verify-characters", 0, nullptr, true,
         "also look every multi-byte character up in the code tables"},
        {"reject-redundant-escapes", 0, nullptr, true,
         "ISO-2022-JP: refuse a designation of the set already in force"},
        {"escape-run-limit", 0, "N", false,
         "ISO-2022-JP: accept at most N designations in a row with no character between them "
         "(default 3; 0 fails every input that is not empty)"},
    };
}

OptionSpec detectionOption(const std::string& name) {
    for (const OptionSpec& option : detectionOptions()) {
        if (name == option.longName) {
            return option;
        }
    }
    throw std::logic_error("no detection option --" + name);
}

OptionSpec recursiveOption() {
    return {"recursive", 'r', nullptr, true, "walk the directories given, file by file"};
}

OptionSpec outputOption() {
    return {"output", 'o', "OUT", false,
            "write to OUT instead of standard output; OUT is written whole or not at all"};
}

DetectionSettings readDetectionSettings(const ParsedArgs& args) {
    DetectionSettings settings;
    settings.locale = args.value("locale", settings.locale);
    settings.scanToEnd = args.has("scan-to-end");
    settings.verifyCharacters = args.has("verify-characters");
    settings.rejectRedundantEscapes = args.has("reject-redundant-escapes");
    if (args.has("escape-run-limit")) {
        settings.escapeRunLimit =
            parseCount("escape-run-limit", args.value("escape-run-limit"), kMaxEscapeRunLimit);
    }
    if (args.has("supported")) {
        settings.supportedGiven = true;
        settings.supported = resolveSupported(args.value("supported"));
    }
    return settings;
}

void applySupported(const DetectionSettings& settings) {
    if (settings.supportedGiven) {
        AbstractLocale::setSupportedEncodings(settings.supported);
    }
}

std::vector<EncodingId> detectEncodings(AbstractLocale& locale, const InputData& input,
                                        const DetectionSettings& settings) {
    std::vector<EncodingId> found;
    locale.detectAndVerifyEncoding(input.data(), static_cast<unsigned int>(input.size()),
                                   settings.verifyCharacters, settings.rejectRedundantEscapes,
                                   settings.escapeRunLimit, settings.scanToEnd, &found);
    return found;
}

std::string verifyFailureReason(EncodingId id, const VerifyFailure& failure) {
    switch (failure.kind) {
    case VerifyFailure::Byte:
        return "byte " + describeByte(failure.byte) + " at offset " +
               std::to_string(failure.offset) + ", line " + std::to_string(failure.line);
    case VerifyFailure::EndsInside:
        return "ends inside a multi-byte character";
    case VerifyFailure::EndState:
        return "does not end in ASCII or JIS-Roman mode";
    default:
        return "not valid " + preferredName(id);
    }
}

Verdict verifyWhole(EncodingId id, const InputData& input, bool verifyCharacters,
                    bool rejectRedundantEscapes, int escapeRunLimit) {
    Verdict verdict;
    PieceVerifier verifier(id, verifyCharacters, rejectRedundantEscapes, escapeRunLimit);
    if (verifier.feed(input.data(), input.size(), true)) {
        verdict.valid = true;
        return verdict;
    }
    verdict.reason = verifyFailureReason(id, verifier.failure());
    verdict.offset = static_cast<std::size_t>(verifier.failure().offset);
    return verdict;
}

void forEachInput(const std::vector<std::string>& names, bool recursive, std::size_t limit,
                  Reporter& reporter, Progress* progress,
                  const std::function<void(const std::string& name, const InputData&)>& onInput) {
    std::vector<std::string> inputs = names;
    if (inputs.empty()) {
        inputs.emplace_back("-");
    }
    std::size_t stdinCount = 0;
    for (const std::string& name : inputs) {
        if (name == "-") {
            ++stdinCount;
        }
    }
    if (stdinCount > 1) {
        throw UsageError("standard input (-) can be read only once");
    }
    if (stdinCount == 1 && recursive) {
        throw UsageError("option -r walks directories; it cannot be used with standard input");
    }

    std::size_t done = 0;
    const std::size_t total = recursive ? 0 : inputs.size();
    const auto processFile = [&](const std::string& path) {
        const std::string name = displayName(path);
        InputData input;
        std::string error;
        if (!input.load(path, error, limit)) {
            if (error == "is a directory" && !recursive) {
                error += " (use -r to walk it)";
            }
            reporter.fileError(name, error);
        } else {
            try {
                onInput(name, input);
            } catch (const std::bad_alloc&) {
                // Too much for this input; the next ones may still fit.
                reporter.fileError(name, "out of memory");
            }
        }
        ++done;
        if (progress != nullptr) {
            progress->step(done, total, input.size());
        }
    };
    for (const std::string& path : inputs) {
        if (recursive && isDirectory(path)) {
            walkTree(path, processFile, [&](const std::string& where, const std::string& why) {
                reporter.fileError(where, why);
            });
        } else {
            processFile(path);
        }
    }
}

bool writeOutput(const std::string& target, const char* data, std::size_t size,
                 std::string& error) {
    if (target.empty() || target == "-") {
        errno = 0;
        if (size > 0 && std::fwrite(data, 1, size, stdout) != size) {
            error = errno != 0 ? std::strerror(errno) : "write error";
            return false;
        }
        return true;
    }
    AtomicFile file;
    if (!file.open(target, error) || !file.write(data, size, error) || !file.commit(error)) {
        return false;
    }
    return true;
}

int printHelp(const char* text) {
    std::fputs(text, stdout);
    return finishStdout() ? ExitPositive : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
