// Several threads detect, verify and convert different buffers at once while
// another thread keeps changing the process-wide settings. Built as its own
// program (label "concurrency") so that it can run under ThreadSanitizer.
//
// The inputs avoid the bytes that the flipped Japanese switches govern (no
// EUC-JP 0x8F prefix, no code page 932 extension characters, no ISO-2022-JP
// bytes 0x93-0x97), so each result must equal one computed beforehand under
// some value of the supported-encodings setting, which each call reads once.
// Worker threads only record mismatches; the assertions run on the main
// thread after they have finished.
#include <charsetkit/encodings/EncodingFromId.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace charsetkit {
namespace {

using Ids = std::vector<AbstractEncoding::EncodingID>;
using test::bytes;

struct Sample {
    std::string name;
    AbstractEncoding::EncodingID encoding;
    std::string text; // in `encoding`
    std::string utf8; // the same text in UTF-8
};

std::string page(const std::string& phrase, int repeats) {
    std::string out;
    for (int i = 0; i < repeats; ++i) {
        out += "<div class=\"entry\"><a href=\"/item?id=" + std::to_string(i) + "\">" + phrase +
               "</a></div>\n";
    }
    return out;
}

std::vector<Sample> samples() {
    // "日本語のテキスト" and "한국어 텍스트" in each encoding.
    const std::string japaneseUtf8 =
        bytes("E6 97 A5 E6 9C AC E8 AA 9E E3 81 AE E3 83 86 E3 82 AD E3 82 B9 E3 83 88");
    const std::string sjis = bytes("93 FA 96 7B 8C EA 82 CC 83 65 83 4C 83 58 83 67");
    const std::string eucJp = bytes("C6 FC CB DC B8 EC A4 CE A5 C6 A5 AD A5 B9 A5 C8");
    const std::string jis =
        bytes("1B 24 42 46 7C 4B 5C 38 6C 24 4E 25 46 25 2D 25 39 25 48 1B 28 42");
    const std::string koreanUtf8 =
        bytes("ED 95 9C EA B5 AD EC 96 B4 20 ED 85 8D EC 8A A4 ED 8A B8");
    const std::string eucKr = bytes("C7 D1 B1 B9 BE EE 20 C5 D8 BD BA C6 AE");
    const int repeats = 24;
    return {
        {"ascii", AbstractEncoding::Ascii, page("plain text", repeats),
         page("plain text", repeats)},
        {"sjis", AbstractEncoding::Sjis, page(sjis, repeats), page(japaneseUtf8, repeats)},
        {"euc-jp", AbstractEncoding::EucJp, page(eucJp, repeats), page(japaneseUtf8, repeats)},
        {"iso-2022-jp", AbstractEncoding::Jis, page(jis, repeats), page(japaneseUtf8, repeats)},
        {"utf-8", AbstractEncoding::Utf8, page(japaneseUtf8, repeats), page(japaneseUtf8, repeats)},
        {"euc-kr", AbstractEncoding::EucKr, page(eucKr, repeats), page(koreanUtf8, repeats)},
    };
}

struct Job {
    const Sample* sample;
    AbstractLocale::eLocalIds locale;
    bool scanToEnd;
    std::set<Ids> outcomes; // one per supported-encodings setting
};

Ids detect(AbstractLocale& locale, const std::string& text, bool scanToEnd) {
    Ids out;
    locale.detectAndVerifyEncoding(text.data(), static_cast<unsigned int>(text.size()), true, false,
                                   3, scanToEnd, &out);
    return out;
}

void setSwitches(int combination) {
    JapaneseLocale::setSupportSupplementaryKanji((combination & 1) != 0);
    JapaneseLocale::setSupportSjisExtensions((combination & 2) != 0);
    JapaneseLocale::setSupportJisExtendedRange((combination & 4) != 0);
}

class ConcurrencyDetection : public test::SwitchesTest {};

TEST_F(ConcurrencyDetection, DetectAndConvertWhileSettingsChange) {
    const std::vector<Sample> inputs = samples();
    EncodingFromId registry;

    // Expected results, computed on this thread alone. Every combination of
    // the flipped switches must agree, or the inputs would not be fit for
    // the comparison below.
    std::vector<Job> jobs;
    for (const Sample& sample : inputs) {
        std::string converted;
        bool unmapped = false;
        ASSERT_TRUE(registry.getEncodingForID(sample.encoding)
                        ->convertToUtf8(sample.text.data(),
                                        static_cast<unsigned int>(sample.text.size()), converted,
                                        unmapped, false))
            << sample.name;
        ASSERT_EQ(test::hex(converted), test::hex(sample.utf8)) << sample.name;
        for (int locale = 1; locale <= 3; ++locale) {
            for (bool scanToEnd : {false, true}) {
                Job job{&sample, static_cast<AbstractLocale::eLocalIds>(locale), scanToEnd, {}};
                const std::unique_ptr<AbstractLocale> instance(
                    AbstractLocale::getLocaleForId(job.locale));
                for (int setting = 0; setting < 3; ++setting) {
                    AbstractLocale::setSupportedEncodings(
                        static_cast<AbstractLocale::SupportedEncodings>(setting));
                    setSwitches(0);
                    const Ids reference = detect(*instance, sample.text, scanToEnd);
                    for (int combination = 1; combination < 8; ++combination) {
                        setSwitches(combination);
                        ASSERT_EQ(detect(*instance, sample.text, scanToEnd), reference)
                            << sample.name << " in locale " << locale;
                    }
                    job.outcomes.insert(reference);
                }
                jobs.push_back(job);
            }
        }
    }
    // The inputs are told apart at all: the Japanese locale finds Shift_JIS.
    bool sjisFound = false;
    for (const Job& job : jobs) {
        sjisFound = sjisFound || (job.locale == AbstractLocale::eJapanese &&
                                  job.outcomes.count(Ids{AbstractEncoding::Sjis}) == 1);
    }
    ASSERT_TRUE(sjisFound);

    constexpr int kWorkers = 4;
    constexpr int kRounds = 30;
    std::atomic<int> running{kWorkers};
    std::atomic<bool> writerStarted{false};
    int writerSteps = 0;
    std::vector<std::vector<std::string>> failures(kWorkers);
    std::vector<std::thread> threads;
    // The settings change from before the first detection to after the last
    // one: the writer starts first and the workers wait for it, so the two
    // overlap however the threads are scheduled.
    threads.emplace_back([&] {
        int step = 0;
        do {
            AbstractLocale::setSupportedEncodings(
                static_cast<AbstractLocale::SupportedEncodings>(step % 3));
            setSwitches(step % 8);
            ++step;
            writerStarted.store(true);
            std::this_thread::yield();
        } while (running.load() > 0);
        writerSteps = step;
    });
    for (int w = 0; w < kWorkers; ++w) {
        threads.emplace_back([&, w] {
            while (!writerStarted.load()) {
                std::this_thread::yield();
            }
            // Each worker has its own locales and registry, as callers do.
            std::unique_ptr<AbstractLocale> locales[4] = {
                nullptr,
                std::unique_ptr<AbstractLocale>(
                    AbstractLocale::getLocaleForId(AbstractLocale::eUtf8)),
                std::unique_ptr<AbstractLocale>(
                    AbstractLocale::getLocaleForId(AbstractLocale::eJapanese)),
                std::unique_ptr<AbstractLocale>(
                    AbstractLocale::getLocaleForId(AbstractLocale::eKorean))};
            EncodingFromId encodings;
            for (int round = 0; round < kRounds; ++round) {
                // Workers start at different jobs so that different buffers
                // are in flight at once.
                for (std::size_t k = 0; k < jobs.size(); ++k) {
                    const Job& job = jobs[(k + static_cast<std::size_t>(w) * 5) % jobs.size()];
                    const Ids found = detect(*locales[job.locale], job.sample->text, job.scanToEnd);
                    if (job.outcomes.count(found) == 0) {
                        failures[static_cast<std::size_t>(w)].push_back(
                            "detection of " + job.sample->name + " in locale " +
                            std::to_string(job.locale));
                    }
                    AbstractEncoding* const encoding =
                        encodings.getEncodingForID(job.sample->encoding);
                    std::string converted;
                    bool unmapped = false;
                    const auto length = static_cast<unsigned int>(job.sample->text.size());
                    if (!encoding->convertToUtf8(job.sample->text.data(), length, converted,
                                                 unmapped, false) ||
                        converted != job.sample->utf8 ||
                        !encoding->verify(job.sample->text.data(), length, true, false, 3)) {
                        failures[static_cast<std::size_t>(w)].push_back("conversion of " +
                                                                        job.sample->name);
                    }
                }
            }
            running.fetch_sub(1);
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_GT(writerSteps, 1);
    for (int w = 0; w < kWorkers; ++w) {
        EXPECT_TRUE(failures[static_cast<std::size_t>(w)].empty())
            << failures[static_cast<std::size_t>(w)].size() << " failures in worker " << w
            << ", first: " << failures[static_cast<std::size_t>(w)].front();
    }
}

} // namespace
} // namespace charsetkit
