#include "reference/IconvKoreanConverter.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

namespace charsetkit {

namespace {

// Owns one conversion descriptor and closes it on every path.
class IconvDescriptor {
public:
    IconvDescriptor(const char* toCharset, const char* fromCharset)
        : m_descriptor(iconv_open(toCharset, fromCharset)) {}
    ~IconvDescriptor() {
        if (isOpen()) {
            iconv_close(m_descriptor);
        }
    }
    IconvDescriptor(const IconvDescriptor&) = delete;
    IconvDescriptor& operator=(const IconvDescriptor&) = delete;

    bool isOpen() const { return m_descriptor != failedDescriptor(); }
    iconv_t get() const { return m_descriptor; }

private:
    // iconv_open's failure value, (iconv_t)-1.
    static iconv_t failedDescriptor() {
        return reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1));
    }

    iconv_t m_descriptor;
};

constexpr std::size_t kIconvFailed = static_cast<std::size_t>(-1);

// Converts the whole input with a fresh descriptor. `capacity` is the first
// output size tried; it is doubled whenever iconv runs out of room.
//
// Fails on an unknown charset, on EILSEQ (invalid or unmappable input), on
// EINVAL (a character cut off by the end of the input) and on any
// conversion that iconv counts as non-reversible (a substitution), so the
// caller never gets a partial or altered text. (iconv reports that count only
// for a call that completes, which is why the callers size the first buffer
// for the whole output.) The output is replaced only once everything has been
// converted.
bool convertAll(const char* toCharset, const char* fromCharset, const unsigned char* input,
                std::size_t length, std::size_t capacity, std::string& output) {
    const IconvDescriptor descriptor(toCharset, fromCharset);
    if (!descriptor.isOpen()) {
        return false;
    }
    try {
        std::string converted(capacity, '\0');
        // iconv's interface takes a non-const pointer but never writes
        // through it.
        char* in = const_cast<char*>(reinterpret_cast<const char*>(input));
        std::size_t inLeft = length;
        std::size_t used = 0;
        // An empty input skips straight to the final flush, so a null
        // `input` is never handed to iconv as text.
        bool flushing = length == 0;
        for (;;) {
            char* const outStart = &converted[0];
            char* out = outStart + used;
            std::size_t outLeft = converted.size() - used;
            const std::size_t result =
                flushing ? iconv(descriptor.get(), nullptr, nullptr, &out, &outLeft)
                         : iconv(descriptor.get(), &in, &inLeft, &out, &outLeft);
            used = converted.size() - outLeft;
            if (result != kIconvFailed) {
                if (result != 0) {
                    return false;
                }
                if (flushing) {
                    break;
                }
                // All input consumed; write any pending shift sequence.
                flushing = true;
                continue;
            }
            if (errno != E2BIG) {
                return false;
            }
            if (converted.size() > converted.max_size() / 2) {
                return false;
            }
            converted.resize(converted.size() * 2);
        }
        converted.resize(used);
        output = std::move(converted);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

// Every output buffer starts with at least this many bytes, so that it is
// never empty and short inputs need no growth.
constexpr std::size_t kMinimumCapacity = 16;

} // namespace

bool IconvKoreanConverter::eucKrToUtf8(const unsigned char* input, std::size_t length,
                                       std::string& output) const {
    // An EUC-KR character of two bytes becomes at most three bytes of UTF-8
    // and a single byte stays one byte, so length * 1.5 is enough at once.
    if (length > std::numeric_limits<std::size_t>::max() / 2) {
        return false;
    }
    const std::size_t capacity = length + length / 2 + kMinimumCapacity;
    return convertAll(m_utf8Charset, m_koreanCharset, input, length, capacity, output);
}

bool IconvKoreanConverter::utf8ToEucKr(const unsigned char* input, std::size_t length,
                                       std::string& output) const {
    // Every character that has an EUC-KR code takes at least as many bytes
    // in UTF-8, so the output is never longer than the input.
    if (length > std::numeric_limits<std::size_t>::max() - kMinimumCapacity) {
        return false;
    }
    return convertAll(m_koreanCharset, m_utf8Charset, input, length, length + kMinimumCapacity,
                      output);
}

} // namespace charsetkit
