#ifndef CHARSETKIT_ENCODINGS_ABSTRACTENCODING_H
#define CHARSETKIT_ENCODINGS_ABSTRACTENCODING_H

#include <charsetkit/charsetkit_export.h>

#include <string>

namespace charsetkit {

class AbstractTraverser;

/// The interface of every character encoding the library knows.
///
/// Encoding objects hold no data: all instances of one class are
/// interchangeable, every operation is const and keeps its working state on
/// the stack, and any number of threads may use one object at once.
/// Names returned by the getters are static strings owned by the library.
class CHARSETKIT_EXPORT AbstractEncoding {
public:
    /// Identifies an encoding. 0 stands for "no encoding" where an operation
    /// returns one; values outside 1..6 name nothing.
    enum EncodingID : int { Ascii = 1, Utf8 = 2, EucJp = 3, Sjis = 4, Jis = 5, EucKr = 6 };

    AbstractEncoding() = default;
    AbstractEncoding(const AbstractEncoding&) = default;
    AbstractEncoding& operator=(const AbstractEncoding&) = default;
    virtual ~AbstractEncoding();

    /// The name for people, e.g. "Western".
    virtual const char* getDisplayName() const = 0;
    /// The preferred charset name: the first entry of the alias table.
    virtual const char* getPreferedID() const = 0;
    /// The name of the encoding in the Java runtime's charset naming.
    virtual const char* getJavaName() const = 0;
    /// True when `name` equals one of the encoding's charset labels,
    /// ignoring the case of ASCII letters. Null and "" match nothing.
    virtual bool isAliasOrName(const char* name) const = 0;
    /// True when the encoding's bytes are taken as UTF-8 unchanged.
    virtual bool isKindOfUtf8() const;
    /// True only for the Western (ASCII / ISO-8859-1) encoding.
    virtual bool isAscii() const;
    /// True when the meaning of a byte depends on escape sequences before it.
    virtual bool isStateful() const = 0;
    /// A new, unbound traverser for text in this encoding, owned by the
    /// caller (delete it); null if allocation fails.
    virtual AbstractTraverser* getExactEncodingTraverser() const = 0;
    /// Converts `length` bytes at `buffer` to UTF-8 into `result`.
    /// `unmapped` reports characters without a Unicode mapping and
    /// `useReplacement` chooses what such a character becomes; each encoding
    /// says how it uses them. Every encoding answers false, leaving `result`
    /// and `unmapped` untouched, for a null `buffer` with a non-zero length;
    /// a null `buffer` with length 0 is an empty text. What else fails, and
    /// what `result` then holds, is part of each encoding's own contract.
    virtual bool convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                               bool& unmapped, bool useReplacement) const = 0;
    /// Converts UTF-8 input into this encoding in `result`. False when the
    /// text cannot be produced in this encoding (each encoding says when);
    /// a null `buffer` with a non-zero length always fails.
    virtual bool convertFromUtf8(const char* buffer, unsigned int length,
                                 std::string& result) const = 0;
    /// True when the buffer is valid in this encoding. `verifyCharacters`
    /// also looks each complete multi-byte character up in the code tables;
    /// the two escape limits apply to the stateful encoding only. An empty
    /// buffer verifies; a null `buffer` with a non-zero length does not.
    /// Each encoding says whether a buffer may end inside a character.
    virtual bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                        bool rejectRedundantEscapes, int escapeRunLimit) const = 0;

    /// The charset labels of encoding `id` (1 to 6): a null-terminated array
    /// of static strings owned by the library, the preferred name first, in
    /// the order isAliasOrName() knows them. Null for any other `id`.
    static const char* const* getLabels(EncodingID id);

    /// Where verification of the buffer in encoding `id` fails: the largest
    /// N such that verify() of the first N bytes, with the same flags, is
    /// true. It equals `length` exactly when the whole buffer verifies, and
    /// is the offset of the first byte that verification cannot accept
    /// otherwise (for an encoding that rejects a cut-off character, the
    /// start of that character). 0 for a null `buffer` and for an `id`
    /// outside 1 to 6. Takes one pass over the buffer; thread-safe.
    static unsigned int getVerifiedLength(EncodingID id, const char* buffer, unsigned int length,
                                          bool verifyCharacters, bool rejectRedundantEscapes,
                                          int escapeRunLimit);

protected:
    /// True when `name` matches an entry of the null-terminated `aliases`
    /// table, compared without regard to ASCII case.
    static bool generalCheckAliases(const char* name, const char* const* aliases);
};

} // namespace charsetkit

#endif
