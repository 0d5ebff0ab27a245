#ifndef CHARSETKIT_LOCALES_KOREANLOCALE_H
#define CHARSETKIT_LOCALES_KOREANLOCALE_H

#include <charsetkit/locales/AbstractLocale.h>

namespace charsetkit {

/// Korean text: EUC-KR and UTF-8 (as the supported-encodings setting allows).
class CHARSETKIT_EXPORT KoreanLocale : public AbstractLocale {
public:
    KoreanLocale();
    KoreanLocale(const KoreanLocale&) = default;
    KoreanLocale& operator=(const KoreanLocale&) = default;
    ~KoreanLocale() override;

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
