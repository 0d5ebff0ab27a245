#include <charsetkit/traversal/JisTraverser.h>

#include "traversal/TraverserScan.h"

#include <cstddef>
#include <cstring>
#include <new>

namespace charsetkit {

namespace {

constexpr char kEsc = '\x1B';

// Where the escape sequence at `esc` leads, read as the ISO-2022-JP machine
// reads it.
enum class Escape {
    Ascii,   // ESC ( B or ESC ( J: back to single-byte mode
    Shifted, // ESC ( I, ESC $ @, ESC $ B or ESC $ ( D: katakana or two-byte mode
    Broken,  // any other byte where the sequence needs one of those
    Cut      // the buffer ends inside the sequence
};

struct EscapeRead {
    Escape kind;
    const char* next; // the byte after a complete sequence
};

EscapeRead readEscape(const char* esc, const char* end) {
    const char* p = esc + 1;
    if (p == end) {
        return {Escape::Cut, end};
    }
    if (*p == '(') {
        ++p;
        if (p == end) {
            return {Escape::Cut, end};
        }
        if (*p == 'B' || *p == 'J') {
            return {Escape::Ascii, p + 1};
        }
        if (*p == 'I') {
            return {Escape::Shifted, p + 1};
        }
        return {Escape::Broken, esc};
    }
    if (*p != '$') {
        return {Escape::Broken, esc};
    }
    ++p;
    if (p == end) {
        return {Escape::Cut, end};
    }
    if (*p == '@' || *p == 'B') {
        return {Escape::Shifted, p + 1};
    }
    if (*p != '(') {
        return {Escape::Broken, esc};
    }
    ++p;
    if (p == end) {
        return {Escape::Cut, end};
    }
    if (*p == 'D') {
        return {Escape::Shifted, p + 1};
    }
    return {Escape::Broken, esc};
}

} // namespace

JisTraverser::~JisTraverser() = default;

// From the byte after the current position, in ASCII mode: a byte read in
// single-byte mode (ASCII or JIS-Roman) is a stop, ESC included only when its
// sequence is broken. Katakana and two-byte modes step over every byte but
// ESC, however the bytes pair up. A broken sequence makes its ESC the stop,
// and the next call reads on in ASCII mode from the byte after that ESC; a
// buffer that ends inside a sequence or a shifted stretch ends the walk.
// Because every stop is followed by ASCII mode, no state is kept between
// calls.
const char* JisTraverser::walkFrom(const char* p) {
    m_skipped = false;
    bool shifted = false;
    while (p < m_bufferEnd) {
        if (*p != kEsc) {
            if (!shifted) {
                m_pos = p;
                return m_pos;
            }
            // A shifted stretch runs to the next ESC. An escape sequence led
            // here, so m_skipped is already set.
            const void* esc = std::memchr(p, 0x1B, static_cast<std::size_t>(m_bufferEnd - p));
            p = esc != nullptr ? static_cast<const char*>(esc) : m_bufferEnd;
            continue;
        }
        m_skipped = true;
        const EscapeRead escape = readEscape(p, m_bufferEnd);
        if (escape.kind == Escape::Broken) {
            m_pos = p;
            return m_pos;
        }
        shifted = escape.kind == Escape::Shifted;
        p = escape.next;
    }
    m_pos = m_bufferEnd;
    return m_pos;
}

const char* JisTraverser::advanceTo(char byte) {
    TraverserScan::scan(*this, TraverserScan::ByteTarget(byte), m_bufferEnd);
    return m_pos;
}

AbstractTraverser* JisTraverser::createNew() const {
    return new (std::nothrow) JisTraverser();
}

void JisTraverser::resetStateToAscii() {}

} // namespace charsetkit
