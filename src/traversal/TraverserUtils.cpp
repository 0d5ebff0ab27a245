#include <charsetkit/traversal/TraverserUtils.h>
#include <charsetkit/utilities/Convert.h>

#include <cstddef>

namespace charsetkit {

namespace {

// '0'-'9', 'a'-'f' and 'A'-'F'; bytes from 0x80 up never are digits.
bool isHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

char TraverserUtils::hexValue(char high, char low) {
    const int value = Convert::ms_hexToInt[static_cast<unsigned char>(high)] * 16 +
                      Convert::ms_hexToInt[static_cast<unsigned char>(low)];
    return static_cast<char>(static_cast<unsigned char>(value & 0xFF));
}

bool TraverserUtils::hexDecode(std::string& out, const char* in, int length,
                               AbstractTraverser* traverser) {
    out.clear();
    if (traverser == nullptr || length < 0 || (in == nullptr && length != 0)) {
        return false;
    }
    const std::size_t size = static_cast<std::size_t>(length);
    if (out.capacity() <= size) {
        out.reserve(size);
    }

    traverser->setNewBuffer(in, length);

    // Positions are handled as indices from the start of the input, so that a
    // buffer of fewer than two bytes never leads to a pointer before it. A '%'
    // among the last two bytes has no room for its digits and is copied as is.
    const std::size_t limit = size > 2 ? size - 2 : 0;
    std::size_t copyFrom = 0;
    for (;;) {
        const std::size_t pos = static_cast<std::size_t>(traverser->getPos() - in);
        if (pos >= limit) {
            break;
        }
        // Bytes before copyFrom were the digits of an escape just decoded:
        // decoded text is never scanned again.
        if (pos < copyFrom || in[pos] != '%') {
            traverser->advance();
            continue;
        }
        out.append(in + copyFrom, pos - copyFrom);
        const char high = in[pos + 1];
        const char low = in[pos + 2];
        if (!isHexDigit(static_cast<unsigned char>(high)) ||
            !isHexDigit(static_cast<unsigned char>(low))) {
            // Malformed escape: nothing is decoded, the caller gets its input back.
            out.assign(in, size);
            return false;
        }
        out.push_back(hexValue(high, low));
        copyFrom = pos + 3;
        // Past the '%' and its two digits. A traverser advanced at its end stays
        // there, so this never moves beyond the input.
        traverser->advance();
        traverser->advance();
        traverser->advance();
    }
    if (copyFrom < size) {
        out.append(in + copyFrom, size - copyFrom);
    }
    return true;
}

} // namespace charsetkit
