// The detection loop behind AbstractLocale::genericEncodingDetect, open to
// the library's locales. A locale that made the machines itself and shows
// them to nobody may say so: detection then need not leave the machines'
// fields as byte-by-byte reading would, only give the same answer, which
// lets a UTF-8 machine left alone to the end of the buffer be replaced by
// the vector check.
#ifndef CHARSETKIT_SRC_LOCALES_GENERICDETECTION_H
#define CHARSETKIT_SRC_LOCALES_GENERICDETECTION_H

#include <charsetkit/detectors/AbstractDetectorSM.h>
#include <charsetkit/encodings/AbstractEncoding.h>

#include <vector>

namespace charsetkit {
namespace detail {

void detectWithMachines(const char* buffer, unsigned int length, bool verifyCharacters,
                        bool rejectRedundantEscapes, int escapeRunLimit, bool scanToEnd,
                        AbstractDetectorSM* const* detectors,
                        std::vector<AbstractEncoding::EncodingID>* encodings,
                        bool machinesArePrivate);

} // namespace detail
} // namespace charsetkit

#endif
