#include "Walk.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace charsetkit {
namespace tool {

namespace fs = std::filesystem;

bool isDirectory(const std::string& path) {
    std::error_code error;
    return path != "-" && fs::is_directory(path, error);
}

void walkTree(const std::string& directory, const std::function<void(const std::string&)>& onFile,
              const std::function<void(const std::string&, const std::string&)>& onError) {
    std::error_code error;
    fs::directory_iterator it(directory, error);
    if (error) {
        onError(directory, error.message());
        return;
    }
    // The whole listing is read (and the directory closed) before anything
    // below it is opened, so that a deep tree holds one directory open at a
    // time.
    std::vector<fs::directory_entry> entries;
    for (const fs::directory_iterator end; it != end;) {
        entries.push_back(*it);
        it.increment(error);
        if (error) {
            onError(directory, error.message());
            break;
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) {
                  return a.path().native() < b.path().native();
              });
    for (const fs::directory_entry& entry : entries) {
        const std::string path = entry.path().native();
        fs::file_status status = entry.symlink_status(error);
        if (error) {
            onError(path, error.message());
            continue;
        }
        if (fs::is_directory(status)) {
            walkTree(path, onFile, onError);
            continue;
        }
        if (fs::is_symlink(status)) {
            status = entry.status(error);
            if (error) {
                onError(path, error.message());
                continue;
            }
        }
        if (fs::is_regular_file(status)) {
            onFile(path);
        }
    }
}

} // namespace tool
} // namespace charsetkit
