// UTF-8 validation on the real pages, the library beside an ICU U8_NEXT loop,
// named Peer/<operation>/<page>/<implementation> for scripts/bench-ratios.py.
#include <charsetkit/encodings/Utf8Encoding.h>
#include <charsetkit/locales/Utf8Locale.h>

#include "RealPages.h"

#include <benchmark/benchmark.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace {

using namespace charsetkit;

bool icuValid(const std::string& bytes) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::int32_t length = static_cast<std::int32_t>(bytes.size());
    std::int32_t i = 0;
    while (i < length) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0) {
            return false;
        }
    }
    return true;
}

template <typename F>
void run(benchmark::State& state, const bench::Page& page, F f) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(f(page));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.bytes.size()));
}

const bool registered = [] {
    for (const bench::Page& page : bench::realPages()) {
        if (page.encoding != "utf8" && page.encoding != "ascii") {
            continue;
        }
        const bench::Page* p = &page;
        benchmark::RegisterBenchmark(
            ("Peer/Utf8Verify/" + page.name + "/charsetkit").c_str(), [p](benchmark::State& state) {
                const Utf8Encoding utf8;
                run(state, *p, [&](const bench::Page& pg) {
                    return utf8.verify(pg.bytes.data(), pg.size(), false, false, 0);
                });
            });
        benchmark::RegisterBenchmark(
            ("Peer/Utf8Verify/" + page.name + "/icu").c_str(), [p](benchmark::State& state) {
                run(state, *p, [](const bench::Page& pg) { return icuValid(pg.bytes); });
            });
        // The locale's check, which the UTF-8 locale's callers use.
        benchmark::RegisterBenchmark(("Peer/Utf8LocaleVerify/" + page.name + "/charsetkit").c_str(),
                                     [p](benchmark::State& state) {
                                         Utf8Locale locale;
                                         run(state, *p, [&](const bench::Page& pg) {
                                             return locale.verifyUtf8(pg.bytes.data(), pg.size(),
                                                                      false, false);
                                         });
                                     });
        benchmark::RegisterBenchmark(
            ("Peer/Utf8LocaleVerify/" + page.name + "/icu").c_str(), [p](benchmark::State& state) {
                run(state, *p, [](const bench::Page& pg) { return icuValid(pg.bytes); });
            });
    }
    return true;
}();

} // namespace
