// Inputs and cuttings for the streaming tests: the bundled samples, the real
// pages when their folder is there, and small made-up texts that reach the
// awkward paths (failures, unmapped characters, escape sequences), each cut
// into pieces in the ways the tests compare with whole-buffer results.
#ifndef CHARSETKIT_TESTS_SUPPORT_STREAMINPUTS_H
#define CHARSETKIT_TESTS_SUPPORT_STREAMINPUTS_H

#include "support/Bytes.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace test {

struct NamedInput {
    std::string name;
    std::string bytes;
    /// A real page: cut into two at every point of its opening and its end
    /// only, and converted from or into its own encoding only.
    bool large = false;
};

/// The encoding a file's name gives (`name.<encoding>.html`), by preferred
/// name; "" when it names none.
inline std::string encodingOfName(const std::string& name) {
    static const char* const kNames[][2] = {{".utf-8.", "utf-8"},
                                            {".utf8.", "utf-8"},
                                            {".shift_jis.", "shift_jis"},
                                            {".sjis.", "shift_jis"},
                                            {".euc-jp.", "euc-jp"},
                                            {".eucjp.", "euc-jp"},
                                            {".iso-2022-jp.", "iso-2022-jp"},
                                            {".jis.", "iso-2022-jp"},
                                            {".euc-kr.", "euc-kr"},
                                            {".euckr.", "euc-kr"},
                                            {".ascii.", "iso-8859-1"},
                                            {".iso-8859-1.", "iso-8859-1"}};
    for (const auto& entry : kNames) {
        if (name.find(entry[0]) != std::string::npos) {
            return entry[1];
        }
    }
    return "";
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// The samples (but the manifest) and the real pages, in name order.
inline std::vector<NamedInput> fileInputs() {
    std::vector<NamedInput> inputs;
    const auto addFolder = [&inputs](const std::filesystem::path& folder, bool large) {
        std::error_code error;
        if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
            return;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && name != "MANIFEST.tsv" && name != "README.md") {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            inputs.push_back({file.filename().string(), readFile(file), large});
        }
    };
    addFolder(std::filesystem::path(CHARSETKIT_SOURCE_DIR) / "samples", false);
    addFolder(std::filesystem::path(CHARSETKIT_PAGES_DIR), true);
    return inputs;
}

/// Small texts in every encoding of the library, valid and broken.
inline std::vector<NamedInput> madeUpInputs() {
    return {
        {"empty", ""},
        {"ascii", "<p>plain text</p>\n"},
        {"sjis", bytes("3C 70 3E 82 A0 82 A2 B1 B2 93 FA 96 7B 3C 2F 70 3E")},
        {"sjis-broken", bytes("41 82 A0 FF 41 82 A0 82")},
        {"sjis-bad-trail", bytes("82 A0 82 20 82 A0")},
        {"sjis-unmapped", bytes("85 40 41 82 A0")},
        {"eucjp", bytes("A4 A2 8E B1 8F B0 A1 41 A4 A2")},
        {"eucjp-broken", bytes("A4 A2 8F 41 A4 A2 80 A4")},
        {"eucjp-unmapped", bytes("A9 A1 41 8F A2 A1")},
        {"jis", bytes("1B 24 42 30 21 30 22 1B 28 49 31 32 1B 24 28 44 30 21 1B 28 42 41")},
        {"jis-open", bytes("41 1B 24 42 30 21 30")},
        {"jis-broken", bytes("1B 24 42 30 21 1B 24 41 30 21 1B 28 42")},
        {"jis-roman", bytes("1B 28 4A 5C 7E 1B 24 40 30 21 1B 28 42")},
        {"jis-escape-runs", bytes("1B 24 42 1B 24 42 1B 28 42 1B 24 42 30 21 1B 28 42")},
        {"euckr", bytes("B0 A1 20 B3 AA 41 81 41")},
        {"euckr-broken", bytes("B0 A1 20 FF 41 B0 A1")},
        {"euckr-open", bytes("B0 A1 20 B0")},
        {"utf8", bytes("E3 81 82 41 EF BD B1 EF BD 9E C3 A9 0A E2 85 A0")},
        {"utf8-cut", bytes("E3 81 82 41 E3 81")},
        {"utf8-invalid", bytes("E3 81 82 80 41")},
        {"utf8-broken-seq", bytes("E3 81 41 E3 81 82")},
        {"utf8-broken-by-lead", bytes("41 E6 E6 97 A5 42")},
        {"utf8-yen", bytes("E3 81 82 C2 A5 41")},
        {"utf8-astral", bytes("41 F0 9F 98 80 41")},
        {"utf8-escape", bytes("41 1B 24 42 41")},
        {"utf8-hangul", bytes("EA B0 80 20 EB 82 98 41")},
        {"latin1", bytes("63 61 66 E9 20 FF FE")},
        {"utf8-six", bytes("FC 84 80 80 80 80 41")},
    };
}

/// Every input of both kinds.
inline std::vector<NamedInput> allInputs() {
    std::vector<NamedInput> inputs = madeUpInputs();
    for (auto& input : fileInputs()) {
        inputs.push_back(std::move(input));
    }
    return inputs;
}

/// A cutting: the lengths of the pieces, in order (they add up to the size).
using Cutting = std::vector<std::size_t>;

/// The cuttings every input goes through: no cut at all; every cut into two
/// pieces (for a large input only within its first 160 and its last 32
/// bytes, to keep the run short); and four fixed-seed cuttings into pieces
/// of 1 to 7 bytes, which reach every part of a large input.
inline std::vector<Cutting> cuttingsFor(const NamedInput& input) {
    const std::size_t size = input.bytes.size();
    std::vector<Cutting> cuttings;
    cuttings.push_back({size});
    for (std::size_t cut = 0; cut <= size; ++cut) {
        if (input.large && cut > 160 && cut + 32 < size) {
            continue;
        }
        cuttings.push_back({cut, size - cut});
    }
    std::mt19937 random(static_cast<unsigned int>(size) * 2654435761u + 17u);
    std::uniform_int_distribution<std::size_t> length(1, 7);
    for (int round = 0; round < 4; ++round) {
        Cutting small;
        for (std::size_t done = 0; done < size;) {
            const std::size_t piece = std::min(length(random), size - done);
            small.push_back(piece);
            done += piece;
        }
        cuttings.push_back(small);
    }
    return cuttings;
}

/// The cutting written out for a failure message: "3+4+1".
inline std::string describe(const Cutting& cutting) {
    std::string text;
    const std::size_t shown = std::min<std::size_t>(cutting.size(), 40);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i != 0) {
            text += '+';
        }
        text += std::to_string(cutting[i]);
    }
    if (shown < cutting.size()) {
        text += "+...";
    }
    return text;
}

} // namespace test
} // namespace charsetkit

#endif
