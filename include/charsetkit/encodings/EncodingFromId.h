#ifndef CHARSETKIT_ENCODINGS_ENCODINGFROMID_H
#define CHARSETKIT_ENCODINGS_ENCODINGFROMID_H

#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>

namespace charsetkit {

/// The registry from identifier to encoding. It holds one instance of each
/// encoding; the pointers it returns belong to it and stay valid while it
/// lives. Stateless: any number of threads may use one object at once.
class CHARSETKIT_EXPORT EncodingFromId {
public:
    EncodingFromId() = default;
    EncodingFromId(const EncodingFromId&) {}
    EncodingFromId& operator=(const EncodingFromId&) { return *this; }
    ~EncodingFromId() = default;

    /// The member for `id` (1 to 6), or null for any other value.
    AbstractEncoding* getEncodingForID(AbstractEncoding::EncodingID id);

private:
    AsciiEncoding m_ascii;
    Utf8Encoding m_utf8;
    EucJpEncoding m_eucJp;
    SjisEncoding m_sjis;
    JisEncoding m_jis;
    EucKrEncoding m_eucKr;
};

} // namespace charsetkit

#endif
