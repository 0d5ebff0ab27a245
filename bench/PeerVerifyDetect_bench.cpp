// Legacy verification and detection on the real pages, the library beside
// its peers in the same process, named Peer/<operation>/<page>/<implementation>
// for scripts/bench-ratios.py:
//  - Peer/Verify: AbstractEncoding::verify of a Shift_JIS, EUC-JP,
//    ISO-2022-JP or EUC-KR page in its own encoding (characters looked up),
//    beside ICU decoding the page to UTF-8 with a stop callback;
//  - Peer/Detect: detectAndVerifyEncoding to the end of the buffer
//    (scanToEnd, characters verified) in the page's locale, beside uchardet
//    fed the whole page;
//  - Peer/DetectEarly: the same detection with the early decision.
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/locales/AbstractLocale.h>

#include "RealPages.h"

#include <benchmark/benchmark.h>
#include <uchardet.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace charsetkit;

void countBytes(benchmark::State& state, const bench::Page& page) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.bytes.size()));
}

const AbstractEncoding* encodingOf(const std::string& name) {
    static const SjisEncoding sjis;
    static const EucJpEncoding eucJp;
    static const JisEncoding jis;
    static const EucKrEncoding eucKr;
    if (name == "sjis") {
        return &sjis;
    }
    if (name == "eucjp") {
        return &eucJp;
    }
    if (name == "jis") {
        return &jis;
    }
    if (name == "euckr") {
        return &eucKr;
    }
    return nullptr;
}

const char* icuNameOf(const std::string& name) {
    if (name == "sjis") {
        return "windows-31j";
    }
    if (name == "eucjp") {
        return "EUC-JP";
    }
    if (name == "jis") {
        return "ISO-2022-JP";
    }
    return "EUC-KR";
}

void icuDecode(benchmark::State& state, const bench::Page& page) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* from = ucnv_open(icuNameOf(page.encoding), &status);
    UConverter* to = ucnv_open("UTF-8", &status);
    if (U_SUCCESS(status)) {
        ucnv_setToUCallBack(from, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    if (U_FAILURE(status)) {
        state.SkipWithError("ICU converter could not be opened");
        ucnv_close(from);
        ucnv_close(to);
        return;
    }
    std::string out(page.bytes.size() * 3 + 16, '\0');
    UChar pivot[1024];
    for (auto _ : state) {
        status = U_ZERO_ERROR;
        char* target = &out[0];
        const char* source = page.bytes.data();
        UChar* pivotSource = pivot;
        UChar* pivotTarget = pivot;
        ucnv_convertEx(to, from, &target, out.data() + out.size(), &source,
                       source + page.bytes.size(), pivot, &pivotSource, &pivotTarget, pivot + 1024,
                       true, true, &status);
        benchmark::DoNotOptimize(status);
        if (U_FAILURE(status)) {
            state.SkipWithError("ICU refused the page");
            break;
        }
    }
    countBytes(state, page);
    ucnv_close(from);
    ucnv_close(to);
}

AbstractLocale::eLocalIds localeOf(const bench::Page& page) {
    return page.name.compare(0, 3, "ko-") == 0 ? AbstractLocale::eKorean
                                               : AbstractLocale::eJapanese;
}

void detect(benchmark::State& state, const bench::Page& page, bool scanToEnd) {
    const std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForId(localeOf(page)));
    std::vector<AbstractEncoding::EncodingID> encodings;
    for (auto _ : state) {
        locale->detectAndVerifyEncoding(page.bytes.data(), page.size(), true, false, 3, scanToEnd,
                                        &encodings);
        benchmark::DoNotOptimize(encodings.data());
    }
    countBytes(state, page);
    state.SetLabel(std::to_string(encodings.size()) + " result(s)");
}

void uchardetDetect(benchmark::State& state, const bench::Page& page) {
    uchardet_t detector = uchardet_new();
    for (auto _ : state) {
        uchardet_reset(detector);
        uchardet_handle_data(detector, page.bytes.data(), page.bytes.size());
        uchardet_data_end(detector);
        benchmark::DoNotOptimize(uchardet_get_charset(detector));
    }
    countBytes(state, page);
    uchardet_delete(detector);
}

const bool registered = [] {
    for (const bench::Page& page : bench::realPages()) {
        const bench::Page* p = &page;
        if (const AbstractEncoding* encoding = encodingOf(page.encoding)) {
            benchmark::RegisterBenchmark(("Peer/Verify/" + page.name + "/charsetkit").c_str(),
                                         [p, encoding](benchmark::State& state) {
                                             for (auto _ : state) {
                                                 const bool ok = encoding->verify(
                                                     p->bytes.data(), p->size(), true, false, 3);
                                                 benchmark::DoNotOptimize(ok);
                                                 if (!ok) {
                                                     state.SkipWithError("the page did not verify");
                                                     break;
                                                 }
                                             }
                                             countBytes(state, *p);
                                         });
            benchmark::RegisterBenchmark(("Peer/Verify/" + page.name + "/icu").c_str(),
                                         [p](benchmark::State& state) { icuDecode(state, *p); });
        }
        for (const bool scanToEnd : {true, false}) {
            const std::string operation = scanToEnd ? "Peer/Detect/" : "Peer/DetectEarly/";
            benchmark::RegisterBenchmark(
                (operation + page.name + "/charsetkit").c_str(),
                [p, scanToEnd](benchmark::State& state) { detect(state, *p, scanToEnd); });
            benchmark::RegisterBenchmark(
                (operation + page.name + "/uchardet").c_str(),
                [p](benchmark::State& state) { uchardetDetect(state, *p); });
        }
    }
    return true;
}();

} // namespace
