#ifndef CHARSETKIT_LOCALES_UTF8LOCALE_H
#define CHARSETKIT_LOCALES_UTF8LOCALE_H

#include <charsetkit/locales/AbstractLocale.h>

namespace charsetkit {

/// UTF-8 text. Its detection runs the UTF-8 machine alone and it ignores the supported-encodings
/// setting.
class CHARSETKIT_EXPORT Utf8Locale : public AbstractLocale {
public:
    Utf8Locale();
    Utf8Locale(const Utf8Locale&) = default;
    Utf8Locale& operator=(const Utf8Locale&) = default;
    ~Utf8Locale() override;

    const char* getName() const override;
    const char* getShortName() const override;
    eLocalIds getID() const override;
    AbstractEncoding::EncodingID getEncoding(const char* name) const override;
    void detectAndVerifyEncoding(const char* buffer, unsigned int length, bool verifyCharacters,
                                 bool rejectRedundantEscapes, int escapeRunLimit, bool scanToEnd,
                                 std::vector<AbstractEncoding::EncodingID>* encodings) override;
    AbstractTraverser* getHtmlSafeEncodingTraverser() const override;
    AbstractTraverser* getHtmlSafeEncodingTraverser(
        const std::vector<const AbstractEncoding*>& encodings) const override;
    bool verifyUtf8(const char* buffer, unsigned int length, bool verifyCharacters,
                    bool restrictive) override;
};

} // namespace charsetkit

#endif
