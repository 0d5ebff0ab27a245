#include <charsetkit/locales/EncodingSniffer.h>

#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/encodings/EncodingFromId.h>
#include <charsetkit/locales/IncrementalDetector.h>

#include "locales/CharsetDeclarations.h"
#include "utilities/MissingInput.h"

#include <cstddef>
#include <cstring>

namespace charsetkit {

namespace {

using EncodingID = AbstractEncoding::EncodingID;

// How far into the bytes the page's own declaration is looked for.
constexpr std::size_t kPrescanLimit = 1024;

// Labels the web gives these encodings beyond the encodings' own alias
// lists, with the preferred name each stands for.
struct ExtraLabel {
    const char* label;
    const char* preferred;
};
constexpr ExtraLabel kExtraLabels[] = {
    {"unicode11utf8", "utf-8"}, {"unicode20utf8", "utf-8"},    {"x-unicode20utf8", "utf-8"},
    {"cp1252", "iso-8859-1"},   {"csisolatin1", "iso-8859-1"}, {"iso88591", "iso-8859-1"},
    {"l1", "iso-8859-1"},       {"x-cp1252", "iso-8859-1"},    {"x-user-defined", "iso-8859-1"},
    {"ms932", "shift_jis"},     {"windows-31j", "shift_jis"},  {"csksc56011987", "euc-kr"},
    {"iso-ir-149", "euc-kr"},   {"korean", "euc-kr"},          {"ks_c_5601-1989", "euc-kr"},
    {"windows-949", "euc-kr"},
};

// Labels of UTF-16: little-endian unless the label says otherwise.
constexpr const char* kUtf16LeLabels[] = {"csunicode",   "iso-10646-ucs-2", "ucs-2",   "unicode",
                                          "unicodefeff", "utf-16",          "utf-16le"};
constexpr const char* kUtf16BeLabels[] = {"unicodefffe", "utf-16be"};

bool equalsIgnoringCase(const std::string& text, const char* word) {
    const std::size_t n = std::strlen(word);
    if (text.size() != n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        }
        if (c != word[i]) {
            return false;
        }
    }
    return true;
}

class LocaleLabels final : public detail::LabelMapper {
public:
    explicit LocaleLabels(const AbstractLocale& locale) : m_locale(locale) {}

    detail::LabelKind map(const std::string& label, int& id) const override {
        // A NUL inside the label would cut it short as a C string.
        if (label.empty() || label.find('\0') != std::string::npos) {
            return detail::LabelKind::Unknown;
        }
        EncodingID found = m_locale.getEncoding(label.c_str());
        if (found == 0) {
            for (const ExtraLabel& extra : kExtraLabels) {
                if (equalsIgnoringCase(label, extra.label)) {
                    found = m_locale.getEncoding(extra.preferred);
                    break;
                }
            }
        }
        if (found != 0) {
            id = found;
            return detail::LabelKind::Encoding;
        }
        for (const char* utf16 : kUtf16LeLabels) {
            if (equalsIgnoringCase(label, utf16)) {
                return detail::LabelKind::Utf16Le;
            }
        }
        for (const char* utf16 : kUtf16BeLabels) {
            if (equalsIgnoringCase(label, utf16)) {
                return detail::LabelKind::Utf16Be;
            }
        }
        return detail::LabelKind::Unknown;
    }

private:
    const AbstractLocale& m_locale;
};

// Whether the bytes can be in the encoding. With more bytes to follow, a
// character cut off at the end does not count against it, and ISO-2022-JP
// need not have returned to ASCII.
bool bytesVerify(EncodingID id, const char* buffer, unsigned int length, bool moreFollows,
                 const EncodingSniffer::Options& options) {
    EncodingFromId registry;
    const AbstractEncoding* encoding = registry.getEncodingForID(id);
    if (encoding == nullptr) {
        return false;
    }
    if (moreFollows && id == AbstractEncoding::Jis) {
        JisDetectorSM machine;
        for (unsigned int i = 0; i < length; ++i) {
            machine.processByte(static_cast<unsigned char>(buffer[i]), options.verifyCharacters);
            machine.checkLimits(options.rejectRedundantEscapes, options.escapeRunLimit);
            if (machine.m_error) {
                return false;
            }
        }
        return true;
    }
    if (moreFollows && id == AbstractEncoding::EucKr) {
        // Leave out a lead byte whose trail has not arrived yet.
        unsigned int i = 0;
        while (i < length) {
            const auto byte = static_cast<unsigned char>(buffer[i]);
            if (byte < 0x7F) {
                ++i;
            } else if (i + 1 < length || byte <= 0x80 || byte == 0xFF) {
                i += 2;
            } else {
                length = i;
            }
        }
    }
    return encoding->verify(buffer, length, options.verifyCharacters,
                            options.rejectRedundantEscapes, options.escapeRunLimit);
}

void detect(const char* buffer, unsigned int length, AbstractLocale& locale, bool moreFollows,
            const EncodingSniffer::Options& options, EncodingSniffer::Result& result) {
    if (moreFollows) {
        IncrementalDetector detector(locale, options.verifyCharacters,
                                     options.rejectRedundantEscapes, options.escapeRunLimit,
                                     options.scanToEnd);
        detector.feed(buffer, length, false);
        detector.candidatesSoFar(result.candidates);
    } else {
        locale.detectAndVerifyEncoding(buffer, length, options.verifyCharacters,
                                       options.rejectRedundantEscapes, options.escapeRunLimit,
                                       options.scanToEnd, &result.candidates);
    }
    const EncodingID chosen = EncodingSniffer::preferredCandidate(result.candidates);
    if (chosen != 0) {
        result.encoding = chosen;
        result.source = EncodingSniffer::FromDetection;
        return;
    }
    const EncodingID exported = locale.getExportedEncoding();
    result.encoding = (exported >= AbstractEncoding::Ascii && exported <= AbstractEncoding::EucKr)
                          ? exported
                          : AbstractEncoding::Ascii;
    result.source = EncodingSniffer::FromDefault;
}

} // namespace

EncodingSniffer::Result EncodingSniffer::sniff(const char* buffer, unsigned int length,
                                               const char* contentType, AbstractLocale& locale,
                                               bool moreFollows) {
    return sniff(buffer, length, contentType, locale, moreFollows, Options());
}

EncodingSniffer::Result EncodingSniffer::sniff(const char* buffer, unsigned int length,
                                               const char* contentType, AbstractLocale& locale,
                                               bool moreFollows, const Options& options) {
    Result result;
    if (detail::isMissingInput(buffer, length)) {
        length = 0;
    }
    if (buffer == nullptr) {
        buffer = "";
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);

    // 1. A byte order mark.
    if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        result.encoding = AbstractEncoding::Utf8;
        result.source = FromBom;
        return result;
    }
    if (length >= 2 &&
        ((bytes[0] == 0xFE && bytes[1] == 0xFF) || (bytes[0] == 0xFF && bytes[1] == 0xFE))) {
        result.utf16 = bytes[0] == 0xFE ? Utf16BigEndian : Utf16LittleEndian;
        result.source = FromBom;
        return result;
    }

    // 2. and 3. The first declaration found.
    const LocaleLabels labels(locale);
    detail::Declaration declaration;
    std::string label;
    if (contentType != nullptr && detail::charsetParameter(contentType, label)) {
        int id = 0;
        const std::string trimmed = detail::trimLabel(label);
        const detail::LabelKind kind = labels.map(trimmed, id);
        if (kind == detail::LabelKind::Utf16Le || kind == detail::LabelKind::Utf16Be) {
            result.utf16 = kind == detail::LabelKind::Utf16Be ? Utf16BigEndian : Utf16LittleEndian;
            result.source = FromTransport;
            result.declaredIn = FromTransport;
            result.declaredLabel = trimmed;
            return result;
        }
        if (kind == detail::LabelKind::Encoding) {
            result.declaredIn = FromTransport;
            result.declaredLabel = trimmed;
            result.declaredEncoding = static_cast<EncodingID>(id);
        }
    }
    if (result.declaredIn == 0) {
        if (detail::prescanMeta(bytes, length, kPrescanLimit, labels, declaration)) {
            result.declaredIn = FromMeta;
        } else if (detail::xmlDeclaration(bytes, length, kPrescanLimit, labels, declaration)) {
            result.declaredIn = FromXml;
        }
        if (result.declaredIn != 0) {
            result.declaredLabel = declaration.label;
            result.declaredEncoding = static_cast<EncodingID>(declaration.id);
        }
    }
    if (result.declaredIn != 0) {
        if (bytesVerify(result.declaredEncoding, buffer, length, moreFollows, options)) {
            result.encoding = result.declaredEncoding;
            result.source = result.declaredIn;
            return result;
        }
        result.contradicted = true;
    }

    // 4. and 5. Detection, then the default.
    detect(buffer, length, locale, moreFollows, options, result);
    return result;
}

const char* EncodingSniffer::Result::name() const {
    if (utf16 == Utf16BigEndian) {
        return "utf-16be";
    }
    if (utf16 == Utf16LittleEndian) {
        return "utf-16le";
    }
    EncodingFromId registry;
    const AbstractEncoding* found = registry.getEncodingForID(encoding);
    return found != nullptr ? found->getPreferedID() : "";
}

const char* EncodingSniffer::Result::sourceName() const {
    return EncodingSniffer::sourceName(source);
}

const char* EncodingSniffer::sourceName(Source source) {
    switch (source) {
    case FromBom:
        return "bom";
    case FromTransport:
        return "transport";
    case FromMeta:
        return "meta";
    case FromXml:
        return "xml";
    case FromDetection:
        return "detected";
    case FromDefault:
        return "default";
    }
    return "";
}

AbstractEncoding::EncodingID
EncodingSniffer::preferredCandidate(const std::vector<AbstractEncoding::EncodingID>& candidates) {
    static constexpr EncodingID kPreference[] = {AbstractEncoding::Utf8,  AbstractEncoding::Jis,
                                                 AbstractEncoding::EucJp, AbstractEncoding::Sjis,
                                                 AbstractEncoding::EucKr, AbstractEncoding::Ascii};
    for (const EncodingID preferred : kPreference) {
        for (const EncodingID candidate : candidates) {
            if (candidate == preferred) {
                return preferred;
            }
        }
    }
    return static_cast<EncodingID>(0);
}

} // namespace charsetkit
