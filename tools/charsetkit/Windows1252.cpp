#include "Windows1252.h"

#include "Utf8.h"

namespace charsetkit {
namespace tool {

namespace {

// Windows-1252 code points of the bytes 0x80-0x9F; the five bytes that it
// leaves undefined keep their ISO-8859-1 (C1 control) values.
const unsigned short kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

void westernToUtf8(const char* data, std::size_t size, std::string& out) {
    out.reserve(out.size() + size + size / 8);
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else if (byte < 0xA0) {
            appendUtf8(kWindows1252High[byte - 0x80], out);
        } else {
            appendUtf8(byte, out);
        }
    }
}

bool utf8ToWestern(const char* data, std::size_t size, std::string& out, std::size_t& failedAt) {
    out.reserve(out.size() + size);
    for (std::size_t i = 0; i < size;) {
        const std::size_t length = utf8CharLength(data + i, size - i);
        if (length == 0) {
            failedAt = i;
            return false;
        }
        const unsigned int codePoint = utf8CodePoint(data + i, length);
        int byte = -1;
        if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
            byte = static_cast<int>(codePoint);
        } else {
            for (int k = 0; k < 32; ++k) {
                if (kWindows1252High[k] == codePoint) {
                    byte = 0x80 + k;
                    break;
                }
            }
        }
        if (byte < 0) {
            failedAt = i;
            return false;
        }
        out += static_cast<char>(byte);
        i += length;
    }
    return true;
}

} // namespace tool
} // namespace charsetkit
