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

// Hiragana, katakana, kanji, full-width punctuation and a few half-width
// katakana, all with codes in every target.
const std::string& paragraph() {
    static const std::string text =
        "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE6\x96\x87\xE7\xAB\xA0\xE3\x82\x92"
        "\xE5\xA4\x89\xE6\x8F\x9B\xE3\x81\x97\xE3\x81\xBE\xE3\x81\x99\xE3\x80\x82"
        "\xE3\x82\xAB\xE3\x82\xBF\xE3\x82\xAB\xE3\x83\x8A\xE3\x81\xA8\xE3\x81\xB2\xE3\x82\x89"
        "\xE3\x81\x8C\xE3\x81\xAA\xE3\x80\x81\xE6\xBC\xA2\xE5\xAD\x97\xE3\x82\x92\xE5\x90\xAB"
        "\xE3\x81\xBF\xE3\x81\xBE\xE3\x81\x99\xEF\xBC\x88\xEF\xBD\xB1\xEF\xBD\xB2\xEF\xBD\xB3"
        "\xEF\xBC\x89\xE3\x80\x82";
    return text;
}

enum class Input { Html, Japanese };

const std::string& input(Input kind) {
    static const std::string html = charsetkit::bench::htmlPage(paragraph(), kInputSize);
    static const std::string japanese = charsetkit::bench::repeatTo(paragraph(), kInputSize);
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
