#include "AtomicFile.h"
#include "Commands.h"

#include <cstdio>

namespace charsetkit {
namespace tool {

namespace {

// Runs the encoding's own machine over the whole input, as the library's
// verification does, and also refuses an input that ends inside a multi-byte
// character: the library accepts that, which suits buffers read piece by
// piece but not whole files.
template <typename Machine>
Verdict runMachine(EncodingId id, const InputData& input, bool verifyCharacters) {
    Verdict verdict;
    Machine machine;
    if (!machine.verify(input.data(), static_cast<unsigned int>(input.size()), verifyCharacters,
                        false, 0)) {
        verdict.reason = "not valid " + preferredName(id);
    } else if (machine.m_inChar) {
        verdict.reason = "ends inside a multi-byte character";
    } else {
        verdict.valid = true;
    }
    return verdict;
}

// EUC-KR: a lead byte 0x81-0xFE takes the next byte with it.
bool eucKrEndsInsideCharacter(const InputData& input) {
    bool inChar = false;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const auto byte = static_cast<unsigned char>(input.data()[i]);
        inChar = !inChar && byte >= 0x81 && byte <= 0xFE;
    }
    return inChar;
}

} // namespace

std::vector<OptionSpec> detectionOptions() {
    return {
        {"locale", 0, true, false},
        {"scan-to-end", 0, false, true},
        {"verify-characters", 0, false, true},
        {"reject-redundant-escapes", 0, false, true},
        {"escape-run-limit", 0, true, false},
        {"supported", 0, true, false},
    };
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

Verdict verifyWhole(EncodingId id, const InputData& input, bool verifyCharacters,
                    bool rejectRedundantEscapes, int escapeRunLimit) {
    switch (id) {
    case AbstractEncoding::Utf8:
        return runMachine<Utf8DetectorSM>(id, input, verifyCharacters);
    case AbstractEncoding::Sjis:
        return runMachine<SjisDetectorSM>(id, input, verifyCharacters);
    case AbstractEncoding::EucJp:
        return runMachine<EucJpDetectorSM>(id, input, verifyCharacters);
    default:
        break;
    }
    // ISO-2022-JP checks its end state itself, Western has no multi-byte
    // characters and EUC-KR gets the end check below.
    Verdict verdict;
    if (!encodingFor(id).verify(input.data(), static_cast<unsigned int>(input.size()),
                                verifyCharacters, rejectRedundantEscapes, escapeRunLimit)) {
        verdict.reason = "not valid " + preferredName(id);
    } else if (id == AbstractEncoding::EucKr && eucKrEndsInsideCharacter(input)) {
        verdict.reason = "ends inside a multi-byte character";
    } else {
        verdict.valid = true;
    }
    return verdict;
}

void forEachInput(const std::vector<std::string>& names, bool recursive, Reporter& reporter,
                  Progress* progress,
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
        if (!input.load(path, error)) {
            if (error == "is a directory" && !recursive) {
                error += " (use -r to walk it)";
            }
            reporter.fileError(name, error);
        } else {
            onInput(name, input);
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
        if (size > 0 && std::fwrite(data, 1, size, stdout) != size) {
            error = "cannot write to standard output";
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
