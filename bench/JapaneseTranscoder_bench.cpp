// UTF-8 to EUC-JP, Shift_JIS and ISO-2022-JP over mark-up with Japanese text
// and over pure Japanese text.
#include <charsetkit/japanese/JapaneseConversions.h>

#include "BenchInputs.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

using charsetkit::AbstractEncoding;
using charsetkit::JapaneseConversions;

constexpr std::size_t kInputSize = 64 * 1024;

enum class Input { Html, Japanese };

const std::string& input(Input kind) {
    static const std::string html =
        charsetkit::bench::htmlPage(charsetkit::bench::japaneseParagraph(), kInputSize);
    static const std::string japanese =
        charsetkit::bench::repeatTo(charsetkit::bench::japaneseParagraph(), kInputSize);
    return kind == Input::Html ? html : japanese;
}

void BM_JapaneseTranscoder(benchmark::State& state, Input kind,
                           AbstractEncoding::EncodingID target) {
    const std::string& text = input(kind);
    std::string result;
    for (auto _ : state) {
        const bool ok = JapaneseConversions::utf8ToJapanese(
            text.data(), static_cast<unsigned int>(text.size()), target, result);
        if (!ok) {
            state.SkipWithError("conversion failed");
            break;
        }
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

BENCHMARK_CAPTURE(BM_JapaneseTranscoder, html_eucjp, Input::Html, AbstractEncoding::EucJp);
BENCHMARK_CAPTURE(BM_JapaneseTranscoder, html_sjis, Input::Html, AbstractEncoding::Sjis);
BENCHMARK_CAPTURE(BM_JapaneseTranscoder, html_jis, Input::Html, AbstractEncoding::Jis);
BENCHMARK_CAPTURE(BM_JapaneseTranscoder, japanese_eucjp, Input::Japanese, AbstractEncoding::EucJp);
BENCHMARK_CAPTURE(BM_JapaneseTranscoder, japanese_sjis, Input::Japanese, AbstractEncoding::Sjis);
BENCHMARK_CAPTURE(BM_JapaneseTranscoder, japanese_jis, Input::Japanese, AbstractEncoding::Jis);

} // namespace
