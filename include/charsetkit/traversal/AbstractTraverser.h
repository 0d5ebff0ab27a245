#ifndef CHARSETKIT_TRAVERSAL_ABSTRACTTRAVERSER_H
#define CHARSETKIT_TRAVERSAL_ABSTRACTTRAVERSER_H

#include <charsetkit/charsetkit_export.h>

#include <string>

namespace charsetkit {

class TraverserScan;

/// Walks through a caller-owned byte buffer and rests only on stops: bytes
/// that stand for themselves as characters of the ASCII range in the
/// buffer's encoding. Bytes of multi-byte characters, shifted stretches and
/// other non-ASCII material are stepped over, and skipped() tells whether the
/// last step passed over any.
///
/// The traverser never owns, copies or writes the buffer: it keeps pointers
/// into the caller's storage, which must stay alive and unchanged while it is
/// used. After binding, the position is always a stop inside the buffer or
/// the end (isEnd()). Calling advance() at the end leaves the position at the
/// end. A traverser is used by one thread at a time.
class CHARSETKIT_EXPORT AbstractTraverser {
public:
    AbstractTraverser() = default;
    AbstractTraverser(const AbstractTraverser&) = default;
    AbstractTraverser& operator=(const AbstractTraverser&) = default;
    virtual ~AbstractTraverser();

    /// Binds the string's own bytes (nothing is copied: the string must stay
    /// unchanged while the traverser is used) and moves to the first stop.
    virtual void setNewBuffer(const std::string& buffer);
    /// Binds `length` bytes at `buffer` and moves to the first stop. A
    /// negative length binds an empty buffer.
    virtual void setNewBuffer(const char* buffer, int length);
    /// Moves to the next stop and returns it; when there is none, moves to
    /// the end and returns the end. At the end it stays at the end.
    virtual const char* advance() = 0;
    /// True when the most recent advance (the one made while binding
    /// included) stepped over at least one byte that is not a stop.
    virtual bool skipped() const;
    /// A new, unbound traverser of the same class, owned by the caller; null
    /// when allocation fails.
    virtual AbstractTraverser* createNew() const = 0;

    const char* getBufferStart() const { return m_bufferStart; }
    const char* getBufferEnd() const { return m_bufferEnd; }
    const char* getPos() const { return m_pos; }
    /// The position equals the first byte of the buffer.
    bool isStart() const { return m_pos == m_bufferStart; }
    /// The position is at the end of the buffer.
    bool isEnd() const { return m_pos == m_bufferEnd; }

protected:
    /// Called while binding, before the first stop is sought.
    virtual void resetStateToAscii() = 0;

public:
    /// Moves to the next stop that holds `byte`, or to the end when no later
    /// stop holds it, and returns the new position. The result is exactly
    /// that of calling advance() at least once and then again while the
    /// position is not the end and its byte differs from `byte`: the same
    /// position, and skipped() telling what the last of those steps passed
    /// over. At the end it stays at the end. The library's traversers find
    /// the byte with a block search wherever their encoding allows it (every
    /// ASCII byte is a stop in UTF-8 and EUC text; bytes below 0x40 never end
    /// a Shift_JIS character; ISO-2022-JP text is searched between its escape
    /// sequences; UTF-16 code units are checked where the byte is found);
    /// elsewhere they step as advance() does, without a call per stop.
    virtual const char* advanceTo(char byte);

protected:
    /// True between binding and the first advance: the position then stands
    /// for "one before the first byte", held as a null m_pos so that no
    /// pointer before the buffer is ever formed.
    bool beforeFirstByte() const { return m_pos == nullptr; }
    /// The position after the current one, staying within the buffer.
    const char* nextPosition() const {
        if (m_pos == nullptr) {
            return m_bufferStart;
        }
        // The position never lies past the end; at the end it stays there.
        return m_pos + (m_pos != m_bufferEnd ? 1 : 0);
    }

    const char* m_bufferStart = nullptr;
    const char* m_bufferEnd = nullptr;
    const char* m_pos = nullptr;
    bool m_bufferSet = false;
    bool m_skipped = false;

private:
    // The library's whole-buffer scans read and place positions directly.
    friend class TraverserScan;
};

} // namespace charsetkit

#endif
