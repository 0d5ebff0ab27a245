#ifndef CHARSETKIT_DETECTORS_ABSTRACTSTATELESSDETECTORSM_H
#define CHARSETKIT_DETECTORS_ABSTRACTSTATELESSDETECTORSM_H

#include <charsetkit/detectors/AbstractDetectorSM.h>

namespace charsetkit {

/// Base of the machines of encodings without shift states. Its driver feeds
/// every byte to processByte and fails at the first m_error; the end of the
/// buffer is not examined, so a buffer ending inside a character passes.
class CHARSETKIT_EXPORT AbstractStatelessDetectorSM : public AbstractDetectorSM {
public:
    bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                bool rejectRedundantEscapes, int escapeRunLimit) override;
    /// Returns false and touches nothing.
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) override;
    /// Does nothing.
    void checkLimits(bool rejectRedundantEscapes, int escapeRunLimit) override;
    /// Always true.
    bool isValidEndState() override;

protected:
    AbstractStatelessDetectorSM() = default;
    AbstractStatelessDetectorSM(const AbstractStatelessDetectorSM&) = default;
    AbstractStatelessDetectorSM& operator=(const AbstractStatelessDetectorSM&) = default;
    ~AbstractStatelessDetectorSM() = default;
};

} // namespace charsetkit

#endif
