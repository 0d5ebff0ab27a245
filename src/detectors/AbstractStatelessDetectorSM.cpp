#include <charsetkit/detectors/AbstractStatelessDetectorSM.h>

#include "utilities/MissingInput.h"

namespace charsetkit {

bool AbstractStatelessDetectorSM::verify(const char* buffer, unsigned int length,
                                         bool verifyCharacters, bool /*rejectRedundantEscapes*/,
                                         int /*escapeRunLimit*/) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // The end state is not examined: a buffer that stops inside a character
    // passes.
    for (unsigned int i = 0; i < length; ++i) {
        processByte(static_cast<unsigned char>(buffer[i]), verifyCharacters);
        if (m_error) {
            return false;
        }
    }
    return true;
}

bool AbstractStatelessDetectorSM::convertToUtf8(const char* /*buffer*/, unsigned int /*length*/,
                                                std::string& /*result*/, bool& /*unmapped*/,
                                                bool /*useReplacement*/) {
    return false;
}

void AbstractStatelessDetectorSM::checkLimits(bool /*rejectRedundantEscapes*/,
                                              int /*escapeRunLimit*/) {}

bool AbstractStatelessDetectorSM::isValidEndState() {
    return true;
}

} // namespace charsetkit
