#include "Signals.h"

#include <algorithm>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace charsetkit {
namespace tool {

namespace {

// The pending temporary file, for the signal handlers. Only one output file
// is written at a time.
char g_pendingTemp[4096];
volatile std::sig_atomic_t g_hasPendingTemp = 0;

// The name of the input being read, for the message on SIGBUS.
char g_inputName[4096];
volatile std::sig_atomic_t g_inputNameLength = 0;

void writeStderr(const char* text, std::size_t length) {
    ssize_t ignored = ::write(STDERR_FILENO, text, length);
    static_cast<void>(ignored);
}

extern "C" void onFatalSignal(int signal) {
    if (g_hasPendingTemp != 0) {
        unlink(g_pendingTemp);
    }
    if (signal == SIGBUS) {
        static const char prefix[] = "charsetkit: ";
        static const char message[] = "changed or became unreadable while it was being read\n";
        writeStderr(prefix, sizeof prefix - 1);
        if (g_inputNameLength > 0) {
            writeStderr(g_inputName, static_cast<std::size_t>(g_inputNameLength));
            writeStderr(": ", 2);
        } else {
            writeStderr("an input ", 9);
        }
        writeStderr(message, sizeof message - 1);
        _exit(2);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void setPendingTemp(const std::string& path) {
    g_hasPendingTemp = 0;
    if (path.size() < sizeof g_pendingTemp) {
        std::memcpy(g_pendingTemp, path.c_str(), path.size() + 1);
        g_hasPendingTemp = 1;
    }
}

void clearPendingTemp() {
    g_hasPendingTemp = 0;
}

void setInputName(const std::string& name) {
    g_inputNameLength = 0;
    const std::size_t length = std::min(name.size(), sizeof g_inputName);
    std::memcpy(g_inputName, name.data(), length);
    g_inputNameLength = static_cast<std::sig_atomic_t>(length);
}

void installSignalHandlers() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2, SIGBUS}) {
        struct sigaction action {};
        action.sa_handler = onFatalSignal;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
    // Past a file size limit (ulimit -f), a write fails with EFBIG and the
    // temporary file is removed, instead of the process being killed with it
    // left behind.
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace tool
} // namespace charsetkit
