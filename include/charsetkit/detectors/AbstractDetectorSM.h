#ifndef CHARSETKIT_DETECTORS_ABSTRACTDETECTORSM_H
#define CHARSETKIT_DETECTORS_ABSTRACTDETECTORSM_H

#include <charsetkit/encodings/AbstractEncoding.h>

#include <string>

namespace charsetkit {

/// A state machine for one encoding, fed a buffer one byte at a time. After
/// every byte its public fields tell whether the bytes so far can still be in
/// the encoding (!m_error), whether a character typical of it has been seen
/// (m_confirmed) and whether it stands inside a multi-byte character or an
/// escape sequence (m_inChar). Machines are small value objects built on the
/// caller's stack for one buffer; they allocate nothing. A machine keeps
/// following its transitions after a failure; m_error and m_confirmed never
/// go back to false.
class CHARSETKIT_EXPORT AbstractDetectorSM {
public:
    /// Advances the machine by one byte. `verifyCharacters` also looks each
    /// completed multi-byte character up in the code tables.
    virtual void processByte(unsigned char byte, bool verifyCharacters) = 0;
    /// Runs the machine over a whole buffer; true when the buffer is valid.
    virtual bool verify(const char* buffer, unsigned int length, bool verifyCharacters,
                        bool rejectRedundantEscapes, int escapeRunLimit) = 0;
    /// Drives the machine over a buffer and appends its text to `result` as
    /// UTF-8. Only the Japanese machines convert; the others return false and
    /// touch nothing.
    virtual bool convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                               bool& unmapped, bool useReplacement) = 0;
    /// Per-byte check of the escape-sequence limits (stateful machines).
    virtual void checkLimits(bool rejectRedundantEscapes, int escapeRunLimit) = 0;
    /// Whether the input may end in the machine's present state.
    virtual bool isValidEndState() = 0;
    /// The encoding the machine stands for.
    virtual AbstractEncoding::EncodingID getEncodingID() = 0;

    bool m_error = false;
    bool m_confirmed = false;
    bool m_inChar = false;

protected:
    AbstractDetectorSM() = default;
    AbstractDetectorSM(const AbstractDetectorSM&) = default;
    AbstractDetectorSM& operator=(const AbstractDetectorSM&) = default;
    // Machines are never deleted through a base pointer; they live on the stack.
    ~AbstractDetectorSM() = default;
};

} // namespace charsetkit

#endif
