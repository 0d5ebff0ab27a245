// Whole-buffer scans over the library's traversers: the steps of a known
// traverser class taken without a virtual call, and jumps to the next stop
// that holds one of a set of bytes, found with a block search and then
// confirmed by the class's own steps.
//
// A scan from the current position ends at the first stop that is targeted,
// or at or after `limit`, or at the end: exactly where advance() called at
// least once, and then again until one of those holds, would leave the
// traverser, with skipped() telling what the last of those steps passed over.
//
// The search only proposes candidates: positions of targeted bytes, in order,
// none missed. Each candidate is confirmed by stepping the traverser onto it
// or past it. To keep the stepping short, it starts from the last byte before
// the candidate that is surely a stop (a "sure stop": a byte below 0x80 in
// UTF-8 and EUC text, below 0x40 in Shift_JIS, any byte in ASCII text, a code
// unit below 0x80 in UTF-16): the steps from a stop do not depend on how the
// traverser reached it, so the stops found from there are the stops that the
// steps from the current position find. ISO-2022-JP has no such byte, since
// its mode depends on the escape sequences before it; its scan searches the
// stretches between escape sequences, where every byte is a stop, and steps
// through each escape sequence.
#ifndef CHARSETKIT_SRC_TRAVERSAL_TRAVERSERSCAN_H
#define CHARSETKIT_SRC_TRAVERSAL_TRAVERSERSCAN_H

#include <charsetkit/traversal/AbstractTraverser.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/Utf16BigTraverser.h>
#include <charsetkit/traversal/Utf16LittleTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "utilities/Settings.h"

#include <cstddef>
#include <cstring>
#include <typeinfo>

namespace charsetkit {

class TraverserScan {
public:
    /// One targeted byte value, searched with memchr.
    class ByteTarget {
    public:
        explicit ByteTarget(char byte) : m_byte(byte) {}
        bool targets(char byte) const { return byte == m_byte; }
        unsigned char value() const { return static_cast<unsigned char>(m_byte); }
        /// Whether every targeted byte is below 0x40.
        bool belowShiftJisTrail() const { return static_cast<unsigned char>(m_byte) < 0x40; }
        /// The first targeted byte in [from, to), or null.
        const char* find(const char* from, const char* to) const {
            if (from >= to) {
                return nullptr;
            }
            return static_cast<const char*>(std::memchr(from, static_cast<unsigned char>(m_byte),
                                                        static_cast<std::size_t>(to - from)));
        }

    private:
        char m_byte;
    };

    /// A set of targeted byte values: a 256-entry table indexed by unsigned
    /// byte value, owned by the caller, which may change entries between
    /// scans. The caller leaves out the values that the traverser never
    /// stops at (see neverStops).
    class SetTarget {
    public:
        explicit SetTarget(const bool* table) : m_table(table) {}
        bool targets(char byte) const { return m_table[static_cast<unsigned char>(byte)]; }
        const char* find(const char* from, const char* to) const {
            for (; from < to; ++from) {
                if (m_table[static_cast<unsigned char>(*from)]) {
                    return from;
                }
            }
            return nullptr;
        }

    private:
        const bool* m_table;
    };

    /// Calls `f` with `t` as a reference to its class when that is one of the
    /// library's classes (the EUC traversers as Utf8Traverser, whose steps
    /// they use), and as an AbstractTraverser reference otherwise.
    template <typename F>
    static auto withClass(AbstractTraverser& t, F&& f) -> decltype(f(t)) {
        const std::type_info& type = typeid(t);
        if (type == typeid(AsciiTraverser)) {
            return f(static_cast<AsciiTraverser&>(t));
        }
        if (type == typeid(Utf8Traverser) || type == typeid(EucKrTraverser) ||
            type == typeid(EucJpTraverser)) {
            return f(static_cast<Utf8Traverser&>(t));
        }
        if (type == typeid(SjisTraverser)) {
            return f(static_cast<SjisTraverser&>(t));
        }
        if (type == typeid(JisTraverser)) {
            return f(static_cast<JisTraverser&>(t));
        }
        if (type == typeid(Utf16BigTraverser)) {
            return f(static_cast<Utf16BigTraverser&>(t));
        }
        if (type == typeid(Utf16LittleTraverser)) {
            return f(static_cast<Utf16LittleTraverser&>(t));
        }
        return f(t);
    }

    /// One advance(), without a virtual call for the library's classes.
    static void step(AbstractTraverser& t) { t.advance(); }
    template <typename T>
    static void step(T& t) {
        t.T::advance();
    }

    /// Whether no byte with the value `byte` can be a stop of T.
    static bool neverStops(const AbstractTraverser&, unsigned char) { return false; }
    static bool neverStops(const Utf8Traverser&, unsigned char byte) { return byte >= 0x80; }
    static bool neverStops(const Utf16BigTraverser&, unsigned char byte) { return byte >= 0x80; }
    static bool neverStops(const Utf16LittleTraverser&, unsigned char byte) { return byte >= 0x80; }

    /// Any traverser: its own steps.
    template <typename Target>
    static void scan(AbstractTraverser& t, const Target& target, const char* limit) {
        do {
            t.advance();
        } while (!t.isEnd() && t.m_pos < limit && !target.targets(*t.m_pos));
    }

    /// The classes with sure stops; see the top of this file.
    template <typename T, typename Target>
    static void scan(T& t, const Target& target, const char* limit) {
        if (!searchable(t, target)) {
            do {
                step(t);
            } while (!t.isEnd() && t.m_pos < limit && !target.targets(*t.m_pos));
            return;
        }
        const bool noCandidates = unreachable(t, target);
        const char* from = t.nextPosition();
        for (;;) {
            const char* const candidate = noCandidates ? nullptr : target.find(from, limit);
            // Where the byte itself tells, the traverser is placed at once.
            if (candidate != nullptr ? land(t, from, candidate)
                                     : limit == t.m_bufferEnd && land(t, from, limit)) {
                return;
            }
            const char* const goal = candidate != nullptr ? candidate : limit;
            const char* const sure = lastSureStop(t, from, goal);
            if (sure != nullptr) {
                t.m_pos = sure;
            }
            // At least one step: the position now lies before the goal.
            do {
                step(t);
            } while (!t.isEnd() && t.m_pos < goal);
            if (candidate == nullptr || t.isEnd() || t.m_pos >= limit || target.targets(*t.m_pos)) {
                return;
            }
            // The candidate was inside a character; search on after the stop
            // that followed it.
            from = t.m_pos + 1;
        }
    }

    /// Places `t` at the end with the given skipped(), for a caller that has
    /// read the stops up to there itself.
    static void placeAtEnd(AbstractTraverser& t, bool skipped) {
        t.m_pos = t.m_bufferEnd;
        t.m_skipped = skipped;
    }

    /// ISO-2022-JP: every byte between the start of a call and the next ESC
    /// is a stop; escape sequences and shifted stretches are stepped through.
    template <typename Target>
    static void scan(JisTraverser& t, const Target& target, const char* limit) {
        const char* const end = t.m_bufferEnd;
        const char* from = t.nextPosition();
        // The first candidate at or after `from` (null when there is none
        // before the limit), searched again only once `from` has passed it;
        // ESC is searched for only up to it, so no byte is searched twice.
        const char* candidate = target.find(from, limit);
        for (;;) {
            if (candidate != nullptr && candidate < from) {
                candidate = target.find(from, limit);
            }
            // `from` is read in ASCII mode: the bytes before the next ESC are
            // stops, each reached from the one before it without skipping.
            const char* const bound = candidate != nullptr ? candidate : limit;
            const char* const esc = findEsc(from, bound < end ? bound + 1 : end);
            if (esc == nullptr) {
                // A candidate before any ESC is the stop sought; without one,
                // the first stop at or after the limit is the plain byte there,
                // or the end.
                t.m_pos = candidate != nullptr ? candidate : limit;
                t.m_skipped = false;
                return;
            }
            // An escape sequence comes first: step through it from the stop
            // before it.
            if (esc > from) {
                t.m_pos = esc - 1;
            }
            step(t);
            if (t.isEnd() || t.m_pos >= limit || target.targets(*t.m_pos)) {
                return;
            }
            from = t.m_pos + 1;
        }
    }

private:
    static const char* findEsc(const char* from, const char* end) {
        return from < end ? static_cast<const char*>(
                                std::memchr(from, 0x1B, static_cast<std::size_t>(end - from)))
                          : nullptr;
    }

    /// Whether no stop of T can hold the targeted byte.
    template <typename T>
    static bool unreachable(const T& t, const ByteTarget& target) {
        return neverStops(t, target.value());
    }
    template <typename T>
    static bool unreachable(const T&, const SetTarget&) {
        return false;
    }

    /// Places `t` at `to`, a candidate or the end, with the skipped() that
    /// the step onto it gives, when that follows from the bytes around it;
    /// otherwise returns false and leaves the confirmation to the steps.
    /// `from` is the first byte the steps from the current position read.
    template <typename T>
    static bool land(T&, const char*, const char*) {
        return false;
    }
    static bool land(AsciiTraverser& t, const char*, const char* to) {
        t.m_pos = to; // every byte is a stop, and skipped() is never changed
        return true;
    }
    // Every byte below 0x80 is a stop, and the step onto one skipped exactly
    // when the byte before it (read by the steps from the current position)
    // is not one.
    static bool land(Utf8Traverser& t, const char* from, const char* to) {
        if (to != t.m_bufferEnd && static_cast<unsigned char>(*to) >= 0x80) {
            return false;
        }
        t.m_pos = to;
        t.m_skipped = to > from && static_cast<unsigned char>(to[-1]) >= 0x80;
        return true;
    }
    // A byte below 0x40 is never the second byte of a pair, so it is always
    // a stop; so is the end. The step onto it skipped unless the byte before
    // it is a stop: a byte that begins a character there and is not a
    // katakana being stepped over (a lead byte there is a broken pair, whose
    // lead byte is a stop).
    static bool land(SjisTraverser& t, const char* from, const char* to) {
        if (to != t.m_bufferEnd && static_cast<unsigned char>(*to) >= 0x40) {
            return false;
        }
        t.m_pos = to;
        if (to == from) {
            t.m_skipped = false;
            return true;
        }
        const auto before = static_cast<unsigned char>(to[-1]);
        t.m_skipped = !startsCharacter(from, to - 1) ||
                      (before >= 0xA1 && before <= 0xDF && settings::supportSingleByteKana());
        return true;
    }
    // Whether the Shift_JIS byte at `at` begins a character, when the steps
    // began reading afresh at `from`. A byte that cannot be a lead byte always
    // ends a character (as a trail byte or on its own), so after it, and at
    // `from`, a character begins; the lead-range bytes that follow pair up
    // from there, each also being a valid trail byte.
    static bool startsCharacter(const char* from, const char* at) {
        const auto byte = static_cast<unsigned char>(*at);
        if (byte < 0x40 || byte == 0x7F || byte > 0xFC) {
            return true; // never a trail byte
        }
        std::size_t leads = 0;
        for (const char* p = at; p > from; --p) {
            const auto b = static_cast<unsigned char>(p[-1]);
            if (!((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC))) {
                break;
            }
            ++leads;
        }
        return leads % 2 == 0;
    }

    /// Whether a search can propose the candidates of T: bytes that T never
    /// stops at are left out of them, and Shift_JIS confirms a candidate
    /// cheaply only when the targets are below 0x40, which never end a pair.
    template <typename T>
    static bool searchable(const T&, const ByteTarget&) {
        return true;
    }
    static bool searchable(const SjisTraverser&, const ByteTarget& target) {
        return target.belowShiftJisTrail();
    }
    template <typename T>
    static bool searchable(const T&, const SetTarget&) {
        return true;
    }
    // A set search goes byte by byte: in UTF-16 the units' zero bytes would
    // all be candidates when 0x00 is targeted, so the units are stepped.
    static bool searchable(const Utf16BigTraverser&, const SetTarget&) { return false; }
    static bool searchable(const Utf16LittleTraverser&, const SetTarget&) { return false; }

    /// The last sure stop in [from, to), or null.
    static const char* lastSureStop(const AsciiTraverser&, const char* from, const char* to) {
        return from < to ? to - 1 : nullptr;
    }
    static const char* lastSureStop(const Utf8Traverser&, const char* from, const char* to) {
        while (to > from) {
            --to;
            if (static_cast<unsigned char>(*to) < 0x80) {
                return to;
            }
        }
        return nullptr;
    }
    static const char* lastSureStop(const SjisTraverser&, const char* from, const char* to) {
        while (to > from) {
            --to;
            if (static_cast<unsigned char>(*to) < 0x40) {
                return to;
            }
        }
        return nullptr;
    }
    // UTF-16: units are aligned on the buffer start, and a unit that holds a
    // value below 0x80 is always a stop (a byte-order mark never looks like
    // one). The big-endian stop is the unit's second byte, at an odd offset.
    static const char* lastSureStop(const Utf16BigTraverser& t, const char* from, const char* to) {
        const char* const start = t.m_bufferStart;
        while (to > from) {
            --to;
            if ((to - start) % 2 == 1 && to[-1] == 0 && static_cast<unsigned char>(*to) < 0x80) {
                return to;
            }
        }
        return nullptr;
    }
    // The little-endian stop is the unit's first byte, at an even offset,
    // and the unit must be whole.
    static const char* lastSureStop(const Utf16LittleTraverser& t, const char* from,
                                    const char* to) {
        const char* const start = t.m_bufferStart;
        const char* const end = t.m_bufferEnd;
        while (to > from) {
            --to;
            if ((to - start) % 2 == 0 && end - to >= 2 && to[1] == 0 &&
                static_cast<unsigned char>(*to) < 0x80) {
                return to;
            }
        }
        return nullptr;
    }
};

} // namespace charsetkit

#endif
