// Real pages for the peer benchmarks, read once from the folder named by the
// CHARSETKIT_PAGES_DIR cache variable (empty when the folder is absent, in
// which case only the generated inputs run). A page's encoding is taken from
// its file name: name.<utf8|sjis|eucjp|jis|euckr|ascii>.html.
#ifndef CHARSETKIT_BENCH_REALPAGES_H
#define CHARSETKIT_BENCH_REALPAGES_H

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace charsetkit {
namespace bench {

/// One benchmark input: a short name, the encoding it is written in (one of
/// "utf8", "sjis", "eucjp", "jis", "euckr", "ascii") and its bytes.
struct Page {
    std::string name;
    std::string encoding;
    std::string bytes;

    /// The page's length as the library's `unsigned int` lengths take it.
    unsigned int size() const { return static_cast<unsigned int>(bytes.size()); }
};

/// Every page of the pages folder in name order; empty without the folder.
inline const std::vector<Page>& realPages() {
    static const std::vector<Page> pages = [] {
        std::vector<Page> found;
        const std::filesystem::path dir(CHARSETKIT_PAGES_DIR);
        std::error_code ec;
        if (dir.empty() || !std::filesystem::is_directory(dir, ec)) {
            return found;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
            const std::filesystem::path& path = entry.path();
            if (!entry.is_regular_file() || path.extension() != ".html") {
                continue;
            }
            const std::string stem = path.stem().string(); // "ja-tech-64k.sjis"
            const std::size_t dot = stem.rfind('.');
            if (dot == std::string::npos) {
                continue;
            }
            std::ifstream in(path, std::ios::binary);
            Page page{stem, stem.substr(dot + 1),
                      std::string(std::istreambuf_iterator<char>(in), {})};
            found.push_back(std::move(page));
        }
        std::sort(found.begin(), found.end(),
                  [](const Page& a, const Page& b) { return a.name < b.name; });
        return found;
    }();
    return pages;
}

/// The pages written in `encoding` (see Page::encoding).
inline std::vector<const Page*> pagesIn(const std::string& encoding) {
    std::vector<const Page*> out;
    for (const Page& page : realPages()) {
        if (page.encoding == encoding) {
            out.push_back(&page);
        }
    }
    return out;
}

} // namespace bench
} // namespace charsetkit

#endif
