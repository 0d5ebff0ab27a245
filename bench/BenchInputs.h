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

// Hiragana, katakana, kanji, full-width punctuation and a few half-width
// katakana, all with codes in every Japanese encoding (UTF-8).
inline const std::string& japaneseParagraph() {
    static const std::string text =
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0\xE3\x82\x92"
        "\xE5\xA4\x89\xE6\x8F\x9B\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x99\xE3\x80\x82"
        "\xE3\x82\xAB\xE3\x82\xBF\xE3\x82\xAB\xE3\x83\x8A\xE3\x81\xA8\xE3\x81\xB2\xE3\x82\x89"
        "\xE3\x81\x8C\xE3\x81\xAA\xE3\x80\x81\xE6\xBC\xA2\xE5\xAD\x97\xE3\x82\x92\xE5\x90\xAB"
        "\xE3\x81\xBF\xE3\x81\xBE\xE3\x81\x99\xEF\xBC\x88\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3"
        "\xEF\xBC\x89\xE3\x80\x82";
    return text;
}

} // namespace bench
} // namespace charsetkit

#endif
