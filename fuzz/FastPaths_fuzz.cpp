// The fast whole-buffer paths against their plain twins on the same bytes:
// the vector scans at every level this processor runs, the UTF-8 check, the
// EUC-KR walk, the Japanese locale's detection and ISO-2022-JP verification. Any difference aborts.
// The first byte chooses flags; the rest is the text, also read from one to
// three bytes in so that the vector loads meet every alignment.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "detectors/JapaneseDrivers.h"
#include "detectors/Utf8Scan.h"
#include "utilities/VectorScan.h"

#include "support/Twins.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace charsetkit;

namespace {

void compareScans(const unsigned char* p, std::size_t n, unsigned char bound) {
    const reference::Utf8Outcome plain = reference::scanUtf8(p, n);
    const std::size_t plainRun = reference::plainAsciiRunLength(p, n);
    const std::size_t below = reference::runBelow(p, n, bound);
    for (detail::vector::Level level : {detail::vector::kPlain, detail::vector::kSse2,
                                        detail::vector::kAvx2, detail::vector::kNeon}) {
        if (!detail::vector::isAvailable(level)) {
            continue;
        }
        const detail::Utf8ScanResult fast = detail::scanUtf8(level, p, n);
        FUZZ_CHECK(fast.failed == plain.failed);
        FUZZ_CHECK(fast.endsInsideCharacter == plain.endsInsideCharacter);
        FUZZ_CHECK(detail::vector::plainAsciiRunLength(level, p, n) == plainRun);
        FUZZ_CHECK(detail::vector::runBelow(level, p, n, bound) == below);
        const std::size_t proven = detail::vector::utf8CleanPrefix(level, p, n);
        FUZZ_CHECK(proven <= n);
        const reference::Utf8Outcome prefix = reference::scanUtf8(p, proven);
        FUZZ_CHECK(!prefix.failed && !prefix.endsInsideCharacter);
    }
    FUZZ_CHECK(KoreanUtil::getInstance()->isEucKrCharSet(p, static_cast<unsigned int>(n)) ==
               reference::isEucKr(p, n));
}

void compareDetection(const char* buffer, unsigned int length, std::uint8_t control) {
    if (AbstractLocale::getSupportedEncodings() != AbstractLocale::LocalAndUtf8) {
        return;
    }
    const bool verifyCharacters = (control & 0x02) != 0;
    const bool scanToEnd = (control & 0x04) != 0;
    const bool restrictive = (control & 0x08) != 0;
    JapaneseLocale locale;
    locale.useRestrictiveUtf8(restrictive);
    std::vector<AbstractEncoding::EncodingID> fast;
    locale.detectAndVerifyEncoding(buffer, length, verifyCharacters, false, 3, scanToEnd, &fast);
    JisDetectorSM jis;
    SjisDetectorSM sjis;
    EucJpDetectorSM eucJp;
    Utf8DetectorSM utf8;
    JapaneseUtf8DetectorSM restricted;
    std::vector<AbstractDetectorSM*> machines = {&jis, &sjis, &eucJp};
    machines.push_back(restrictive ? static_cast<AbstractDetectorSM*>(&restricted) : &utf8);
    bool early = false;
    const std::vector<AbstractEncoding::EncodingID> plain =
        reference::genericEncodingDetect(reinterpret_cast<const unsigned char*>(buffer), length,
                                         verifyCharacters, false, 3, scanToEnd, machines, &early);
    FUZZ_CHECK(fast == plain);
}

// ISO-2022-JP verification through the encoding (its whole-buffer driver)
// against the machine's virtual byte-at-a-time driver, with the flags the
// control byte chooses; the answers and every field of the machines.
void compareJisVerify(const char* buffer, unsigned int length, std::uint8_t control) {
    const bool verifyCharacters = (control & 0x02) != 0;
    const bool rejectRedundant = (control & 0x10) != 0;
    static constexpr int kLimits[4] = {0, 1, 3, 100};
    const int limit = kLimits[(control >> 5) & 3];
    JisDetectorSM fast;
    JisDetectorSM plain;
    AbstractDetectorSM& virtualPlain = plain;
    const bool plainResult =
        virtualPlain.verify(buffer, length, verifyCharacters, rejectRedundant, limit);
    FUZZ_CHECK(detail::runJisFast(fast, buffer, length, verifyCharacters, rejectRedundant, limit) ==
               plainResult);
    FUZZ_CHECK(fast.m_state == plain.m_state);
    FUZZ_CHECK(fast.m_designation == plain.m_designation);
    FUZZ_CHECK(fast.m_firstByte == plain.m_firstByte);
    FUZZ_CHECK(fast.m_charsSinceEscape == plain.m_charsSinceEscape);
    FUZZ_CHECK(fast.m_escapeRun == plain.m_escapeRun);
    FUZZ_CHECK(fast.m_redundantEscape == plain.m_redundantEscape);
    FUZZ_CHECK(fast.m_error == plain.m_error);
    FUZZ_CHECK(fast.m_confirmed == plain.m_confirmed);
    FUZZ_CHECK(fast.m_inChar == plain.m_inChar);
    FUZZ_CHECK(JisEncoding().verify(buffer, length, verifyCharacters, rejectRedundant, limit) ==
               plainResult);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const unsigned char* text = data + 1;
    const std::size_t length = size - 1;
    const auto bound = static_cast<unsigned char>(1 + (control >> 1) % 0x80);
    for (std::size_t offset = 0; offset < 4 && offset <= length; ++offset) {
        compareScans(text + offset, length - offset, bound);
    }
    const bool structureOnly = (control & 0x01) != 0;
    FUZZ_CHECK(Utf8Encoding().verify(reinterpret_cast<const char*>(text),
                                     static_cast<unsigned int>(length), structureOnly, false,
                                     0) == !reference::scanUtf8(text, length).failed);
    compareDetection(reinterpret_cast<const char*>(text), static_cast<unsigned int>(length),
                     control);
    compareJisVerify(reinterpret_cast<const char*>(text), static_cast<unsigned int>(length),
                     control);
    return 0;
}
