#ifndef CHARSETKIT_KOREAN_KOREANUTIL_H
#define CHARSETKIT_KOREAN_KOREANUTIL_H

#include <charsetkit/charsetkit_export.h>

#include <string>

namespace charsetkit {

class KoreanConverter;
class KoreanUtilAccess;

/// The process-wide Korean service: validates EUC-KR by itself and converts
/// between EUC-KR and UTF-8 through its own code page 949 tables. Created on
/// first use (thread-safe) and never destroyed; all operations may be called
/// from any thread.
class CHARSETKIT_EXPORT KoreanUtil {
public:
    static KoreanUtil* getInstance();

    /// True when the buffer is well-formed EUC-KR in the code page 949 layout:
    /// bytes below 0x7F alone, or a lead 0x81-0xFE followed by a trail in
    /// 0x41-0x5A, 0x61-0x7A or 0x81-0xFE. An empty buffer is well-formed.
    bool isEucKrCharSet(const unsigned char* buffer, unsigned int length);
    /// EUC-KR to UTF-8. True with `output` replaced; false with `output`
    /// untouched when the converter is unavailable or the input is invalid
    /// or unmappable.
    bool convertToUtf8(const unsigned char* input, unsigned int length, std::string& output);
    /// UTF-8 to EUC-KR, with the same contract.
    bool convertFromUtf8(const unsigned char* input, unsigned int length, std::string& output);

    KoreanUtil(const KoreanUtil&) = delete;
    KoreanUtil& operator=(const KoreanUtil&) = delete;

private:
    friend class KoreanUtilAccess;

    KoreanUtil();
    ~KoreanUtil();

    // The converter behind both conversions; null when there is none.
    const KoreanConverter* m_converter;
};

} // namespace charsetkit

#endif
