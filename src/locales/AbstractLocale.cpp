#include <charsetkit/locales/AbstractLocale.h>

#include "locales/Settings.h"

namespace charsetkit {

AbstractLocale::~AbstractLocale() = default;

AbstractEncoding::EncodingID AbstractLocale::getExportedEncoding() {
    return m_exportedEncoding;
}

void AbstractLocale::setExportedEncoding(AbstractEncoding::EncodingID encoding) {
    m_exportedEncoding = encoding;
}

void AbstractLocale::useRestrictiveUtf8(bool restrictive) {
    m_restrictiveUtf8 = restrictive;
}

void AbstractLocale::setSupportedEncodings(SupportedEncodings supported) {
    settings::g_supportedEncodings.store(static_cast<int>(supported), std::memory_order_relaxed);
}

AbstractLocale::SupportedEncodings AbstractLocale::getSupportedEncodings() {
    return static_cast<SupportedEncodings>(settings::supportedEncodings());
}

} // namespace charsetkit
