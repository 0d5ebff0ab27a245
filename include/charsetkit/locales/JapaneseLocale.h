#ifndef CHARSETKIT_LOCALES_JAPANESELOCALE_H
#define CHARSETKIT_LOCALES_JAPANESELOCALE_H

#include <charsetkit/locales/AbstractLocale.h>

namespace charsetkit {

/// Japanese text: ISO-2022-JP, Shift_JIS, EUC-JP and UTF-8 (as the supported-encodings setting
/// allows).
class CHARSETKIT_EXPORT JapaneseLocale : public AbstractLocale {
public:
    JapaneseLocale();
    JapaneseLocale(const JapaneseLocale&) = default;
    JapaneseLocale& operator=(const JapaneseLocale&) = default;
    ~JapaneseLocale() override;

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

    // Process-wide switches, read by the code tables, detectors and
    // traversers at each use.
    /// Shift_JIS single-byte katakana 0xA1-0xDF and the EUC-JP prefix 0x8E
    /// are accepted only when true. Initially true.
    static void setSupportSingleByteKana(bool support);
    static bool getSupportSingleByteKana();
    /// The EUC-JP prefix 0x8F (JIS X 0212) is accepted only when true.
    /// Initially true.
    static void setSupportSupplementaryKanji(bool support);
    static bool getSupportSupplementaryKanji();
    /// The code page 932 extension codes take part in the JIS X 0208
    /// lookups only when true. Initially true.
    static void setSupportSjisExtensions(bool support);
    static bool getSupportSjisExtensions();
    /// ISO-2022-JP double-byte characters may also use bytes 0x93-0x97 when
    /// true. Initially false.
    static void setSupportJisExtendedRange(bool support);
    static bool getSupportJisExtendedRange();
};

} // namespace charsetkit

#endif
