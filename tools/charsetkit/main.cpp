// charsetkit: detect, verify, convert, percent-decode and check text in the
// encodings of web content, from the command line.

#include "Commands.h"
#include "Signals.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace charsetkit::tool;

const char* const kMainUsage =
    R"HELP(Usage: charsetkit COMMAND [OPTIONS] [FILE...]

Detects, verifies and converts the encodings of web content: UTF-8,
Shift_JIS, EUC-JP, ISO-2022-JP, EUC-KR and Western (ISO-8859-1).
)HELP";

const char* const kMainClosing =
    R"HELP(Run "charsetkit COMMAND --help" for a command's options. FILE "-", or no
FILE, is standard input. --json prints one JSON object per line.

Exit status: 0 for a positive answer, 1 for a negative one (not valid,
nothing detected, forbidden bytes found, conversion refused), 2 for usage
or I/O errors.

Options:
  -h, --help   show this help
  --version    show the version
)HELP";

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const std::vector<std::string>&);
};

const Command kCommands[] = {
    {"detect", "tell which encodings each input can be in", runDetect},
    {"verify", "tell whether each input is valid in an encoding", runVerify},
    {"convert", "convert an input to UTF-8, or from UTF-8 to an encoding", runConvert},
    {"decode", "decode percent escapes at character starts", runDecode},
    {"check", "find forbidden bytes and malformed percent escapes", runCheck},
    {"labels", "list the encodings and their charset labels", runLabels},
    {"sniff", "decide one encoding per input from its BOM, declarations and bytes", runSniff},
};

std::string mainHelp() {
    std::string text = std::string(kMainUsage) + "\nCommands:\n";
    for (const Command& command : kCommands) {
        text += "  " + std::string(command.name) +
                std::string(10 - std::strlen(command.name), ' ') + command.summary + "\n";
    }
    return text + "\n" + kMainClosing;
}

int usageError(const std::string& command, const std::string& message) {
    if (command.empty()) {
        std::fprintf(stderr, "charsetkit: %s (see charsetkit --help)\n",
                     shownName(message).c_str());
    } else {
        std::fprintf(stderr, "charsetkit %s: %s\n", command.c_str(), shownName(message).c_str());
    }
    return ExitTrouble;
}

// A standard descriptor that the caller closed (">&-") is opened on /dev/null
// the wrong way round, so that no file the tool opens later takes its number
// and receives what is meant for it, while using it fails as it would have.
void guardStandardDescriptors() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) {
            continue;
        }
        const int opened = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (opened >= 0 && opened != fd) {
            close(opened); // not the lowest free number after all
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    guardStandardDescriptors();
    installSignalHandlers();
    // argc can be 0 (execve with an empty argument list): then no word at all.
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (args.empty()) {
        return usageError("", "no command given");
    }
    const std::string command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        if (command == "help" && args.size() > 1) {
            args = {args[1], "--help"};
        } else {
            return printHelp(mainHelp().c_str());
        }
    } else if (command == "--version") {
        std::printf("charsetkit %s\n", CHARSETKIT_TOOL_VERSION);
        return finishStdout() ? ExitPositive : ExitTrouble;
    }
    for (const Command& entry : kCommands) {
        if (args[0] != entry.name) {
            continue;
        }
        try {
            return entry.run(std::vector<std::string>(args.begin() + 1, args.end()));
        } catch (const HelpRequest& help) {
            return printHelp(help.what());
        } catch (const UsageError& error) {
            return usageError(entry.name, error.what());
        } catch (const std::bad_alloc&) {
            printError("out of memory");
        } catch (const std::exception& error) {
            printError(error.what());
        }
        return ExitTrouble;
    }
    return usageError("", "unknown command '" + args[0] + "'");
}
