// The traverser container: construction, copies and assignment, lookups by
// any identifier, and walks with the traversers it lends. Input: byte 0
// holds the settings (see ScopedSettings); byte 1 an identifier taken as a
// signed number; byte 2 which copy to walk; then the buffer. Invariants:
// identifiers 0-3 give a traverser, any other none; a copy lends traversers
// of the same class that are distinct objects with their own positions;
// every walk stays inside the buffer.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "FuzzSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <typeinfo>
#include <vector>

using namespace charsetkit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const fuzzing::ScopedSettings settings(data[0]);
    const int id = static_cast<std::int8_t>(data[1]);
    const std::uint8_t choice = data[2];
    const std::vector<char> bytes(data + 3, data + size);
    const char empty = 0;
    const char* buffer = bytes.empty() ? &empty : bytes.data();
    const int length = static_cast<int>(bytes.size());

    TraverserContainer original;
    TraverserContainer copy(original);
    TraverserContainer assigned;
    assigned = original;
    TraverserContainer& self = assigned;
    assigned = self;
    TraverserContainer* containers[] = {&original, &copy, &assigned};

    const auto localeId = static_cast<AbstractLocale::eLocalIds>(id);
    AbstractTraverser* lent[3] = {};
    for (int i = 0; i < 3; ++i) {
        lent[i] = containers[i]->getSafeTraverserForLocale(localeId);
        FUZZ_CHECK((lent[i] != nullptr) == (id >= 0 && id <= 3));
    }
    if (lent[0] == nullptr) {
        return 0;
    }
    for (int i = 1; i < 3; ++i) {
        FUZZ_CHECK(lent[i] != lent[0]);
        FUZZ_CHECK(typeid(*lent[i]) == typeid(*lent[0]));
    }
    // The same entry again is the same object.
    FUZZ_CHECK(original.getSafeTraverserForLocale(localeId) == lent[0]);

    AbstractTraverser& walked = *lent[choice % 3];
    const int stops = fuzzing::walkTraverser(walked, buffer, length);
    for (int i = 0; i < 3; ++i) {
        if (lent[i] != &walked) {
            // An unbound or differently bound traverser keeps its own state.
            lent[i]->setNewBuffer(buffer, length);
            FUZZ_CHECK(fuzzing::walkTraverser(*lent[i], buffer, length) == stops);
        }
    }
    // Bound to a string, a traverser walks the string's own bytes.
    const std::string text(buffer, bytes.size());
    walked.setNewBuffer(text);
    FUZZ_CHECK(walked.getBufferStart() == text.data());
    FUZZ_CHECK(walked.getBufferEnd() == text.data() + text.size());
    TraverserContainer late(original);
    AbstractTraverser* fresh = late.getSafeTraverserForLocale(localeId);
    FUZZ_CHECK(fresh != nullptr && fresh != lent[0]);
    FUZZ_CHECK(fuzzing::walkTraverser(*fresh, buffer, length) == stops);
    return 0;
}
