// Walks a traverser over a buffer and records every stop, as
// "index" or "index+skipped", ending with "end" or "end+skipped", so that a
// whole traversal compares in one assertion.
#ifndef CHARSETKIT_TESTS_TRAVERSAL_TRAVERSERTESTUTIL_H
#define CHARSETKIT_TESTS_TRAVERSAL_TRAVERSERTESTUTIL_H

#include <charsetkit/traversal/AbstractTraverser.h>

#include <string>

namespace charsetkit {
namespace test {

inline std::string stopName(const AbstractTraverser& t) {
    std::string s = t.isEnd() ? "end" : std::to_string(t.getPos() - t.getBufferStart());
    return t.skipped() ? s + "+skipped" : s;
}

/// Binds `t` to `buffer` and records the stops until the end; then advances
/// twice more to show that the end is kept.
inline std::string walk(AbstractTraverser& t, const std::string& buffer) {
    t.setNewBuffer(buffer.data(), static_cast<int>(buffer.size()));
    std::string out = stopName(t);
    int guard = 0;
    while (!t.isEnd() && guard++ <= static_cast<int>(buffer.size()) + 1) {
        const char* returned = t.advance();
        if (returned != t.getPos()) {
            return out + " [advance returned a different position]";
        }
        out += " " + stopName(t);
    }
    for (int i = 0; i < 2; ++i) {
        t.advance();
        if (!t.isEnd() || t.getPos() != t.getBufferEnd()) {
            return out + " [left the end]";
        }
    }
    return out;
}

} // namespace test
} // namespace charsetkit

#endif
