#include <charsetkit/detectors/AbstractStatefulDetectorSM.h>

#include "utilities/MissingInput.h"

namespace charsetkit {

bool AbstractStatefulDetectorSM::verify(const char* buffer, unsigned int length,
                                        bool verifyCharacters, bool rejectRedundantEscapes,
                                        int escapeRunLimit) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    for (unsigned int i = 0; i < length; ++i) {
        processByte(static_cast<unsigned char>(buffer[i]), verifyCharacters);
        checkLimits(rejectRedundantEscapes, escapeRunLimit);
        if (m_error) {
            return false;
        }
    }
    return isValidEndState();
}

bool AbstractStatefulDetectorSM::convertToUtf8(const char* /*buffer*/, unsigned int /*length*/,
                                               std::string& /*result*/, bool& /*unmapped*/,
                                               bool /*useReplacement*/) {
    return false;
}

void AbstractStatefulDetectorSM::checkLimits(bool rejectRedundantEscapes, int escapeRunLimit) {
    if ((rejectRedundantEscapes && m_redundantEscape) || m_escapeRun >= escapeRunLimit) {
        m_error = true;
    }
}

} // namespace charsetkit
