#ifndef CHARSETKIT_TOOL_STREAMCONVERT_H
#define CHARSETKIT_TOOL_STREAMCONVERT_H

// What `convert` and `verify` do with an input that arrives in pieces: the
// verification that tells where the input breaks, and the conversion by way
// of UTF-8, both in memory that does not grow with the input. For any
// cutting, the verdict and the output are those of the whole input at once.

#include "Charsets.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace charsetkit {
namespace tool {

/// The piece size `convert` reads its input in.
constexpr std::size_t kChunkSize = std::size_t{64} * 1024;

/// Why verification refused an input.
struct VerifyFailure {
    enum Kind : int {
        None,       ///< it verified
        Byte,       ///< `byte` at `offset` (on line `line`) breaks it
        EndsInside, ///< it ends inside a multi-byte character
        EndState,   ///< ISO-2022-JP that does not end in ASCII or JIS-Roman
    };
    Kind kind = None;
    std::uint64_t offset = 0; ///< the input's size for the kinds at its end
    std::uint64_t line = 0;   ///< 1-based, for Byte
    unsigned char byte = 0;
    bool operator==(const VerifyFailure& other) const {
        return kind == other.kind && offset == other.offset && line == other.line &&
               byte == other.byte;
    }
};

/// Verification of a whole input fed in pieces; an input that ends inside a
/// multi-byte character does not verify.
class PieceVerifier {
public:
    PieceVerifier(EncodingId id, bool verifyCharacters, bool rejectRedundantEscapes,
                  int escapeRunLimit);
    /// False once the input has failed (the rest need not be fed). A piece
    /// is at most UINT_MAX bytes.
    bool feed(const char* data, std::size_t size, bool last);
    const VerifyFailure& failure() const { return m_failure; }
    bool failed() const { return m_failure.kind != VerifyFailure::None; }

private:
    StreamingVerifier m_verifier;
    std::uint64_t m_lines = 0; // line feeds before the current piece
    VerifyFailure m_failure;
};

struct ConvertSettings {
    EncodingId from = AbstractEncoding::Utf8;
    EncodingId to = AbstractEncoding::Utf8;
    bool replace = false;
    bool verifyCharacters = false;
    bool rejectRedundantEscapes = false;
    int escapeRunLimit = 3;
};

/// Verification and conversion of one input fed in pieces. Encoding stops
/// at its first refusal, but decoding and verification go on to the end, so
/// that the refusal is the whole input's: an invalid input is refused as
/// invalid, then a character that cannot be decoded, then characters kept
/// as tagged codes, then the first character the output cannot hold.
class StreamConverter {
public:
    explicit StreamConverter(const ConvertSettings& settings);

    /// Verifies and converts the next piece (at most UINT_MAX bytes),
    /// appending to `out`; `last` marks the final piece. Returns false once
    /// the input has failed verification: nothing more need be fed.
    bool feed(const char* data, std::size_t size, bool last, std::string& out);

    /// After the last piece (or a false feed): refused for either reason.
    bool refused() const { return m_verifier.failed() || !m_conversionRefusal.empty(); }
    /// Why verification refused the input (kind None when it did not).
    const VerifyFailure& verifyFailure() const { return m_verifier.failure(); }
    /// Why the conversion was refused ("line 3 cannot be converted from
    /// EUC-KR to UTF-8"); empty when it was not. It counts only when the
    /// input verified: pieces before the one that breaks verification may
    /// have met a refusal that the whole input never reaches.
    const std::string& conversionRefusal() const { return m_conversionRefusal; }
    /// Characters without a Unicode mapping were met.
    bool unmapped() const { return m_unmapped; }
    /// Such characters written as tagged codes (without --replace).
    std::size_t taggedCodes() const { return m_taggedCodes; }

private:
    void convert(const char* data, std::size_t size, bool last, std::string& out);
    void encode(const char* text, std::size_t size, bool last, std::string& out);

    ConvertSettings m_settings;
    PieceVerifier m_verifier;
    StreamingDecoder m_decoder;
    StreamingEncoder m_encoder;
    std::string m_conversionRefusal; // set by the last piece
    std::string m_decodeRefusal;
    std::string m_encodeRefusal;
    bool m_unmapped = false;
    std::size_t m_taggedCodes = 0;
    std::uint64_t m_inputFed = 0;   // input bytes before the current piece
    std::uint64_t m_inputLines = 0; // line feeds among them
    std::size_t m_line = 1;         // of the text given to encode
    std::size_t m_column = 0;       // characters of that line before it
    std::string m_utf8;             // the piece as UTF-8
    std::string m_carry;            // UTF-8 input: a character the piece cut
};

} // namespace tool
} // namespace charsetkit

#endif
