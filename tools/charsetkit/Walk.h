#ifndef CHARSETKIT_TOOL_WALK_H
#define CHARSETKIT_TOOL_WALK_H

// Walking the directories named on the command line (-r).

#include <functional>
#include <string>

namespace charsetkit {
namespace tool {

/// True when `path` names a directory (symbolic links followed); "-"
/// (standard input) never does.
bool isDirectory(const std::string& path);

/// Calls `onFile` for every regular file below `directory`, in byte order of
/// the names within each directory, depth first; a name is joined to
/// `directory` with one '/' unless `directory` already ends with one.
/// Symbolic links to files are followed, links to directories are not (so
/// the walk never loops), and special files (pipes, devices, sockets) are
/// skipped. A directory that cannot be read, or an entry whose type cannot
/// be read (a link to nothing, say), is passed to `onError` with the reason,
/// and the walk goes on.
void walkTree(const std::string& directory, const std::function<void(const std::string&)>& onFile,
              const std::function<void(const std::string&, const std::string&)>& onError);

} // namespace tool
} // namespace charsetkit

#endif
