#ifndef CHARSETKIT_LOCALES_ENCODINGSNIFFER_H
#define CHARSETKIT_LOCALES_ENCODINGSNIFFER_H

#include <charsetkit/encodings/AbstractEncoding.h>
#include <charsetkit/locales/AbstractLocale.h>

#include <string>
#include <vector>

namespace charsetkit {

/// One encoding for a response (an HTTP body, a mail part, a file), from
/// everything its bytes and its transport declare, with the reason.
///
/// sniff() decides in this order, the first step that gives an answer
/// winning:
///  1. A byte order mark: EF BB BF is UTF-8; FE FF and FF FE are UTF-16
///     (big- and little-endian), which the library does not convert: the
///     result names UTF-16 with `encoding` 0 instead of guessing another
///     encoding.
///  2. The transport's declaration: the charset parameter of a Content-Type
///     header value (e.g. `text/html; Charset="shift_jis"`). Parameters may
///     come in any order with optional whitespace; the name is compared
///     without regard to case; the value is a token or a quoted string
///     (backslash escapes the next character). A label naming UTF-16 gives
///     UTF-16 from the transport.
///  3. The page's own declaration, in the first 1024 bytes: the HTML prescan
///     for <meta charset=...> or <meta http-equiv="content-type"
///     content="...; charset=...">, skipping comments and the attributes of
///     other tags and going on past a label it does not know; when it finds
///     nothing, the encoding of an XML declaration (<?xml ... encoding=...?>)
///     at the very start. A UTF-16 label there stands for UTF-8.
///  4. Detection: the locale's detectAndVerifyEncoding with the options
///     below. One candidate is the answer; of several, the first in the
///     fixed preference order UTF-8, ISO-2022-JP, EUC-JP, Shift_JIS, EUC-KR,
///     Western. The order puts first the encodings whose valid text is least
///     likely to arise by chance: UTF-8 sequences follow strict rules,
///     ISO-2022-JP needs escape sequences, and EUC-JP text (pairs of bytes
///     0xA1-0xFE) also reads as Shift_JIS half-width katakana and pairs far
///     more often than the reverse.
///  5. The locale's default: its exported encoding (getExportedEncoding:
///     Shift_JIS for a new Japanese locale, EUC-KR for a new Korean one),
///     or Western for a locale without one (the UTF-8 locale), since every
///     byte reads as a Western character.
///
/// Labels: leading and trailing ASCII whitespace is removed and the label is
/// mapped through the locale's getEncoding (so the locale and the
/// supported-encodings setting decide which encodings a declaration can
/// name); a label the locale does not know is also tried as one of the
/// other labels the web uses for these encodings (e.g. "windows-31j",
/// "cp1252", "korean"). A label that maps to nothing is ignored, as if not
/// there.
///
/// A declaration (2 or 3) is trusted only when the bytes verify in its
/// encoding (with the options below); otherwise it is contradicted:
/// detection decides, and the result keeps the declared label and encoding
/// with `contradicted` set. Only the first declaration found is weighed; a
/// contradicted transport label does not give way to a <meta>.
///
/// `moreFollows` says that the bytes are only the first part of the
/// response. Then a character or escape sequence cut off at the end of the
/// bytes does not rule an encoding out, neither in the check of a
/// declaration nor in detection (which then gives what an
/// IncrementalDetector fed these bytes leaves possible), and ISO-2022-JP
/// need not be back in ASCII yet. Without it, the bytes are the whole
/// response and detection is the locale's own.
///
/// The function keeps no state; it reads the process-wide settings as the
/// locale does. The locale is used by this call only.
class CHARSETKIT_EXPORT EncodingSniffer {
public:
    /// What decided the encoding.
    enum Source : int {
        FromBom = 1,
        FromTransport = 2,
        FromMeta = 3,
        FromXml = 4,
        FromDetection = 5,
        FromDefault = 6
    };
    /// UTF-16, which has no EncodingID.
    enum Utf16Form : int { NotUtf16 = 0, Utf16BigEndian = 1, Utf16LittleEndian = 2 };

    /// Detection and verification parameters, as detectAndVerifyEncoding
    /// takes them.
    struct Options {
        bool verifyCharacters = true;
        bool rejectRedundantEscapes = false;
        int escapeRunLimit = 3;
        bool scanToEnd = false;
    };

    struct Result {
        /// The encoding; 0 only when `utf16` names UTF-16.
        AbstractEncoding::EncodingID encoding = static_cast<AbstractEncoding::EncodingID>(0);
        Utf16Form utf16 = NotUtf16;
        Source source = FromDefault;
        /// The declaration weighed (transport, meta or xml), if any: where it
        /// stood, its label with surrounding whitespace removed, and the
        /// encoding the label names (0 for UTF-16 from the transport).
        Source declaredIn = static_cast<Source>(0);
        std::string declaredLabel;
        AbstractEncoding::EncodingID declaredEncoding =
            static_cast<AbstractEncoding::EncodingID>(0);
        /// The bytes do not verify in the declared encoding; `encoding` and
        /// `source` say what decided instead.
        bool contradicted = false;
        /// What detection left, in its own order, when detection ran (also
        /// when the default decided); empty when a byte order mark or a
        /// trusted declaration decided.
        std::vector<AbstractEncoding::EncodingID> candidates;

        /// The preferred charset name: "utf-16be" or "utf-16le" for UTF-16,
        /// otherwise the encoding's (e.g. "shift_jis"). A static string.
        const char* name() const;
        /// "bom", "transport", "meta", "xml", "detected" or "default".
        const char* sourceName() const;
    };

    /// Sniffs `length` bytes at `buffer` (null is accepted with length 0)
    /// with the Content-Type value `contentType` (null or "" for none).
    static Result sniff(const char* buffer, unsigned int length, const char* contentType,
                        AbstractLocale& locale, bool moreFollows, const Options& options);
    /// The same with the default Options.
    static Result sniff(const char* buffer, unsigned int length, const char* contentType,
                        AbstractLocale& locale, bool moreFollows);

    /// The name of a source as sourceName() gives it; "" for other values.
    static const char* sourceName(Source source);
    /// The one encoding the tie rule picks from detection's candidates; 0
    /// for none.
    static AbstractEncoding::EncodingID
    preferredCandidate(const std::vector<AbstractEncoding::EncodingID>& candidates);
};

} // namespace charsetkit

#endif
