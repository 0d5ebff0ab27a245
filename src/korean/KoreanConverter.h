// The conversion service behind KoreanUtil: the library's code page 949
// tables serve it (Cp949Converter); tests put other implementations behind
// the singleton.
#ifndef CHARSETKIT_SRC_KOREAN_KOREANCONVERTER_H
#define CHARSETKIT_SRC_KOREAN_KOREANCONVERTER_H

#include <cstddef>
#include <string>

namespace charsetkit {

/// Converts between EUC-KR (code page 949 layout) and UTF-8.
///
/// Both operations either succeed completely, replacing `output` with the
/// whole converted text, or return false and leave `output` untouched: when
/// the converter is unavailable, when the input is invalid or incomplete at
/// its end, when a character has no mapping in the target, and when memory
/// runs out. Nothing is substituted, and nothing is skipped but what an
/// implementation names (the language tags U+E0000-U+E007F in UTF-8 input).
///
/// Implementations keep no mutable state, so one object may serve any
/// number of threads at once. `input` may be null when `length` is 0.
class KoreanConverter {
public:
    KoreanConverter(const KoreanConverter&) = delete;
    KoreanConverter& operator=(const KoreanConverter&) = delete;

    virtual bool eucKrToUtf8(const unsigned char* input, std::size_t length,
                             std::string& output) const = 0;
    virtual bool utf8ToEucKr(const unsigned char* input, std::size_t length,
                             std::string& output) const = 0;

protected:
    constexpr KoreanConverter() = default;
    // Not virtual and protected: converters are never deleted through this
    // interface, and a trivial destructor lets a converter be a constant
    // static object with nothing to run at load or exit time.
    ~KoreanConverter() = default;
};

} // namespace charsetkit

#endif
