// A null buffer holds no bytes. With a length of 0 it is an empty buffer;
// with any other length there is nothing that could be read, so the
// operations answer "no" (false, no encodings, output untouched) instead of
// reading through the null pointer.
#ifndef CHARSETKIT_SRC_UTILITIES_MISSINGINPUT_H
#define CHARSETKIT_SRC_UTILITIES_MISSINGINPUT_H

#include <cstddef>

namespace charsetkit {
namespace detail {

inline bool isMissingInput(const void* buffer, std::size_t length) {
    return buffer == nullptr && length != 0;
}

} // namespace detail
} // namespace charsetkit

#endif
