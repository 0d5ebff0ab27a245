// Percent decoding and the charset checker on URL-like and form-like inputs
// of a few hundred bytes and on a 64 KB form body, with the byte traverser
// and with traversers that look at characters.
#include "BenchInputs.h"

#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/CharsetChecker.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/TraverserUtils.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace charsetkit {
namespace {

const std::string& urlInput() {
    static const std::string input = bench::repeatTo(
        "/search?q=%E6%96%87%E5%AD%97%E3%82%B3%E3%83%BC%E3%83%89&lang=ja&page=2"
        "&ref=https%3A%2F%2Fexample.org%2Findex.html%3Fa%3D1%26b%3D2&sort=date+desc&",
        300);
    return input;
}

const std::string& formUnit() {
    static const std::string unit =
        "name=Taro+Yamada&mail=taro%40example.org&comment=Hello%2C+world%21+"
        "%E3%81%93%E3%82%93%E3%81%AB%E3%81%A1%E3%81%AF&agree=on&";
    return unit;
}

const std::string& formInput() {
    static const std::string input = bench::repeatTo(formUnit(), 300);
    return input;
}

const std::string& formBody() {
    static const std::string input = bench::repeatTo(formUnit(), 64 * 1024);
    return input;
}

std::unique_ptr<AbstractTraverser> traverserNamed(const std::string& name) {
    if (name == "utf8") {
        return std::unique_ptr<AbstractTraverser>(new Utf8Traverser());
    }
    if (name == "sjis") {
        return std::unique_ptr<AbstractTraverser>(new SjisTraverser());
    }
    if (name == "jis") {
        return std::unique_ptr<AbstractTraverser>(new JisTraverser());
    }
    return std::unique_ptr<AbstractTraverser>(new AsciiTraverser());
}

void BM_HexDecode(benchmark::State& state, const std::string& (*input)(),
                  const std::string& traverserName) {
    const std::string& in = input();
    auto traverser = traverserNamed(traverserName);
    std::string out;
    for (auto _ : state) {
        const bool ok =
            TraverserUtils::hexDecode(out, in.data(), static_cast<int>(in.size()), traverser.get());
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(in.size()));
}

// Forbids the mark-up delimiters, quotes and control bytes; escapes are
// examined, so "%3C" counts as '<'.
void BM_CheckBuffer(benchmark::State& state, const std::string& (*input)(),
                    const std::string& traverserName) {
    const std::string& in = input();
    auto traverser = traverserNamed(traverserName);
    bool allowed[256];
    std::fill(std::begin(allowed), std::end(allowed), true);
    for (int value = 0; value < 0x20; ++value) {
        allowed[value] = false;
    }
    for (const char* c = "<>\"'\\"; *c != '\0'; ++c) {
        allowed[static_cast<unsigned char>(*c)] = false;
    }
    bool seen[256] = {};
    char report[256];
    char* reportPointer = report;
    int count = 0;
    bool badEscape = false;
    std::string badEscapeText;
    CharsetChecker checker;
    for (auto _ : state) {
        checker.checkBuffer(allowed, true, in.data(), static_cast<int>(in.size()), &reportPointer,
                            &count, seen, &badEscape, traverser.get(), &badEscapeText, false);
        benchmark::DoNotOptimize(count);
        benchmark::DoNotOptimize(badEscape);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(in.size()));
}

BENCHMARK_CAPTURE(BM_HexDecode, url_ascii, urlInput, "ascii");
BENCHMARK_CAPTURE(BM_HexDecode, form_ascii, formInput, "ascii");
BENCHMARK_CAPTURE(BM_HexDecode, body64k_ascii, formBody, "ascii");
BENCHMARK_CAPTURE(BM_HexDecode, body64k_utf8, formBody, "utf8");
BENCHMARK_CAPTURE(BM_HexDecode, body64k_sjis, formBody, "sjis");
BENCHMARK_CAPTURE(BM_HexDecode, body64k_jis, formBody, "jis");

BENCHMARK_CAPTURE(BM_CheckBuffer, url_ascii, urlInput, "ascii");
BENCHMARK_CAPTURE(BM_CheckBuffer, form_ascii, formInput, "ascii");
BENCHMARK_CAPTURE(BM_CheckBuffer, body64k_ascii, formBody, "ascii");
BENCHMARK_CAPTURE(BM_CheckBuffer, body64k_utf8, formBody, "utf8");
BENCHMARK_CAPTURE(BM_CheckBuffer, body64k_sjis, formBody, "sjis");
BENCHMARK_CAPTURE(BM_CheckBuffer, body64k_jis, formBody, "jis");

} // namespace
} // namespace charsetkit
