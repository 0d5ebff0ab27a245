// Runs a fuzz target without libFuzzer: every file named on the command line,
// or every file in a named directory, is passed to LLVMFuzzerTestOneInput
// once, in an exact-size heap buffer. This lets the committed corpus run as
// an ordinary test under the sanitizers.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int runFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    const std::vector<char> content((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[content.size() + 1]);
    for (std::size_t i = 0; i < content.size(); ++i) {
        exact[i] = static_cast<std::uint8_t>(content[i]);
    }
    LLVMFuzzerTestOneInput(exact.get(), content.size());
    return 0;
}

int runPath(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        std::fprintf(stderr, "cannot stat %s\n", path.c_str());
        return 1;
    }
    if (!S_ISDIR(st.st_mode)) {
        return runFile(path);
    }
    DIR* dir = opendir(path.c_str());
    if (dir == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    int failures = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            failures += runPath(path + "/" + name);
        }
    }
    closedir(dir);
    return failures;
}

} // namespace

int main(int argc, char** argv) {
    int failures = 0;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        failures += runPath(argv[i]);
        ++inputs;
    }
    // An empty input is always worth a run.
    LLVMFuzzerTestOneInput(nullptr, 0);
    std::printf("replayed %d path(s), %d unreadable\n", inputs, failures);
    return failures == 0 ? 0 : 1;
}
