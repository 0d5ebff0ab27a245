// UTF-8 and Western verification over mark-up, through the encodings (direct
// driver with the ASCII-run scan) and through the machine's own virtual
// driver, to show what the direct driver gains.
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>

#include "BenchInputs.h"

#include <benchmark/benchmark.h>

namespace {

using namespace charsetkit;

const std::string& asciiPage() {
    static const std::string page = bench::htmlPage("Plain English text in a paragraph.", 1 << 16);
    return page;
}

const std::string& utf8Page() {
    static const std::string page = bench::htmlPage(
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0", 1 << 16);
    return page;
}

void verifyWithEncoding(benchmark::State& state, const std::string& page) {
    const Utf8Encoding utf8;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            utf8.verify(page.data(), static_cast<unsigned int>(page.size()), false, false, 0));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(page.size()));
}

void verifyWithVirtualDriver(benchmark::State& state, const std::string& page) {
    for (auto _ : state) {
        Utf8DetectorSM machine;
        benchmark::DoNotOptimize(
            machine.verify(page.data(), static_cast<unsigned int>(page.size()), false, false, 0));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(page.size()));
}

void BM_Utf8Verify_AsciiHtml(benchmark::State& state) {
    verifyWithEncoding(state, asciiPage());
}
void BM_Utf8Verify_AsciiHtml_VirtualDriver(benchmark::State& state) {
    verifyWithVirtualDriver(state, asciiPage());
}
void BM_Utf8Verify_JapaneseHtml(benchmark::State& state) {
    verifyWithEncoding(state, utf8Page());
}
void BM_Utf8Verify_JapaneseHtml_VirtualDriver(benchmark::State& state) {
    verifyWithVirtualDriver(state, utf8Page());
}

void BM_WesternVerify_AsciiHtml(benchmark::State& state) {
    const AsciiEncoding western;
    const std::string& page = asciiPage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            western.verify(page.data(), static_cast<unsigned int>(page.size()), false, false, 0));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(page.size()));
}

} // namespace

BENCHMARK(BM_Utf8Verify_AsciiHtml);
BENCHMARK(BM_Utf8Verify_AsciiHtml_VirtualDriver);
BENCHMARK(BM_Utf8Verify_JapaneseHtml);
BENCHMARK(BM_Utf8Verify_JapaneseHtml_VirtualDriver);
BENCHMARK(BM_WesternVerify_AsciiHtml);
