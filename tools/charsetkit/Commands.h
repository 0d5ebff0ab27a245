#ifndef CHARSETKIT_TOOL_COMMANDS_H
#define CHARSETKIT_TOOL_COMMANDS_H

// The subcommands of the charsetkit tool and what they share: the detection
// options, the loop over inputs and the writing of output files.

#include "Charsets.h"
#include "Cli.h"
#include "Input.h"
#include "Output.h"
#include "StreamConvert.h"
#include "Walk.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace charsetkit {
namespace tool {

int runDetect(const std::vector<std::string>& args);
int runVerify(const std::vector<std::string>& args);
int runConvert(const std::vector<std::string>& args);
int runDecode(const std::vector<std::string>& args);
int runCheck(const std::vector<std::string>& args);
int runLabels(const std::vector<std::string>& args);
int runSniff(const std::vector<std::string>& args);

/// ISO-2022-JP designations in a row (with no character between them) are
/// accepted up to this number; one more fails the ISO-2022-JP candidate.
constexpr int kDefaultEscapeRunLimit = 3;
constexpr int kMaxEscapeRunLimit = 1000000;

/// Largest input the detection, verification and conversion calls take.
constexpr std::size_t kMaxLength = UINT_MAX;
/// Largest input percent decoding and the byte check take.
constexpr std::size_t kMaxIntLength = INT_MAX;

struct DetectionSettings {
    std::string locale = "japanese";
    bool scanToEnd = false;
    bool verifyCharacters = false;
    bool rejectRedundantEscapes = false;
    int escapeRunLimit = kDefaultEscapeRunLimit;
    bool supportedGiven = false;
    AbstractLocale::SupportedEncodings supported = AbstractLocale::LocalAndUtf8;
};

/// --locale, --supported, --scan-to-end, --verify-characters,
/// --reject-redundant-escapes and --escape-run-limit.
std::vector<OptionSpec> detectionOptions();
/// The detection option named `name` (without "--").
OptionSpec detectionOption(const std::string& name);
/// -r, --recursive.
OptionSpec recursiveOption();
/// -o, --output OUT.
OptionSpec outputOption();
DetectionSettings readDetectionSettings(const ParsedArgs& args);
/// Applies the process-wide part of the settings (--supported).
void applySupported(const DetectionSettings& settings);

/// The encodings the bytes can be in, in the library's order of preference.
std::vector<EncodingId> detectEncodings(AbstractLocale& locale, const InputData& input,
                                        const DetectionSettings& settings);

/// The verdict of `verify`: the library's answer, made stricter for whole
/// inputs: a buffer that ends inside a multi-byte character is not valid.
struct Verdict {
    bool valid = false;
    std::string reason; ///< why not, when not valid
    /// Offset of the first byte that does not fit, or the input's size when
    /// the fault is at its end (or not known).
    std::size_t offset = 0;
};
Verdict verifyWhole(EncodingId id, const InputData& input, bool verifyCharacters,
                    bool rejectRedundantEscapes, int escapeRunLimit);
/// "byte 0x82 at offset 5, line 2", "ends inside a multi-byte character", ...
std::string verifyFailureReason(EncodingId id, const VerifyFailure& failure);

/// Runs `onInput` for each named input (standard input when there is none).
/// Directories are walked when `recursive`, refused otherwise; inputs that
/// cannot be read, or hold more than `limit` bytes, or need more memory than
/// there is, are reported through `reporter` and skipped. Throws UsageError
/// when standard input is named twice or given with -r.
void forEachInput(const std::vector<std::string>& names, bool recursive, std::size_t limit,
                  Reporter& reporter, Progress* progress,
                  const std::function<void(const std::string& name, const InputData&)>& onInput);

/// Writes `bytes` to `target` whole or not at all ("-" or "" is stdout).
bool writeOutput(const std::string& target, const char* data, std::size_t size, std::string& error);

/// Prints a help text to stdout.
int printHelp(const char* text);

} // namespace tool
} // namespace charsetkit

#endif
