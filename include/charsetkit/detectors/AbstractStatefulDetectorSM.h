#ifndef CHARSETKIT_DETECTORS_ABSTRACTSTATEFULDETECTORSM_H
#define CHARSETKIT_DETECTORS_ABSTRACTSTATEFULDETECTORSM_H

#include <charsetkit/detectors/AbstractDetectorSM.h>

namespace charsetkit {

/// Base of the machines of encodings that switch character sets by escape
/// sequences. Its driver calls processByte and then checkLimits for every
/// byte, fails at the first m_error and finally asks isValidEndState.
class CHARSETKIT_EXPORT AbstractStatefulDetectorSM : public AbstractDetectorSM {
public:
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) override;
    /// Returns false and touches nothing.
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) override;
    /// Sets m_error when `rejectRedundantEscapes` is true and a redundant
    /// designation was seen, or when m_escapeRun >= `escapeRunLimit` (so a
    /// limit of 0 or less fails on the first byte).
    void checkLimits(bool rejectRedundantEscapes, int escapeRunLimit) override;

    /// Characters read since the last completed designation escape.
    int m_charsSinceEscape = 1;
    /// Designation escapes completed in a row with no character between them.
    int m_escapeRun = 0;
    /// Some designation named the set that was designated already.
    bool m_redundantEscape = false;

protected:
    AbstractStatefulDetectorSM() = default;
    AbstractStatefulDetectorSM(const AbstractStatefulDetectorSM&) = default;
    AbstractStatefulDetectorSM& operator=(const AbstractStatefulDetectorSM&) = default;
    ~AbstractStatefulDetectorSM() = default;
};

} // namespace charsetkit

#endif
