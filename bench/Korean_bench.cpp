// EUC-KR <-> UTF-8 conversion and the EUC-KR validity walk, over Korean prose
// and over ASCII-heavy mark-up with Korean paragraphs.
#include "BenchInputs.h"

#include <charsetkit/korean/KoreanUtil.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

using charsetkit::KoreanUtil;

constexpr std::size_t kInputSize = 64 * 1024;

// The same paragraph in EUC-KR and in UTF-8.
const char* const kParagraphEucKr =
    "\xBE\xC8\xB3\xE7\xC7\xCF\xBC\xBC\xBF\xE4, \xBC\xBC\xB0\xE8! \xC7\xD1\xB1\xB9\xBE\xEE "
    "\xC5\xD8\xBD\xBA\xC6\xAE\xC0\xD4\xB4\xCF\xB4\xD9. ";
const char* const kParagraphUtf8 = u8"안녕하세요, 세계! 한국어 텍스트입니다. ";

const std::string& input(bool html, bool eucKr) {
    static const std::string inputs[4] = {
        charsetkit::bench::repeatTo(kParagraphUtf8, kInputSize),
        charsetkit::bench::repeatTo(kParagraphEucKr, kInputSize),
        charsetkit::bench::htmlPage(kParagraphUtf8, kInputSize),
        charsetkit::bench::htmlPage(kParagraphEucKr, kInputSize),
    };
    return inputs[(html ? 2 : 0) + (eucKr ? 1 : 0)];
}

const unsigned char* bytes(const std::string& text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

unsigned int length(const std::string& text) {
    return static_cast<unsigned int>(text.size());
}

void run(benchmark::State& state, const std::string& text,
         bool (KoreanUtil::*convert)(const unsigned char*, unsigned int, std::string&)) {
    KoreanUtil* const util = KoreanUtil::getInstance();
    std::string out;
    for (auto _ : state) {
        const bool ok = (util->*convert)(bytes(text), length(text), out);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(out.data());
        if (!ok) {
            state.SkipWithError("conversion failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_KoreanToUtf8_Text(benchmark::State& state) {
    run(state, input(false, true), &KoreanUtil::convertToUtf8);
}
void BM_KoreanToUtf8_Html(benchmark::State& state) {
    run(state, input(true, true), &KoreanUtil::convertToUtf8);
}
void BM_KoreanFromUtf8_Text(benchmark::State& state) {
    run(state, input(false, false), &KoreanUtil::convertFromUtf8);
}
void BM_KoreanFromUtf8_Html(benchmark::State& state) {
    run(state, input(true, false), &KoreanUtil::convertFromUtf8);
}

// One short paragraph per call: what opening a converter costs per call.
void BM_KoreanToUtf8_Short(benchmark::State& state) {
    run(state, kParagraphEucKr, &KoreanUtil::convertToUtf8);
}
void BM_KoreanFromUtf8_Short(benchmark::State& state) {
    run(state, kParagraphUtf8, &KoreanUtil::convertFromUtf8);
}

void verify(benchmark::State& state, const std::string& text) {
    KoreanUtil* const util = KoreanUtil::getInstance();
    for (auto _ : state) {
        benchmark::DoNotOptimize(util->isEucKrCharSet(bytes(text), length(text)));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_KoreanIsEucKr_Text(benchmark::State& state) {
    verify(state, input(false, true));
}
void BM_KoreanIsEucKr_Html(benchmark::State& state) {
    verify(state, input(true, true));
}

} // namespace

BENCHMARK(BM_KoreanToUtf8_Text);
BENCHMARK(BM_KoreanToUtf8_Html);
BENCHMARK(BM_KoreanToUtf8_Short);
BENCHMARK(BM_KoreanFromUtf8_Text);
BENCHMARK(BM_KoreanFromUtf8_Html);
BENCHMARK(BM_KoreanFromUtf8_Short);
BENCHMARK(BM_KoreanIsEucKr_Text);
BENCHMARK(BM_KoreanIsEucKr_Html);
