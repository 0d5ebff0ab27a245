#include "Charsets.h"

#include "Cli.h"

#include <cstdio>

namespace charsetkit {
namespace tool {

namespace {

// Windows-1252 code points of the bytes 0x80-0x9F; the five bytes that it
// leaves undefined keep their ISO-8859-1 (C1 control) values.
const unsigned short kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

EncodingFromId& registry() {
    static EncodingFromId encodings;
    return encodings;
}

void appendUtf8(unsigned int codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

} // namespace

const AbstractEncoding& encodingFor(EncodingId id) {
    return *registry().getEncodingForID(id);
}

std::vector<EncodingId> allEncodings() {
    return {AbstractEncoding::Ascii, AbstractEncoding::Utf8, AbstractEncoding::EucJp,
            AbstractEncoding::Sjis,  AbstractEncoding::Jis,  AbstractEncoding::EucKr};
}

EncodingId resolveLabel(const std::string& label) {
    for (EncodingId id : allEncodings()) {
        if (encodingFor(id).isAliasOrName(label.c_str())) {
            return id;
        }
    }
    throw UsageError("unknown encoding label '" + label + "' (see charsetkit labels)");
}

std::string preferredName(EncodingId id) {
    const AbstractEncoding* encoding = registry().getEncodingForID(id);
    return encoding != nullptr ? encoding->getPreferedID() : "unknown";
}

std::vector<std::string> aliasesOf(EncodingId id) {
    std::vector<std::string> labels;
    for (const char* const* label = AbstractEncoding::getLabels(id);
         label != nullptr && *label != nullptr; ++label) {
        labels.emplace_back(*label);
    }
    return labels;
}

std::unique_ptr<AbstractLocale> resolveLocale(const std::string& name) {
    AbstractLocale* locale = AbstractLocale::getLocaleForName(name.c_str());
    if (locale == nullptr) {
        const std::string lower = lowerAscii(name);
        if (lower == "japanese" || lower == "jp") {
            locale = AbstractLocale::getLocaleForId(AbstractLocale::eJapanese);
        } else if (lower == "korean" || lower == "ko-kr" || lower == "ko") {
            locale = AbstractLocale::getLocaleForId(AbstractLocale::eKorean);
        } else if (lower == "utf8" || lower == "utf-8") {
            locale = AbstractLocale::getLocaleForId(AbstractLocale::eUtf8);
        }
    }
    if (locale == nullptr) {
        throw UsageError("unknown locale '" + name + "' (use japanese, korean or utf8)");
    }
    return std::unique_ptr<AbstractLocale>(locale);
}

AbstractLocale::SupportedEncodings resolveSupported(const std::string& name) {
    const std::string lower = lowerAscii(name);
    if (lower == "local") {
        return AbstractLocale::LocalOnly;
    }
    if (lower == "utf8" || lower == "utf-8") {
        return AbstractLocale::Utf8Only;
    }
    if (lower == "both") {
        return AbstractLocale::LocalAndUtf8;
    }
    throw UsageError("option --supported takes local, utf8 or both, not '" + name + "'");
}

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

std::size_t utf8CharLength(const char* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(data[k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (size < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

unsigned int utf8CodePoint(const char* data, std::size_t length) {
    const auto lead = static_cast<unsigned char>(data[0]);
    if (length <= 1) {
        return lead;
    }
    unsigned int value = lead & (0x7Fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        value = (value << 6) | (static_cast<unsigned char>(data[k]) & 0x3Fu);
    }
    return value;
}

std::string codePointName(unsigned int codePoint) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", codePoint);
    return buffer;
}

} // namespace tool
} // namespace charsetkit
