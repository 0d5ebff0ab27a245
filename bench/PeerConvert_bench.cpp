// Conversions between the Japanese and Korean encodings and UTF-8 on the real
// pages, the library beside ICU (ucnv_convertEx with stop callbacks) and
// glibc iconv, named Peer/<operation>/<page>/<implementation> for
// scripts/bench-ratios.py. Every decoder also reads the ASCII page, and every
// encoder takes the ASCII page as UTF-8 input.
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>

#include "RealPages.h"

#include <benchmark/benchmark.h>
#include <iconv.h>
#include <unicode/ucnv.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace charsetkit;

// One encoding of the comparison: the library's object, the page files
// written in it, and the names ICU and iconv know it by.
struct Codec {
    const char* name; // operation stem, e.g. "Sjis"
    const char* pageEncoding;
    const char* icuName;
    const char* iconvName;
    const AbstractEncoding* (*encoding)();
};

template <typename E>
const AbstractEncoding* encodingObject() {
    static const E encoding;
    return &encoding;
}

const Codec kCodecs[] = {
    {"Sjis", "sjis", "windows-31j", "CP932", &encodingObject<SjisEncoding>},
    {"EucJp", "eucjp", "EUC-JP", "EUC-JP", &encodingObject<EucJpEncoding>},
    {"Jis", "jis", "ISO-2022-JP", "ISO-2022-JP", &encodingObject<JisEncoding>},
    {"EucKr", "euckr", "EUC-KR", "EUC-KR", &encodingObject<EucKrEncoding>},
};

// The UTF-8 page with the same text as the pages in `pageEncoding`.
std::string utf8Twin(const std::string& pageEncoding) {
    return pageEncoding == "euckr" ? "ko-64k" : "ja-";
}

void setBytes(benchmark::State& state, std::size_t size) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(size));
}

void runOwn(benchmark::State& state, const AbstractEncoding& encoding, const bench::Page& page,
            bool toUtf8) {
    std::string result;
    for (auto _ : state) {
        bool unmapped = false;
        const bool ok =
            toUtf8 ? encoding.convertToUtf8(page.bytes.data(), page.size(), result, unmapped, false)
                   : encoding.convertFromUtf8(page.bytes.data(), page.size(), result);
        if (!ok) {
            state.SkipWithError("conversion failed");
            return;
        }
        benchmark::DoNotOptimize(result.data());
    }
    setBytes(state, page.bytes.size());
}

struct UConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, UConverterCloser>;

ConverterPtr openStopping(const char* name) {
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name, &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

void runIcu(benchmark::State& state, const char* from, const char* to, const bench::Page& page) {
    const ConverterPtr source = openStopping(from);
    const ConverterPtr target = openStopping(to);
    if (!source || !target) {
        state.SkipWithError("ICU lacks the converter");
        return;
    }
    std::vector<char> out(page.bytes.size() * 3 + 64);
    for (auto _ : state) {
        UErrorCode status = U_ZERO_ERROR;
        char* t = out.data();
        const char* s = page.bytes.data();
        ucnv_convertEx(target.get(), source.get(), &t, out.data() + out.size(), &s,
                       s + page.bytes.size(), nullptr, nullptr, nullptr, nullptr, true, true,
                       &status);
        if (U_FAILURE(status)) {
            state.SkipWithError("ICU conversion failed");
            return;
        }
        benchmark::DoNotOptimize(out.data());
    }
    setBytes(state, page.bytes.size());
}

void runIconv(benchmark::State& state, const char* from, const char* to, const bench::Page& page) {
    const iconv_t descriptor = iconv_open(to, from);
    if (descriptor == reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1))) {
        state.SkipWithError("iconv lacks the charset");
        return;
    }
    std::vector<char> out(page.bytes.size() * 3 + 64);
    for (auto _ : state) {
        iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(page.bytes.data());
        std::size_t inLeft = page.bytes.size();
        char* o = out.data();
        std::size_t outLeft = out.size();
        if (iconv(descriptor, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1) ||
            iconv(descriptor, nullptr, nullptr, &o, &outLeft) == static_cast<std::size_t>(-1)) {
            state.SkipWithError("iconv conversion failed");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    iconv_close(descriptor);
    setBytes(state, page.bytes.size());
}

void registerDirection(const Codec& codec, const bench::Page& page, bool toUtf8) {
    const std::string operation =
        toUtf8 ? std::string(codec.name) + "ToUtf8" : "Utf8To" + std::string(codec.name);
    const std::string stem = "Peer/" + operation + "/" + page.name + "/";
    const bench::Page* p = &page;
    const Codec* c = &codec;
    benchmark::RegisterBenchmark(
        (stem + "charsetkit").c_str(),
        [c, p, toUtf8](benchmark::State& s) { runOwn(s, *c->encoding(), *p, toUtf8); });
    benchmark::RegisterBenchmark((stem + "icu").c_str(), [c, p, toUtf8](benchmark::State& s) {
        runIcu(s, toUtf8 ? c->icuName : "UTF-8", toUtf8 ? "UTF-8" : c->icuName, *p);
    });
    benchmark::RegisterBenchmark((stem + "iconv").c_str(), [c, p, toUtf8](benchmark::State& s) {
        runIconv(s, toUtf8 ? c->iconvName : "UTF-8", toUtf8 ? "UTF-8" : c->iconvName, *p);
    });
}

const bool registered = [] {
    for (const Codec& codec : kCodecs) {
        const std::string twin = utf8Twin(codec.pageEncoding);
        for (const bench::Page& page : bench::realPages()) {
            if (page.encoding == codec.pageEncoding || page.encoding == "ascii") {
                registerDirection(codec, page, true);
            }
        }
        for (const bench::Page& page : bench::realPages()) {
            if ((page.encoding == "utf8" && page.name.compare(0, twin.size(), twin) == 0) ||
                page.encoding == "ascii") {
                registerDirection(codec, page, false);
            }
        }
    }
    return true;
}();

} // namespace
