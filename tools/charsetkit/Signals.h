#ifndef CHARSETKIT_TOOL_SIGNALS_H
#define CHARSETKIT_TOOL_SIGNALS_H

// What the tool does when it is interrupted (SIGINT, SIGTERM, SIGHUP,
// SIGQUIT, SIGALRM, SIGUSR1, SIGUSR2) or a mapped input vanishes under it
// (SIGBUS): it removes the pending temporary output file, if any, and in the
// second case names the input on stderr and exits with status 2.

#include <string>

namespace charsetkit {
namespace tool {

/// Installs the handlers, and ignores SIGXFSZ so that a write past the file
/// size limit fails instead of killing the process.
void installSignalHandlers();

/// The temporary file that an interruption removes (one at a time); a path
/// longer than the handlers can hold is not registered.
void setPendingTemp(const std::string& path);
/// Forgets the pending temporary file (renamed or removed by its owner).
void clearPendingTemp();

/// The name of the input now being read, as messages show it, for the one
/// line printed when it shrinks under its mapping (SIGBUS).
void setInputName(const std::string& name);

} // namespace tool
} // namespace charsetkit

#endif
