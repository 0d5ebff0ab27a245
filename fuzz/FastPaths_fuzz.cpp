// The fast whole-buffer paths against their plain twins on the same bytes:
// the vector scans at every level this processor runs, the UTF-8 check, the
// EUC-KR walk and the Japanese locale's detection. Any difference aborts.
// The first byte chooses flags; the rest is the text, also read from one to
// three bytes in so that the vector loads meet every alignment.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "detectors/Utf8Scan.h"
#include "utilities/VectorScan.h"

#include "../tests/reference/ReferenceDetection.h"
#include "../tests/reference/ReferenceScans.h"

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
    return 0;
}
