#ifndef CHARSETKIT_LOCALES_ABSTRACTLOCALE_H
#define CHARSETKIT_LOCALES_ABSTRACTLOCALE_H

#include <charsetkit/encodings/AbstractEncoding.h>

#include <vector>

namespace charsetkit {

class AbstractDetectorSM;
class AbstractTraverser;

/// A family of text a caller expects (UTF-8, Japanese or Korean text): it
/// detects and verifies the encoding of a buffer, maps charset labels to
/// encodings and hands out traversers safe for scanning mark-up.
///
/// Locale objects are used by one thread at a time. The process-wide
/// settings (setSupportedEncodings and the JapaneseLocale switches) may be
/// changed from any thread; another thread sees the old or the new value at
/// each read.
class CHARSETKIT_EXPORT AbstractLocale {
public:
    enum eLocalIds : int { eUtf8 = 1, eJapanese = 2, eKorean = 3 };
    /// Which encodings the Japanese and Korean locales consider besides ASCII.
    enum SupportedEncodings : int { LocalOnly = 0, Utf8Only = 1, LocalAndUtf8 = 2 };

    AbstractLocale() = default;
    AbstractLocale(const AbstractLocale&) = default;
    AbstractLocale& operator=(const AbstractLocale&) = default;
    virtual ~AbstractLocale();

    virtual const char* getName() const = 0;
    virtual const char* getShortName() const = 0;
    virtual eLocalIds getID() const = 0;
    /// The encoding a charset label names in this locale, or 0.
    virtual AbstractEncoding::EncodingID getEncoding(const char* name) const = 0;
    /// Empties `encodings`, then appends the encodings the buffer can be in.
    virtual void detectAndVerifyEncoding(const char* buffer, unsigned int length,
                                         bool verifyCharacters, bool rejectRedundantEscapes,
                                         int escapeRunLimit, bool scanToEnd,
                                         std::vector<AbstractEncoding::EncodingID>* encodings) = 0;
    /// A new traverser safe for mark-up of this locale, owned by the caller.
    virtual AbstractTraverser* getHtmlSafeEncodingTraverser() const = 0;
    /// A new traverser for text in the given encodings, owned by the caller;
    /// may be null (see the locale).
    virtual AbstractTraverser*
    getHtmlSafeEncodingTraverser(const std::vector<const AbstractEncoding*>& encodings) const = 0;
    /// Whether the buffer is valid UTF-8 by the locale's standard.
    virtual bool verifyUtf8(const char* buffer, unsigned int length, bool verifyCharacters,
                            bool restrictive) = 0;
    virtual AbstractEncoding::EncodingID getExportedEncoding();
    virtual void setExportedEncoding(AbstractEncoding::EncodingID encoding);

    void useRestrictiveUtf8(bool restrictive);
    /// Whether the restricted UTF-8 rules were asked for (useRestrictiveUtf8).
    bool usesRestrictiveUtf8() const { return m_restrictiveUtf8; }

    static void setSupportedEncodings(SupportedEncodings supported);
    static SupportedEncodings getSupportedEncodings();

    /// A new locale for one of the exact names "Japanese", "jp", "Korean",
    /// "ko-Kr", "Utf8", "utf8" (case-sensitive), owned by the caller; else null.
    static AbstractLocale* getLocaleForName(const char* name);
    /// A new locale for identifier 1, 2 or 3, owned by the caller; else null.
    static AbstractLocale* getLocaleForId(eLocalIds id);

protected:
    void genericEncodingDetect(const char* buffer, unsigned int length, bool verifyCharacters,
                               bool rejectRedundantEscapes, int escapeRunLimit, bool scanToEnd,
                               AbstractDetectorSM* const* detectors,
                               std::vector<AbstractEncoding::EncodingID>* encodings);
    static void removeFromArray(AbstractDetectorSM** detectors, int index);

    bool m_restrictiveUtf8 = false;
    AbstractEncoding::EncodingID m_exportedEncoding = static_cast<AbstractEncoding::EncodingID>(0);
};

} // namespace charsetkit

#endif
