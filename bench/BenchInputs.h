// Inputs the benchmarks build for themselves, deterministically (fixed
// seeds), so that figures are comparable between runs and machines.
#ifndef CHARSETKIT_BENCH_BENCHINPUTS_H
#define CHARSETKIT_BENCH_BENCHINPUTS_H

#include <cstddef>
#include <string>

namespace charsetkit {
namespace bench {

/// Repeats `unit` until the result holds at least `size` bytes.
inline std::string repeatTo(const std::string& unit, std::size_t size) {
    std::string out;
    if (unit.empty()) {
        return out;
    }
    out.reserve(size + unit.size());
    while (out.size() < size) {
        out += unit;
    }
    return out;
}

/// ASCII-heavy mark-up around `text` (a paragraph in the target encoding).
inline std::string htmlPage(const std::string& text, std::size_t size) {
    const std::string unit = "<div class=\"entry\"><a href=\"/item?id=42&amp;q=abc\">link</a>"
                             "<p style=\"margin:0\">" +
                             text + "</p></div>\n";
    return repeatTo(unit, size);
}

} // namespace bench
} // namespace charsetkit

#endif
