#include "AtomicFile.h"
#include "Commands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <unistd.h>

namespace charsetkit {
namespace tool {

const CommandSpec kConvertCommand = {
    "convert", "[--from LABEL|auto] [--to LABEL] [OPTIONS] [FILE]",
    R"HELP(Converts one input (standard input when no FILE or "-" is given) to UTF-8,
or from UTF-8 into the encoding that --to names. With both --from and --to
the text goes from one encoding to the other by way of UTF-8. The detection
options apply to --from auto.
)HELP",
    R"HELP(The input must be valid in its encoding (an input that ends inside a
multi-byte character is not). Western (iso-8859-1) text is read and written
as Windows-1252, a superset of ISO-8859-1's printable characters. The input
is read, verified and converted block by block, so that memory stays the
same however large it is (with --from auto it is read whole first, for
detection). Standard output receives the text only once the whole input has
been verified: a file is verified before it is converted, and what cannot be
verified first (a pipe, or a conversion that may still fail later) is held
in a temporary file until then (in $TMPDIR, else /tmp).

Exit status: 0 when converted, 1 when the conversion is refused (detection
empty or ambiguous, input not valid, a character that the output encoding
cannot hold), 2 for usage errors and I/O errors. Nothing is written when the
conversion is refused.
)HELP",
    "with -o: print a JSON summary line"};

namespace {

class Refusal : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The converted text for standard output, held until the input has been
// verified to its end: in memory up to kSpoolMemory bytes, beyond that in an
// unnamed temporary file (in $TMPDIR, else /tmp), so that memory stays the
// same whatever the size of the text.
class Spool {
public:
    Spool() = default;
    Spool(const Spool&) = delete;
    Spool& operator=(const Spool&) = delete;
    ~Spool() {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }

    bool write(const char* data, std::size_t size, std::string& error) {
        if (m_file == nullptr && m_memory.size() + size <= kSpoolMemory) {
            m_memory.append(data, size);
            return true;
        }
        if (m_file == nullptr && !openFile(error)) {
            return false;
        }
        if (!m_memory.empty()) {
            if (!put(m_memory.data(), m_memory.size(), error)) {
                return false;
            }
            std::string().swap(m_memory);
        }
        return put(data, size, error);
    }

    /// Copies everything written to standard output.
    bool copyToStdout(std::string& error) {
        if (m_file == nullptr) {
            return writeOutput("", m_memory.data(), m_memory.size(), error);
        }
        if (std::fflush(m_file) != 0 || std::fseek(m_file, 0, SEEK_SET) != 0) {
            error = std::string("temporary file: ") + std::strerror(errno);
            return false;
        }
        std::vector<char> block(kChunkSize);
        for (;;) {
            const std::size_t got = std::fread(block.data(), 1, block.size(), m_file);
            if (got == 0) {
                if (std::ferror(m_file) != 0) {
                    error = "temporary file: read error";
                    return false;
                }
                return true;
            }
            if (!writeOutput("", block.data(), got, error)) {
                return false;
            }
        }
    }

private:
    static constexpr std::size_t kSpoolMemory = std::size_t{1} << 20;

    bool openFile(std::string& error) {
        const char* tmpdir = std::getenv("TMPDIR");
        std::vector<std::string> folders;
        if (tmpdir != nullptr && *tmpdir != '\0') {
            folders.emplace_back(tmpdir);
        }
        folders.emplace_back("/tmp");
        int lastError = 0;
        for (const std::string& folder : folders) {
            std::string name = folder + "/charsetkit-XXXXXX";
            const int fd = mkstemp(&name[0]);
            if (fd < 0) {
                lastError = errno;
                continue;
            }
            unlink(name.c_str());
            m_file = fdopen(fd, "w+b");
            if (m_file == nullptr) {
                lastError = errno;
                close(fd);
                continue;
            }
            return true;
        }
        error = std::string("cannot create a temporary file: ") + std::strerror(lastError);
        return false;
    }

    bool put(const char* data, std::size_t size, std::string& error) {
        errno = 0;
        if (size > 0 && std::fwrite(data, 1, size, m_file) != size) {
            error = std::string("temporary file: ") +
                    (errno != 0 ? std::strerror(errno) : "write error");
            return false;
        }
        return true;
    }

    std::string m_memory;
    std::FILE* m_file = nullptr;
};

bool isAuto(const std::string& label) {
    const char* const word = "auto";
    if (label.size() != 4) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = label[i];
        if (c != word[i] && c != word[i] - 'a' + 'A') {
            return false;
        }
    }
    return true;
}

} // namespace

int runConvert(const std::vector<std::string>& args) {
    std::vector<OptionSpec> optionTable;
    optionTable.push_back(
        {"from", 0, "LABEL|auto", false,
         "the input's encoding; \"auto\" (the default unless --to is given) detects it first "
         "and refuses when no encoding or more than one fits, or the input is empty. With --to "
         "and no --from, the input is UTF-8."});
    optionTable.push_back({"header", 0, "VALUE", false,
                           "with --from auto: a Content-Type header value whose charset declares "
                           "the input's encoding. A byte order mark, this declaration, or a "
                           "<meta> or XML declaration in the first 1024 bytes decides when the "
                           "bytes verify in it; detection otherwise"});
    optionTable.push_back({"to", 0, "LABEL", false, "the output's encoding (default utf-8)"});
    optionTable.push_back({"replace", 0, nullptr, true,
                           "write U+30FB (KATAKANA MIDDLE DOT) for Japanese characters that "
                           "have no Unicode mapping, instead of the library's tagged codes"});
    optionTable.push_back(outputOption());
    for (const OptionSpec& option : detectionOptions()) {
        optionTable.push_back(option);
    }
    const ParsedArgs parsed = parseArgs(args, kConvertCommand, optionTable);
    if (parsed.positionals().size() > 1) {
        throw UsageError("convert takes one input file, not " +
                         std::to_string(parsed.positionals().size()));
    }
    const bool toGiven = parsed.has("to");
    const std::string fromLabel = parsed.value("from", toGiven ? "utf-8" : "auto");
    const bool autoDetect = isAuto(fromLabel);
    EncodingId fromId = autoDetect ? AbstractEncoding::Ascii : resolveLabel(fromLabel);
    const EncodingId toId = toGiven ? resolveLabel(parsed.value("to")) : AbstractEncoding::Utf8;
    if (!autoDetect) {
        for (const OptionSpec& option : detectionOptions()) {
            if (parsed.has(option.longName)) {
                throw UsageError(std::string("option --") + option.longName +
                                 " applies only to --from auto");
            }
        }
        if (parsed.has("header")) {
            throw UsageError("option --header applies only to --from auto");
        }
        if (parsed.has("replace") && fromId == AbstractEncoding::Utf8) {
            throw UsageError("option --replace applies only when converting to UTF-8");
        }
    }
    const std::string output = parsed.value("output");
    if (parsed.has("output") && output.empty()) {
        throw UsageError("option -o needs a file name (or - for standard output)");
    }
    const bool toStdout = output.empty() || output == "-";
    const bool json = parsed.has("json");
    if (json && toStdout) {
        throw UsageError("option --json needs -o OUT (standard output carries the text)");
    }
    const DetectionSettings settings = readDetectionSettings(parsed);
    const std::unique_ptr<AbstractLocale> locale = resolveLocale(settings.locale);
    applySupported(settings);

    const std::string path = parsed.positionals().empty() ? "-" : parsed.positionals()[0];
    const std::string name = displayName(path);
    const std::string outputName = toStdout ? std::string("standard output") : output;
    Reporter reporter(json);
    std::string error;
    // Detection needs the whole input; otherwise it is read piece by piece.
    InputData input;
    ChunkReader reader;
    if (autoDetect ? !input.load(path, error, kMaxLength) : !reader.open(path, error)) {
        reporter.fileError(name, error);
        return reporter.status();
    }

    AtomicFile file;
    if (!toStdout && !file.open(output, error)) {
        reporter.fileError(outputName, error);
        return reporter.status();
    }
    // Nothing may reach standard output before the input has been verified to
    // its end, so the text waits in the spool until then.
    Spool spool;
    std::size_t written = 0;
    bool unmapped = false;
    std::size_t taggedCodes = 0;
    try {
        if (autoDetect && input.empty()) {
            // Nothing to tell the encoding from, as detect says too.
            throw Refusal("cannot detect the encoding of an empty input (give --from LABEL)");
        }
        // A byte order mark or a declaration the bytes verify in decides;
        // without one, detection must find exactly one encoding.
        bool declared = false;
        if (autoDetect) {
            EncodingSniffer::Options options;
            options.verifyCharacters = settings.verifyCharacters;
            options.rejectRedundantEscapes = settings.rejectRedundantEscapes;
            options.escapeRunLimit = settings.escapeRunLimit;
            options.scanToEnd = settings.scanToEnd;
            const std::string header = parsed.value("header");
            const EncodingSniffer::Result sniffed = EncodingSniffer::sniff(
                input.data(), static_cast<unsigned int>(input.size()),
                parsed.has("header") ? header.c_str() : nullptr, *locale, false, options);
            if (sniffed.utf16 != EncodingSniffer::NotUtf16) {
                throw Refusal(std::string("cannot detect the encoding: a byte order mark says ") +
                              sniffed.name() +
                              ", which charsetkit does not convert (give --from LABEL)");
            }
            declared = !sniffed.contradicted && sniffed.encoding != 0 &&
                       sniffed.source != EncodingSniffer::FromDetection &&
                       sniffed.source != EncodingSniffer::FromDefault;
            if (declared) {
                fromId = sniffed.encoding;
            }
        }
        if (autoDetect && !declared) {
            const std::vector<EncodingId> found = detectEncodings(*locale, input, settings);
            if (found.empty()) {
                throw Refusal("cannot detect the encoding: no " + std::string(locale->getName()) +
                              " encoding fits (give --from LABEL)");
            }
            if (found.size() > 1) {
                std::string names;
                for (EncodingId id : found) {
                    names += (names.empty() ? "" : " or ") + preferredName(id);
                }
                throw Refusal("cannot detect the encoding: the input could be " + names +
                              " (give --from LABEL)");
            }
            fromId = found[0];
        }

        // Where the conversion cannot fail once the input verifies, an input
        // that can be read twice is verified first and then converted
        // straight to standard output, without the spool.
        const bool cannotFail = toId == AbstractEncoding::Utf8 && fromId != AbstractEncoding::EucKr;
        const bool direct = toStdout && cannotFail && (autoDetect || reader.seekable());
        if (direct) {
            PieceVerifier verifier(fromId, settings.verifyCharacters,
                                   settings.rejectRedundantEscapes, settings.escapeRunLimit);
            if (autoDetect) {
                verifier.feed(input.data(), input.size(), true);
            } else {
                std::vector<char> block(kChunkSize);
                for (bool last = false; !last && !verifier.failed();) {
                    std::size_t size = 0;
                    if (!reader.read(block.data(), block.size(), size, error)) {
                        reporter.fileError(name, error);
                        return reporter.status();
                    }
                    last = size < block.size();
                    verifier.feed(block.data(), size, last);
                }
                if (!verifier.failed() && !reader.rewind(error)) {
                    reporter.fileError(name, error);
                    return reporter.status();
                }
            }
            if (verifier.failed()) {
                throw Refusal("the input is not valid " + preferredName(fromId) + " (" +
                              verifyFailureReason(fromId, verifier.failure()) + ")");
            }
        }

        ConvertSettings convertSettings;
        convertSettings.from = fromId;
        convertSettings.to = toId;
        convertSettings.replace = parsed.has("replace");
        convertSettings.verifyCharacters = settings.verifyCharacters;
        convertSettings.rejectRedundantEscapes = settings.rejectRedundantEscapes;
        convertSettings.escapeRunLimit = settings.escapeRunLimit;
        StreamConverter converter(convertSettings);
        std::vector<char> chunk(autoDetect ? 0 : kChunkSize);
        std::string converted;
        std::size_t offset = 0;
        for (bool last = false; !last;) {
            const char* data = chunk.data();
            std::size_t size = 0;
            if (autoDetect) {
                data = input.data() + offset;
                size = std::min(kChunkSize, input.size() - offset);
                offset += size;
                last = offset == input.size();
            } else {
                if (!reader.read(chunk.data(), chunk.size(), size, error)) {
                    file.discard();
                    reporter.fileError(name, error);
                    return reporter.status();
                }
                last = size < chunk.size();
            }
            if (!converter.feed(data, size, last, converted)) {
                break;
            }
            if (!converted.empty()) {
                const bool ok = direct ? writeOutput("", converted.data(), converted.size(), error)
                                : toStdout ? spool.write(converted.data(), converted.size(), error)
                                           : file.write(converted.data(), converted.size(), error);
                if (!ok) {
                    file.discard();
                    reporter.fileError(outputName, error);
                    return reporter.status();
                }
                written += converted.size();
                converted.clear();
            }
            if (autoDetect) {
                input.forgetBefore(offset);
            }
        }
        if (direct && converter.refused()) {
            // It verified a moment ago: it changed since.
            reporter.fileError(name, "changed or became unreadable while it was being read");
            return reporter.status();
        }
        if (converter.verifyFailure().kind != VerifyFailure::None) {
            throw Refusal("the input is not valid " + preferredName(fromId) + " (" +
                          verifyFailureReason(fromId, converter.verifyFailure()) + ")");
        }
        if (!converter.conversionRefusal().empty()) {
            throw Refusal(converter.conversionRefusal());
        }
        unmapped = converter.unmapped();
        taggedCodes = converter.taggedCodes();
    } catch (const Refusal& refusal) {
        file.discard();
        reporter.note(name, std::string(refusal.what()) + "; conversion refused");
        if (json) {
            reporter.line(JsonLine().add("file", name).add("refused", refusal.what()).str());
        }
        return finishStdout() ? ExitNegative : ExitTrouble;
    } catch (const std::bad_alloc&) {
        file.discard();
        reporter.fileError(name, "out of memory");
        return reporter.status();
    }

    if (toStdout) {
        if (!spool.copyToStdout(error)) {
            reporter.fileError(outputName, error);
            return reporter.status();
        }
    } else if (!file.commit(error)) {
        reporter.fileError(outputName, error);
        return reporter.status();
    }
    if (taggedCodes > 0) {
        reporter.note(name, std::to_string(taggedCodes) +
                                " characters without a Unicode mapping were written as tagged "
                                "codes (use --replace to write U+30FB instead)");
    } else if (unmapped) {
        reporter.note(name, "characters without a Unicode mapping were written as U+30FB");
    }
    if (!toStdout) {
        if (json) {
            reporter.line(JsonLine()
                              .add("file", name)
                              .add("from", preferredName(fromId))
                              .add("to", preferredName(toId))
                              .add("output", output)
                              .add("bytes", written)
                              .add("unmapped", unmapped)
                              .str());
        } else {
            reporter.line(shownName(name) + ": " + preferredName(fromId) + " -> " +
                          preferredName(toId) + ", " + std::to_string(written) +
                          " bytes written to " + shownName(output));
        }
    }
    return finishStdout() ? reporter.status() : ExitTrouble;
}

} // namespace tool
} // namespace charsetkit
