// Detection of each locale over ASCII-heavy mark-up and over CJK-heavy text,
// stopping at the first unambiguous byte (scanToEnd:0) or reading to the end
// (scanToEnd:1). Throughput is counted over the whole buffer either way, so
// the scanToEnd:0 figures show how early the decision comes.
#include "BenchInputs.h"

#include <charsetkit/locales/AbstractLocale.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace charsetkit {
namespace bench {
namespace {

constexpr std::size_t kSize = 64 * 1024;

// "日本語のテキスト" in Shift_JIS and EUC-JP, in UTF-8, and "한국어 텍스트" in
// EUC-KR; blanks between the phrases as in running text.
const char kSjis[] = "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x4C\x83\x58\x83\x67 ";
const char kEucJp[] = "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xC6\xA5\xAD\xA5\xB9\xA5\xC8 ";
const char kUtf8[] = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x83\x86\xE3\x82\xAD"
                     "\xE3\x82\xB9\xE3\x83\x88 ";
const char kEucKr[] = "\xC7\xD1\xB1\xB9\xBE\xEE \xC5\xD8\xBD\xBA\xC6\xAE ";

enum Input { PlainAscii, SjisHtml, SjisText, EucJpText, Utf8Html, Utf8Text, EucKrHtml, EucKrText };

const std::string& input(Input which) {
    static const std::vector<std::string> inputs = {
        htmlPage("plain text", kSize), htmlPage(kSjis, kSize),  repeatTo(kSjis, kSize),
        repeatTo(kEucJp, kSize),       htmlPage(kUtf8, kSize),  repeatTo(kUtf8, kSize),
        htmlPage(kEucKr, kSize),       repeatTo(kEucKr, kSize),
    };
    return inputs[static_cast<std::size_t>(which)];
}

void Detect(benchmark::State& state, AbstractLocale::eLocalIds localeId, Input which) {
    const std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForId(localeId));
    const std::string& buffer = input(which);
    const bool scanToEnd = state.range(0) != 0;
    std::vector<AbstractEncoding::EncodingID> encodings;
    for (auto _ : state) {
        locale->detectAndVerifyEncoding(buffer.data(), static_cast<unsigned int>(buffer.size()),
                                        true, false, 3, scanToEnd, &encodings);
        benchmark::DoNotOptimize(encodings.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(buffer.size()));
    state.SetLabel(std::to_string(encodings.size()) + " result(s)");
}

#define CHARSETKIT_DETECT_BENCH(name, locale, which)                                               \
    BENCHMARK_CAPTURE(Detect, name, AbstractLocale::locale, which)                                 \
        ->ArgName("scanToEnd")                                                                     \
        ->Arg(0)                                                                                   \
        ->Arg(1)

CHARSETKIT_DETECT_BENCH(Japanese_PlainAscii, eJapanese, PlainAscii);
CHARSETKIT_DETECT_BENCH(Japanese_SjisHtml, eJapanese, SjisHtml);
CHARSETKIT_DETECT_BENCH(Japanese_SjisText, eJapanese, SjisText);
CHARSETKIT_DETECT_BENCH(Japanese_EucJpText, eJapanese, EucJpText);
CHARSETKIT_DETECT_BENCH(Japanese_Utf8Text, eJapanese, Utf8Text);
CHARSETKIT_DETECT_BENCH(Korean_PlainAscii, eKorean, PlainAscii);
CHARSETKIT_DETECT_BENCH(Korean_EucKrHtml, eKorean, EucKrHtml);
CHARSETKIT_DETECT_BENCH(Korean_EucKrText, eKorean, EucKrText);
CHARSETKIT_DETECT_BENCH(Utf8_PlainAscii, eUtf8, PlainAscii);
CHARSETKIT_DETECT_BENCH(Utf8_Utf8Html, eUtf8, Utf8Html);
CHARSETKIT_DETECT_BENCH(Utf8_Utf8Text, eUtf8, Utf8Text);

} // namespace
} // namespace bench
} // namespace charsetkit
