#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/CharsetChecker.h>
#include <charsetkit/utilities/Convert.h>

#include "traversal/TraverserScan.h"

#include <cstddef>

namespace charsetkit {

namespace {

// Records a malformed escape: `count` bytes from its '%' go into the text,
// after a ", " when the text already holds an earlier one.
void reportBadEscape(bool* badEscape, std::string* badEscapeText, const char* escape,
                     std::size_t count) {
    if (badEscape != nullptr) {
        *badEscape = true;
    }
    if (badEscapeText != nullptr) {
        if (!badEscapeText->empty()) {
            badEscapeText->append(", ");
        }
        badEscapeText->append(escape, count);
    }
}

// The checking loop over a traverser of class T (the library's classes step
// without virtual calls and jump over the stops that need no look).
template <typename T>
int checkWith(T& walker, const bool* allowed, bool checkEscapes, bool acceptPercent,
              const char* buffer, std::size_t size, char* report, bool* seen, bool* badEscape,
              std::string* badEscapeText) {
    walker.setNewBuffer(buffer, static_cast<int>(size));

    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(buffer);
    const auto forbidden = [&](unsigned char c) {
        return !(acceptPercent && c == '%') && !allowed[c];
    };
    // The stops that need a look while no escape is open: a forbidden value
    // not reported yet, and a '%' that opens an escape. A value is dropped
    // once it has been reported; values that are never stops are left out.
    bool wanted[256];
    for (int v = 0; v < 256; ++v) {
        const auto c = static_cast<unsigned char>(v);
        wanted[v] = !TraverserScan::neverStops(walker, c) &&
                    (forbidden(c) ? !seen[c] : checkEscapes && c == '%');
    }
    const TraverserScan::SetTarget target(wanted);
    const char* const end = buffer + size;

    int count = 0;
    // Appends a forbidden value once; the seen table keeps the count within
    // the 256 distinct byte values.
    auto reportValue = [&](unsigned char value) {
        if (!seen[value]) {
            seen[value] = true;
            report[count] = static_cast<char>(value);
            ++count;
            if (forbidden(value)) {
                wanted[value] = false;
            }
        }
    };

    bool escapeOpen = false;
    std::size_t escapeAt = 0; // index of the open escape's '%'
    for (;;) {
        const std::size_t pos = static_cast<std::size_t>(walker.getPos() - buffer);
        if (pos >= size) {
            break;
        }
        const unsigned char c = bytes[pos];
        if (forbidden(c)) {
            // A forbidden byte also ends any escape in progress, which is then
            // neither decoded nor reported as malformed.
            reportValue(c);
            escapeOpen = false;
        } else if (checkEscapes) {
            if (!escapeOpen) {
                if (c == '%') {
                    escapeOpen = true;
                    escapeAt = pos;
                }
            } else if (walker.skipped()) {
                // Non-stop bytes (a multi-byte character, say) between the '%'
                // and this position: the escape cannot be a valid one.
                const std::size_t remaining = size - escapeAt;
                reportBadEscape(badEscape, badEscapeText, buffer + escapeAt,
                                remaining < 3 ? remaining : 3);
                escapeOpen = false;
            } else if (pos == escapeAt + 2) {
                // The second digit: a '%' met in between counts as a digit
                // here, so "%%41" is one malformed escape "%%4".
                const int high = Convert::ms_legalHexToInt[bytes[pos - 1]];
                const int low = Convert::ms_legalHexToInt[c];
                if (high < 0 || low < 0) {
                    reportBadEscape(badEscape, badEscapeText, buffer + escapeAt, 3);
                } else {
                    const unsigned char value = static_cast<unsigned char>(high * 16 + low);
                    if (!allowed[value]) {
                        reportValue(value);
                    }
                }
                escapeOpen = false;
            }
        }
        if (escapeOpen) {
            TraverserScan::step(walker);
        } else {
            // Stops that need no look are passed over in one scan.
            TraverserScan::scan(walker, target, end);
        }
    }

    if (checkEscapes && escapeOpen) {
        // The buffer ends less than three bytes after the '%'.
        reportBadEscape(badEscape, badEscapeText, buffer + escapeAt, size - escapeAt);
    }
    return count;
}

} // namespace

void CharsetChecker::checkBuffer(const bool* const allowed, bool checkEscapes, const char* buffer,
                                 int length, char** reported, int* reportedCount, bool* seen,
                                 bool* badEscape, AbstractTraverser* traverser,
                                 std::string* badEscapeText, bool acceptPercent) {
    if (!checkEscapes) {
        acceptPercent = false;
    }
    if (badEscape != nullptr) {
        *badEscape = false;
    }
    if (badEscapeText != nullptr) {
        badEscapeText->clear();
    }
    if (reportedCount != nullptr) {
        *reportedCount = 0;
    }
    if (allowed == nullptr || reported == nullptr || *reported == nullptr ||
        reportedCount == nullptr || seen == nullptr || length < 0 ||
        (buffer == nullptr && length != 0)) {
        return;
    }

    AsciiTraverser localTraverser;
    AbstractTraverser* const walker = traverser != nullptr ? traverser : &localTraverser;
    char* const report = *reported;
    const std::size_t size = static_cast<std::size_t>(length);
    const int count = TraverserScan::withClass(*walker, [&](auto& t) {
        return checkWith(t, allowed, checkEscapes, acceptPercent, buffer, size, report, seen,
                         badEscape, badEscapeText);
    });

    *reportedCount = count;
    for (int i = 0; i < count; ++i) {
        seen[static_cast<unsigned char>(report[i])] = false;
    }
}

} // namespace charsetkit
