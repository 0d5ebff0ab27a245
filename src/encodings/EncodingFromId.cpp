#include <charsetkit/encodings/EncodingFromId.h>

namespace charsetkit {

AbstractEncoding* EncodingFromId::getEncodingForID(AbstractEncoding::EncodingID id) {
    switch (id) {
    case AbstractEncoding::Ascii:
        return &m_ascii;
    case AbstractEncoding::Utf8:
        return &m_utf8;
    case AbstractEncoding::EucJp:
        return &m_eucJp;
    case AbstractEncoding::Sjis:
        return &m_sjis;
    case AbstractEncoding::Jis:
        return &m_jis;
    case AbstractEncoding::EucKr:
        return &m_eucKr;
    default:
        return nullptr;
    }
}

} // namespace charsetkit
