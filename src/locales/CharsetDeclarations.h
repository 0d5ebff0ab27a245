// Where a document or its transport declares a charset: the charset
// parameter of an HTTP Content-Type value, a <meta> in the opening bytes of an
// HTML page (the HTML prescan), and the encoding of an XML declaration. The
// functions find the labels; mapping a label to an encoding is the caller's,
// through a LabelMapper, so that the prescan can go on past a label the
// caller does not know.
#ifndef CHARSETKIT_SRC_LOCALES_CHARSETDECLARATIONS_H
#define CHARSETKIT_SRC_LOCALES_CHARSETDECLARATIONS_H

#include <cstddef>
#include <string>

namespace charsetkit {
namespace detail {

/// What a label names, as far as the declarations are concerned.
enum class LabelKind { Unknown, Encoding, Utf16Le, Utf16Be };

/// Maps a label (leading and trailing ASCII whitespace already removed) to
/// what it names; `id` receives the encoding for LabelKind::Encoding.
struct LabelMapper {
    virtual LabelKind map(const std::string& label, int& id) const = 0;

protected:
    ~LabelMapper() = default;
};

/// A label with the leading and trailing ASCII whitespace (TAB, LF, FF, CR,
/// space) removed.
std::string trimLabel(const std::string& label);

/// The value of the first `charset` parameter of a Content-Type header
/// value, parsed as HTTP parameters are: parameters follow the media type
/// after ';', in any order, with optional whitespace around them; names are
/// compared without regard to ASCII case; a value is a token or a
/// quoted-string whose backslash escapes stand for the next character.
/// False when there is no such parameter or its value is empty.
bool charsetParameter(const char* value, std::string& label);

/// What a declaration found by the prescan or the XML declaration gave.
struct Declaration {
    LabelKind kind = LabelKind::Unknown;
    int id = 0;
    std::string label; // the label as written, whitespace removed
};

/// The HTML prescan for a <meta> that declares an encoding, over at most the
/// first `limit` bytes: comments are skipped; <meta charset> is taken, and
/// <meta content="...; charset=..."> only together with http-equiv
/// "content-type"; the attributes of other tags are skipped; a label the
/// mapper does not know is ignored and the scan goes on. A label naming
/// UTF-16 stands for UTF-8 here (a page that can be prescanned is not
/// UTF-16). Running out of bytes ends the scan without a result.
bool prescanMeta(const unsigned char* bytes, std::size_t length, std::size_t limit,
                 const LabelMapper& mapper, Declaration& found);

/// The encoding of an XML declaration at the very start of the bytes
/// (<?xml ... encoding="label" ... ?>), within at most `limit` bytes; a
/// label naming UTF-16 stands for UTF-8. False when there is none or its
/// label is unknown.
bool xmlDeclaration(const unsigned char* bytes, std::size_t length, std::size_t limit,
                    const LabelMapper& mapper, Declaration& found);

} // namespace detail
} // namespace charsetkit

#endif
