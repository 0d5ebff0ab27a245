// verify and convertToUtf8 of EUC-JP, Shift_JIS and ISO-2022-JP over mark-up
// with Japanese text and over pure Japanese text. The inputs are the same
// UTF-8 text converted into each encoding.
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>

#include "BenchInputs.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

using charsetkit::AbstractEncoding;

constexpr std::size_t kInputSize = 64 * 1024;

enum class Input { Html, Japanese };

const AbstractEncoding& encodingFor(AbstractEncoding::EncodingID id) {
    static const charsetkit::EucJpEncoding eucJp;
    static const charsetkit::SjisEncoding sjis;
    static const charsetkit::JisEncoding jis;
    if (id == AbstractEncoding::EucJp) {
        return eucJp;
    }
    return id == AbstractEncoding::Sjis ? static_cast<const AbstractEncoding&>(sjis) : jis;
}

// The input of the given kind in the given encoding (empty if the conversion
// from UTF-8 failed, which the benchmarks report as an error).
std::string makeInput(Input kind, AbstractEncoding::EncodingID id) {
    const std::string utf8 =
        kind == Input::Html
            ? charsetkit::bench::htmlPage(charsetkit::bench::japaneseParagraph(), kInputSize)
            : charsetkit::bench::repeatTo(charsetkit::bench::japaneseParagraph(), kInputSize);
    std::string encoded;
    if (!encodingFor(id).convertFromUtf8(utf8.data(), static_cast<unsigned int>(utf8.size()),
                                         encoded)) {
        encoded.clear();
    }
    return encoded;
}

void BM_JapaneseVerify(benchmark::State& state, Input kind, AbstractEncoding::EncodingID id,
                       bool verifyCharacters) {
    const std::string text = makeInput(kind, id);
    const AbstractEncoding& encoding = encodingFor(id);
    if (text.empty()) {
        state.SkipWithError("input could not be built");
        return;
    }
    for (auto _ : state) {
        const bool ok = encoding.verify(text.data(), static_cast<unsigned int>(text.size()),
                                        verifyCharacters, true, 2);
        if (!ok) {
            state.SkipWithError("verification failed");
            break;
        }
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_JapaneseToUtf8(benchmark::State& state, Input kind, AbstractEncoding::EncodingID id) {
    const std::string text = makeInput(kind, id);
    const AbstractEncoding& encoding = encodingFor(id);
    if (text.empty()) {
        state.SkipWithError("input could not be built");
        return;
    }
    std::string result;
    for (auto _ : state) {
        bool unmapped = false;
        encoding.convertToUtf8(text.data(), static_cast<unsigned int>(text.size()), result,
                               unmapped, false);
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

constexpr auto kEucJp = AbstractEncoding::EucJp;
constexpr auto kSjis = AbstractEncoding::Sjis;
constexpr auto kJis = AbstractEncoding::Jis;

BENCHMARK_CAPTURE(BM_JapaneseVerify, html_eucjp, Input::Html, kEucJp, false);
BENCHMARK_CAPTURE(BM_JapaneseVerify, html_sjis, Input::Html, kSjis, false);
BENCHMARK_CAPTURE(BM_JapaneseVerify, html_jis, Input::Html, kJis, false);
BENCHMARK_CAPTURE(BM_JapaneseVerify, japanese_eucjp, Input::Japanese, kEucJp, false);
BENCHMARK_CAPTURE(BM_JapaneseVerify, japanese_sjis, Input::Japanese, kSjis, false);
BENCHMARK_CAPTURE(BM_JapaneseVerify, japanese_jis, Input::Japanese, kJis, false);
BENCHMARK_CAPTURE(BM_JapaneseVerify, japanese_eucjp_chars, Input::Japanese, kEucJp, true);
BENCHMARK_CAPTURE(BM_JapaneseVerify, japanese_sjis_chars, Input::Japanese, kSjis, true);
BENCHMARK_CAPTURE(BM_JapaneseVerify, japanese_jis_chars, Input::Japanese, kJis, true);

BENCHMARK_CAPTURE(BM_JapaneseToUtf8, html_eucjp, Input::Html, kEucJp);
BENCHMARK_CAPTURE(BM_JapaneseToUtf8, html_sjis, Input::Html, kSjis);
BENCHMARK_CAPTURE(BM_JapaneseToUtf8, html_jis, Input::Html, kJis);
BENCHMARK_CAPTURE(BM_JapaneseToUtf8, japanese_eucjp, Input::Japanese, kEucJp);
BENCHMARK_CAPTURE(BM_JapaneseToUtf8, japanese_sjis, Input::Japanese, kSjis);
BENCHMARK_CAPTURE(BM_JapaneseToUtf8, japanese_jis, Input::Japanese, kJis);

} // namespace
