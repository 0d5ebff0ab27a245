// Detection over arbitrary bytes. The first byte picks the locale and the
// flags. Invariants: results are valid identifiers without repeats, and when
// detection read the whole buffer every encoding it reports also verifies
// the buffer with the same flags.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

using namespace charsetkit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const char* buffer = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<unsigned int>(size - 1);
    const auto id = static_cast<AbstractLocale::eLocalIds>(1 + control % 3);
    const bool verifyCharacters = (control & 0x04) != 0;
    const bool rejectRedundant = (control & 0x08) != 0;
    const bool scanToEnd = (control & 0x10) != 0;
    const int escapeRunLimit = (control >> 5) % 4;
    std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForId(id));
    FUZZ_CHECK(locale != nullptr);
    locale->useRestrictiveUtf8((control & 0x80) != 0);

    std::vector<AbstractEncoding::EncodingID> found;
    locale->detectAndVerifyEncoding(buffer, length, verifyCharacters, rejectRedundant,
                                    escapeRunLimit, scanToEnd, &found);
    EncodingFromId registry;
    for (std::size_t i = 0; i < found.size(); ++i) {
        FUZZ_CHECK(found[i] >= AbstractEncoding::Ascii && found[i] <= AbstractEncoding::EucKr);
        for (std::size_t j = 0; j < i; ++j) {
            FUZZ_CHECK(found[i] != found[j]);
        }
        if (scanToEnd) {
            const AbstractEncoding* encoding = registry.getEncodingForID(found[i]);
            FUZZ_CHECK(encoding != nullptr);
            FUZZ_CHECK(encoding->verify(buffer, length, verifyCharacters, rejectRedundant,
                                        escapeRunLimit));
        }
    }
    return 0;
}
