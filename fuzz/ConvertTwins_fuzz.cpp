// The table-driven conversions against their plain twins, byte for byte, in
// both directions: the machines' conversions to UTF-8 (Shift_JIS, EUC-JP,
// ISO-2022-JP) against the byte-at-a-time loops, utf8ToJapanese against the
// conversion through the UTF-8 machine alone, and the Korean conversions
// against the platform's CP949 converter where it has one; the encoders' and
// the Korean decoder's 64-byte block reading at every vector level against
// their character loops, with the text padded so that blocks reach it. The first input
// byte sets the four Japanese switches and the replacement flag; the rest is
// the text.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "detectors/EucJpBlocks.h"
#include "detectors/SjisBlocks.h"
#include "japanese/JapaneseOutputBuffer.h"
#include "korean/Cp949Converter.h"
#include "support/Twins.h"

#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace charsetkit;

namespace {

template <class Machine>
void compareDecoding(const std::string& text, bool replace) {
    Machine fast;
    Machine plain;
    std::string fastOut = "x";
    std::string plainOut = "x";
    bool fastUnmapped = false;
    bool plainUnmapped = false;
    FUZZ_CHECK(fast.convertToUtf8(text.data(), static_cast<unsigned int>(text.size()), fastOut,
                                  fastUnmapped, replace));
    twin::convert(plain, text, plainOut, plainUnmapped, replace);
    FUZZ_CHECK(fastOut == plainOut);
    FUZZ_CHECK(fastUnmapped == plainUnmapped);
    FUZZ_CHECK(fast.m_state == plain.m_state);
    FUZZ_CHECK(fast.m_error == plain.m_error);
    FUZZ_CHECK(fast.m_confirmed == plain.m_confirmed);
    FUZZ_CHECK(fast.m_inChar == plain.m_inChar);
    FUZZ_CHECK(fast.m_firstByte == plain.m_firstByte);
}

// Shift_JIS in blocks at every vector level: the conversion against the
// twin, the verified length against the machine's own rule.
void compareSjisLevels(const std::string& text, bool replace) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t plainPrefix[2] = {text.size(), text.size()};
    for (int vc = 0; vc < 2; ++vc) {
        SjisDetectorSM machine;
        for (std::size_t k = 0; k < text.size(); ++k) {
            machine.SjisDetectorSM::processByte(p[k], vc != 0);
            if (machine.m_error) {
                plainPrefix[vc] = k;
                break;
            }
        }
    }
    std::string plainOut;
    bool plainUnmapped = false;
    SjisDetectorSM plain;
    twin::convert(plain, text, plainOut, plainUnmapped, replace);
    for (detail::vector::Level level : {detail::vector::kPlain, detail::vector::kSse2,
                                        detail::vector::kAvx2, detail::vector::kNeon}) {
        if (!detail::vector::isAvailable(level)) {
            continue;
        }
        for (int vc = 0; vc < 2; ++vc) {
            FUZZ_CHECK(detail::sjis::verifiedPrefix(level, p, text.size(), vc != 0) ==
                       plainPrefix[vc]);
        }
        SjisDetectorSM fast;
        std::string fastOut;
        bool fastUnmapped = false;
        FUZZ_CHECK(detail::sjis::convertToUtf8(fast, level, text.data(),
                                               static_cast<unsigned int>(text.size()), fastOut,
                                               fastUnmapped, replace));
        FUZZ_CHECK(fastOut == plainOut);
        FUZZ_CHECK(fastUnmapped == plainUnmapped);
        FUZZ_CHECK(fast.m_state == plain.m_state && fast.m_firstByte == plain.m_firstByte);
        FUZZ_CHECK(fast.m_error == plain.m_error && fast.m_confirmed == plain.m_confirmed);
        FUZZ_CHECK(fast.m_inChar == plain.m_inChar);
    }
}

// EUC-JP read in blocks at every vector level this processor runs: the
// conversion against the byte loop, verification against the virtual driver.
void compareEucJpBlocks(const std::string& text, bool replace) {
    const auto n = static_cast<unsigned int>(text.size());
    EucJpDetectorSM plain;
    std::string plainOut;
    bool plainUnmapped = false;
    twin::convert(plain, text, plainOut, plainUnmapped, replace);
    for (detail::vector::Level level : {detail::vector::kPlain, detail::vector::kSse2,
                                        detail::vector::kAvx2, detail::vector::kNeon}) {
        if (!detail::vector::isAvailable(level)) {
            continue;
        }
        EucJpDetectorSM fast;
        std::string fastOut;
        bool fastUnmapped = false;
        detail::eucjp::convertToUtf8(level, fast, text.data(), n, fastOut, fastUnmapped, replace);
        FUZZ_CHECK(fastOut == plainOut && fastUnmapped == plainUnmapped);
        FUZZ_CHECK(fast.m_state == plain.m_state && fast.m_firstByte == plain.m_firstByte);
        FUZZ_CHECK(fast.m_error == plain.m_error && fast.m_confirmed == plain.m_confirmed &&
                   fast.m_inChar == plain.m_inChar);
        for (bool verifyCharacters : {false, true}) {
            EucJpDetectorSM machine;
            AbstractDetectorSM& virtualMachine = machine;
            FUZZ_CHECK(detail::eucjp::verifyBlocks(
                           level, reinterpret_cast<const unsigned char*>(text.data()), n,
                           verifyCharacters) ==
                       virtualMachine.verify(text.data(), n, verifyCharacters, false, 0));
        }
    }
}

void compareEncoding(const std::string& text, AbstractEncoding::EncodingID target) {
    std::string fast = "x";
    const bool ok = JapaneseConversions::utf8ToJapanese(
        text.data(), static_cast<unsigned int>(text.size()), target, fast);
    const auto plain = reference::utf8ToJapanese(text, target);
    FUZZ_CHECK(ok == plain.has_value());
    FUZZ_CHECK(fast == plain.value_or("x"));
}

void compareBlockReading(const std::string& text) {
    using detail::vector::Level;
    const Cp949Converter korean;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const auto length = static_cast<unsigned int>(text.size());
    for (const Level level : {detail::vector::kPlain, detail::vector::kSse2, detail::vector::kAvx2,
                              detail::vector::kNeon}) {
        if (!detail::vector::isAvailable(level)) {
            continue;
        }
        for (const auto target :
             {AbstractEncoding::Sjis, AbstractEncoding::EucJp, AbstractEncoding::Jis}) {
            std::string fast = "x";
            std::string plain = "x";
            FUZZ_CHECK(detail::utf8ToJapanese(text.data(), length, target, fast,
                                              detail::BlockScan::at(level)) ==
                       detail::utf8ToJapanese(text.data(), length, target, plain,
                                              detail::BlockScan::byCharacter()));
            FUZZ_CHECK(fast == plain);
        }
        std::string fast = "x";
        std::string plain = "x";
        FUZZ_CHECK(korean.utf8ToEucKr(bytes, text.size(), fast, detail::BlockScan::at(level)) ==
                   korean.utf8ToEucKr(bytes, text.size(), plain, detail::BlockScan::byCharacter()));
        FUZZ_CHECK(fast == plain);
        // The same bytes read as EUC-KR.
        FUZZ_CHECK(korean.eucKrToUtf8(bytes, text.size(), fast, detail::BlockScan::at(level)) ==
                   korean.eucKrToUtf8(bytes, text.size(), plain, detail::BlockScan::byCharacter()));
        FUZZ_CHECK(fast == plain);
    }
}

// The platform's conversion with the Korean converter's rule: any error or
// substitution fails.
bool platformConvert(const char* to, const char* from, const std::string& text, std::string& out,
                     bool& available) {
    const iconv_t cd = iconv_open(to, from);
    available = cd != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
    if (!available) {
        return false;
    }
    std::string buffer(text.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* o = &buffer[0];
    std::size_t outLeft = buffer.size();
    const bool ok = iconv(cd, &in, &inLeft, &o, &outLeft) == 0 &&
                    iconv(cd, nullptr, nullptr, &o, &outLeft) == 0;
    iconv_close(cd);
    if (ok) {
        out.assign(buffer.data(), buffer.size() - outLeft);
    }
    return ok;
}

void compareKorean(const std::string& text) {
    const EucKrEncoding korean;
    for (bool toUtf8 : {true, false}) {
        std::string ours = "x";
        std::string platform = "x";
        bool unmapped = false;
        bool available = false;
        const unsigned int n = static_cast<unsigned int>(text.size());
        const bool ok = toUtf8 ? korean.convertToUtf8(text.data(), n, ours, unmapped, false)
                               : korean.convertFromUtf8(text.data(), n, ours);
        const bool platformOk = toUtf8
                                    ? platformConvert("UTF-8", "CP949", text, platform, available)
                                    : platformConvert("CP949", "UTF-8", text, platform, available);
        if (!available) {
            return;
        }
        FUZZ_CHECK(ok == platformOk);
        FUZZ_CHECK(ours == platform);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096) {
        return 0;
    }
    const unsigned flags = data[0];
    JapaneseLocale::setSupportSingleByteKana((flags & 1) != 0);
    JapaneseLocale::setSupportSupplementaryKanji((flags & 2) != 0);
    JapaneseLocale::setSupportSjisExtensions((flags & 4) != 0);
    JapaneseLocale::setSupportJisExtendedRange((flags & 8) != 0);
    const bool replace = (flags & 16) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    compareDecoding<SjisDetectorSM>(text, replace);
    compareSjisLevels(text, replace);
    compareDecoding<EucJpDetectorSM>(text, replace);
    compareEucJpBlocks(text, replace);
    compareDecoding<JisDetectorSM>(text, replace);
    compareEncoding(text, AbstractEncoding::Sjis);
    compareEncoding(text, AbstractEncoding::EucJp);
    compareEncoding(text, AbstractEncoding::Jis);
    compareKorean(text);
    compareBlockReading(std::string((flags >> 5) * 9, 'a') + text + std::string(80, 'a'));
    return 0;
}
