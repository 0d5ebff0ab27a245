#include "Charsets.h"

#include "Cli.h"

namespace charsetkit {
namespace tool {

namespace {

EncodingFromId& registry() {
    static EncodingFromId encodings;
    return encodings;
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

const AbstractEncoding* findEncoding(EncodingId id) {
    return registry().getEncodingForID(id);
}

const AbstractEncoding& encodingFor(EncodingId id) {
    return *findEncoding(id);
}

std::vector<EncodingId> allEncodings() {
    return {AbstractEncoding::Ascii, AbstractEncoding::Utf8, AbstractEncoding::EucJp,
            AbstractEncoding::Sjis,  AbstractEncoding::Jis,  AbstractEncoding::EucKr};
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

} // namespace tool
} // namespace charsetkit
