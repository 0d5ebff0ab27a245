// Shared by the percent-decoding and charset-checker fuzz targets: a
// traverser chosen by one input byte, and an exact-size copy of the input so
// that any read past its end is caught by the address sanitizer.
#ifndef CHARSETKIT_FUZZ_ESCAPEFUZZSUPPORT_H
#define CHARSETKIT_FUZZ_ESCAPEFUZZSUPPORT_H

#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/Utf16BigTraverser.h>
#include <charsetkit/traversal/Utf16LittleTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace charsetkit {
namespace fuzzing {

/// One of the library's traversers, or null (for the checker's own one) when
/// `allowNull` and the choice falls on it.
inline std::unique_ptr<AbstractTraverser> pickTraverser(std::uint8_t choice, bool allowNull) {
    switch (choice % (allowNull ? 9 : 8)) {
    case 0:
        return std::unique_ptr<AbstractTraverser>(new AsciiTraverser());
    case 1:
        return std::unique_ptr<AbstractTraverser>(new Utf8Traverser());
    case 2:
        return std::unique_ptr<AbstractTraverser>(new SjisTraverser());
    case 3:
        return std::unique_ptr<AbstractTraverser>(new JisTraverser());
    case 4:
        return std::unique_ptr<AbstractTraverser>(new EucJpTraverser());
    case 5:
        return std::unique_ptr<AbstractTraverser>(new EucKrTraverser());
    case 6:
        return std::unique_ptr<AbstractTraverser>(new Utf16BigTraverser());
    case 7:
        return std::unique_ptr<AbstractTraverser>(new Utf16LittleTraverser());
    default:
        return nullptr;
    }
}

/// The bytes in a heap block of exactly their size.
class ExactCopy {
public:
    ExactCopy(const std::uint8_t* data, std::size_t size)
        : m_bytes(new char[size == 0 ? 1 : size]), m_size(size) {
        if (size != 0) {
            std::memcpy(m_bytes.get(), data, size);
        }
    }
    // An empty input points at a block the fuzzer never reads.
    const char* data() const { return m_bytes.get(); }
    int length() const { return static_cast<int>(m_size); }
    std::size_t size() const { return m_size; }

private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size;
};

} // namespace fuzzing
} // namespace charsetkit

#endif
