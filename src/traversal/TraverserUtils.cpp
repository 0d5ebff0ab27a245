#include <charsetkit/traversal/TraverserUtils.h>
#include <charsetkit/utilities/Convert.h>

#include "traversal/TraverserScan.h"

#include <cstddef>
#include <functional>

namespace charsetkit {

namespace {

// '0'-'9', 'a'-'f' and 'A'-'F'; bytes from 0x80 up never are digits.
bool isHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The byte that two hexadecimal digits stand for.
char hexByte(char high, char low) {
    const int value = Convert::ms_hexToInt[static_cast<unsigned char>(high)] * 16 +
                      Convert::ms_hexToInt[static_cast<unsigned char>(low)];
    return static_cast<char>(static_cast<unsigned char>(value & 0xFF));
}

// Whether `bytes` points into the text of `text` (std::less gives a total
// order even for pointers into different objects).
bool pointsInto(const char* bytes, const std::string& text) {
    const std::less<const char*> before;
    const char* const start = text.data();
    return !before(bytes, start) && before(bytes, start + text.size());
}

// The decoding loop over a traverser of class T (the library's classes step
// without virtual calls and jump from one '%' to the next).
template <typename T>
bool decodeWith(T& traverser, std::string& out, const char* in, std::size_t size) {
    traverser.setNewBuffer(in, static_cast<int>(size));

    // Positions are handled as indices from the start of the input, so that a
    // buffer of fewer than two bytes never leads to a pointer before it. A '%'
    // among the last two bytes has no room for its digits and is copied as is.
    const std::size_t limit = size > 2 ? size - 2 : 0;
    const char* const limitPosition = in + limit;
    const TraverserScan::ByteTarget percent('%');
    std::size_t copyFrom = 0;
    for (;;) {
        const std::size_t pos = static_cast<std::size_t>(traverser.getPos() - in);
        if (pos >= limit) {
            break;
        }
        // Bytes before copyFrom were the digits of an escape just decoded:
        // decoded text is never scanned again.
        if (pos < copyFrom) {
            TraverserScan::step(traverser);
            continue;
        }
        if (in[pos] != '%') {
            // On to the next stop that holds '%' or lies among the last two
            // bytes, where the scan ends.
            TraverserScan::scan(traverser, percent, limitPosition);
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
        out.push_back(hexByte(high, low));
        copyFrom = pos + 3;
        // Past the '%' and its two digits. A traverser advanced at its end stays
        // there, so this never moves beyond the input.
        TraverserScan::step(traverser);
        TraverserScan::step(traverser);
        TraverserScan::step(traverser);
    }
    if (copyFrom < size) {
        out.append(in + copyFrom, size - copyFrom);
    }
    return true;
}

// hexDecode for an `out` that does not hold the input.
bool decodeInto(std::string& out, const char* in, int length, AbstractTraverser* traverser) {
    out.clear();
    if (traverser == nullptr || length < 0 || (in == nullptr && length != 0)) {
        return false;
    }
    const std::size_t size = static_cast<std::size_t>(length);
    if (out.capacity() <= size) {
        out.reserve(size);
    }
    return TraverserScan::withClass(*traverser,
                                    [&](auto& t) { return decodeWith(t, out, in, size); });
}

} // namespace

char TraverserUtils::hexValue(char high, char low) {
    return hexByte(high, low);
}

bool TraverserUtils::hexDecode(std::string& out, const char* in, int length,
                               AbstractTraverser* traverser) {
    if (in != nullptr && pointsInto(in, out)) {
        // Decoding a string into itself: emptying and refilling `out` would
        // overwrite input not yet read. Decode aside, then copy the result
        // back into out's storage, which is large enough for it, so the
        // traverser still points into live memory.
        std::string decoded;
        const bool ok = decodeInto(decoded, in, length, traverser);
        out.assign(decoded);
        return ok;
    }
    return decodeInto(out, in, length, traverser);
}

} // namespace charsetkit
