// Verification of arbitrary bytes in every encoding with every flag. A buffer
// that verifies with the character check also verifies without it, and the
// Western encoding rejects exactly the buffers holding ESC, SO or SI.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>

using namespace charsetkit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const char* buffer = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<unsigned int>(size - 1);
    const bool rejectRedundant = (control & 0x01) != 0;
    const int escapeRunLimit = (control >> 1) % 4;
    EncodingFromId registry;
    for (int id = AbstractEncoding::Ascii; id <= AbstractEncoding::EucKr; ++id) {
        const AbstractEncoding* encoding =
            registry.getEncodingForID(static_cast<AbstractEncoding::EncodingID>(id));
        FUZZ_CHECK(encoding != nullptr);
        const bool strict = encoding->verify(buffer, length, true, rejectRedundant, escapeRunLimit);
        const bool loose = encoding->verify(buffer, length, false, rejectRedundant, escapeRunLimit);
        FUZZ_CHECK(!strict || loose);
    }
    bool shiftByte = false;
    for (unsigned int i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(buffer[i]);
        shiftByte = shiftByte || b == 0x1B || b == 0x0E || b == 0x0F;
    }
    FUZZ_CHECK(registry.getEncodingForID(AbstractEncoding::Ascii)
                   ->verify(buffer, length, false, false, 0) == !shiftByte);
    return 0;
}
