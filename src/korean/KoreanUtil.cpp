#include <charsetkit/korean/KoreanUtil.h>

#include "korean/IconvKoreanConverter.h"
#include "korean/KoreanConverter.h"
#include "utilities/VectorScan.h"

#include <new>

namespace charsetkit {

namespace {

// The platform's converter: constant-initialised and trivially destructible,
// so nothing runs for it at load or exit time.
constexpr IconvKoreanConverter kPlatformConverter{};

// Trail bytes of the code page 949 layout: 0x41-0x5A, 0x61-0x7A, 0x81-0xFE.
inline bool isTrailByte(unsigned char byte) {
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
           (byte >= 0x81 && byte <= 0xFE);
}

} // namespace

KoreanUtil::KoreanUtil() : m_converter(&kPlatformConverter) {}

KoreanUtil::~KoreanUtil() = default;

KoreanUtil* KoreanUtil::getInstance() {
    // Built in static storage on the first call (the initialisation of a
    // function-local static is thread-safe) and never destroyed, so the
    // instance stays usable during static destruction and creating it
    // cannot fail for lack of memory.
    alignas(KoreanUtil) static unsigned char storage[sizeof(KoreanUtil)];
    static KoreanUtil* const instance = new (storage) KoreanUtil();
    return instance;
}

bool KoreanUtil::isEucKrCharSet(const unsigned char* buffer, unsigned int length) {
    // A null buffer holds no text of any length but 0.
    if (buffer == nullptr) {
        return length == 0;
    }
    unsigned int i = 0;
    while (i < length) {
        const unsigned char lead = buffer[i];
        if (lead < 0x7F) {
            // Single bytes: a run of two or more is skipped at vector width.
            ++i;
            if (i < length && buffer[i] < 0x7F) {
                i += static_cast<unsigned int>(
                    detail::vector::runBelow(buffer + i, length - i, 0x7F));
            }
            continue;
        }
        // Anything else opens a two-byte character. 0x7F, 0x80 and 0xFF are
        // never leads; a lead in the last byte is a character cut off.
        if (length - i < 2 || lead <= 0x80 || lead == 0xFF) {
            return false;
        }
        if (!isTrailByte(buffer[i + 1])) {
            return false;
        }
        i += 2;
    }
    return true;
}

bool KoreanUtil::convertToUtf8(const unsigned char* input, unsigned int length,
                               std::string& output) {
    // A null input of non-zero length would otherwise reach iconv as its
    // reset call and "convert" to nothing.
    if (m_converter == nullptr || (input == nullptr && length != 0)) {
        return false;
    }
    return m_converter->eucKrToUtf8(input, length, output);
}

bool KoreanUtil::convertFromUtf8(const unsigned char* input, unsigned int length,
                                 std::string& output) {
    if (m_converter == nullptr || (input == nullptr && length != 0)) {
        return false;
    }
    return m_converter->utf8ToEucKr(input, length, output);
}

} // namespace charsetkit
