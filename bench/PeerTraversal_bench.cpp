// Traversal on the real pages, named Peer/<operation>/<page>/<implementation>
// for scripts/bench-ratios.py:
//   Advance      a traverser of the page's encoding stepped with advance() to
//                the end, beside a plain loop with one branch per byte
//                ("stepper");
//   SkipTo<Byte> the same traverser jumping from one '<', '&', '%' or '"' to
//                the next with advanceTo(), beside memchr over the same bytes;
//   HexDecode, CheckBuffer on a 64 KB form body, for every traverser.
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/CharsetChecker.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/TraverserUtils.h>
#include <charsetkit/traversal/Utf16BigTraverser.h>
#include <charsetkit/traversal/Utf16LittleTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "BenchInputs.h"
#include "RealPages.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

using namespace charsetkit;

void countBytes(benchmark::State& state, std::size_t size) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(size));
}

// Every stop of the page, through the traverser's own class.
template <typename T>
void advanceLoop(benchmark::State& state, const std::string& bytes) {
    T traverser;
    for (auto _ : state) {
        traverser.setNewBuffer(bytes.data(), static_cast<int>(bytes.size()));
        std::size_t stops = 0;
        while (!traverser.isEnd()) {
            traverser.advance();
            ++stops;
        }
        benchmark::DoNotOptimize(stops);
    }
    countBytes(state, bytes.size());
}

// The plain loop a caller would write for a byte-per-character text: one
// branch per byte, and the position of each stop made visible.
void stepperLoop(benchmark::State& state, const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (auto _ : state) {
        std::size_t stops = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] < 0x80) {
                ++stops;
                benchmark::DoNotOptimize(stops);
            }
        }
        benchmark::DoNotOptimize(stops);
    }
    countBytes(state, n);
}

// Every stop holding `target`, found with advanceTo().
template <typename T>
void skipLoop(benchmark::State& state, const std::string& bytes, char target) {
    T traverser;
    for (auto _ : state) {
        traverser.setNewBuffer(bytes.data(), static_cast<int>(bytes.size()));
        std::size_t found = 0;
        if (!traverser.isEnd() && *traverser.getPos() == target) {
            ++found;
        }
        while (!traverser.isEnd()) {
            traverser.advanceTo(target);
            ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    countBytes(state, bytes.size());
}

void memchrLoop(benchmark::State& state, const std::string& bytes, char target) {
    const char* const end = bytes.data() + bytes.size();
    for (auto _ : state) {
        std::size_t found = 0;
        const char* p = bytes.data();
        while (p != end) {
            const void* hit = std::memchr(p, target, static_cast<std::size_t>(end - p));
            if (hit == nullptr) {
                break;
            }
            ++found;
            p = static_cast<const char*>(hit) + 1;
        }
        benchmark::DoNotOptimize(found);
    }
    countBytes(state, bytes.size());
}

// The form body of a POST request, about 64 KB, in single bytes or as
// UTF-16 code units of either byte order.
const std::string& formBody(int width) {
    static const std::string body =
        bench::repeatTo("name=Taro+Yamada&mail=taro%40example.org&comment=Hello%2C+world%21+"
                        "%E3%81%93%E3%82%93%E3%81%AB%E3%81%A1%E3%81%AF&agree=on&",
                        64 * 1024);
    static const std::string big = [] {
        std::string s;
        for (char c : body) {
            s += '\0';
            s += c;
        }
        return s;
    }();
    static const std::string little = [] {
        std::string s;
        for (char c : body) {
            s += c;
            s += '\0';
        }
        return s;
    }();
    return width == 0 ? body : width == 1 ? big : little;
}

template <typename T>
void hexDecodeLoop(benchmark::State& state, const std::string& in) {
    T traverser;
    std::string out;
    for (auto _ : state) {
        const bool ok =
            TraverserUtils::hexDecode(out, in.data(), static_cast<int>(in.size()), &traverser);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(out.data());
    }
    countBytes(state, in.size());
}

// Forbids control bytes, mark-up delimiters and quotes; escapes are examined.
template <typename T>
void checkBufferLoop(benchmark::State& state, const std::string& in) {
    T traverser;
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
                            &count, seen, &badEscape, &traverser, &badEscapeText, false);
        benchmark::DoNotOptimize(count);
        benchmark::DoNotOptimize(badEscape);
    }
    countBytes(state, in.size());
}

template <typename T>
void registerPage(const bench::Page& page) {
    const std::string* bytes = &page.bytes;
    benchmark::RegisterBenchmark(("Peer/Advance/" + page.name + "/charsetkit").c_str(),
                                 [bytes](benchmark::State& s) { advanceLoop<T>(s, *bytes); });
    benchmark::RegisterBenchmark(("Peer/Advance/" + page.name + "/stepper").c_str(),
                                 [bytes](benchmark::State& s) { stepperLoop(s, *bytes); });
    const struct {
        const char* name;
        char byte;
    } targets[] = {{"Lt", '<'}, {"Amp", '&'}, {"Pct", '%'}, {"Quot", '"'}};
    for (const auto& target : targets) {
        const char byte = target.byte;
        const std::string op = std::string("Peer/SkipTo") + target.name + "/" + page.name;
        benchmark::RegisterBenchmark(
            (op + "/charsetkit").c_str(),
            [bytes, byte](benchmark::State& s) { skipLoop<T>(s, *bytes, byte); });
        benchmark::RegisterBenchmark((op + "/memchr").c_str(), [bytes, byte](benchmark::State& s) {
            memchrLoop(s, *bytes, byte);
        });
    }
}

template <typename T>
void registerForm(const char* name, int width) {
    // UTF-16 text holds no percent escapes of bytes, so it is only checked.
    if (width == 0) {
        benchmark::RegisterBenchmark(
            (std::string("Peer/HexDecode/form64k-") + name + "/charsetkit").c_str(),
            [width](benchmark::State& s) { hexDecodeLoop<T>(s, formBody(width)); });
    }
    benchmark::RegisterBenchmark(
        (std::string("Peer/CheckBuffer/form64k-") + name + "/charsetkit").c_str(),
        [width](benchmark::State& s) { checkBufferLoop<T>(s, formBody(width)); });
}

const bool registered = [] {
    for (const bench::Page& page : bench::realPages()) {
        if (page.encoding == "utf8") {
            registerPage<Utf8Traverser>(page);
        } else if (page.encoding == "sjis") {
            registerPage<SjisTraverser>(page);
        } else if (page.encoding == "eucjp") {
            // EucJpTraverser steps exactly like this class but cannot live on
            // the stack (its destructor is private).
            registerPage<EucKrTraverser>(page);
        } else if (page.encoding == "jis") {
            registerPage<JisTraverser>(page);
        } else if (page.encoding == "euckr") {
            registerPage<EucKrTraverser>(page);
        } else {
            registerPage<AsciiTraverser>(page);
        }
    }
    registerForm<AsciiTraverser>("ascii", 0);
    registerForm<Utf8Traverser>("utf8", 0);
    registerForm<EucKrTraverser>("euckr", 0);
    registerForm<SjisTraverser>("sjis", 0);
    registerForm<JisTraverser>("jis", 0);
    registerForm<Utf16BigTraverser>("utf16be", 1);
    registerForm<Utf16LittleTraverser>("utf16le", 2);
    return true;
}();

} // namespace
