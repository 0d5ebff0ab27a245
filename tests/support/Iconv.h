// One converter of the C library, used as an independent oracle.
#ifndef CHARSETKIT_TESTS_SUPPORT_ICONV_H
#define CHARSETKIT_TESTS_SUPPORT_ICONV_H

#include <iconv.h>

#include <cstddef>
#include <optional>
#include <string>

namespace charsetkit {
namespace test {

class Iconv {
public:
    /// A converter from charset `from` to charset `to`; ok() is false when
    /// the C library does not know one of them.
    Iconv(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) {
            iconv_close(m_handle);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool ok() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    /// The whole input converted from the initial shift state, the final
    /// shift sequence included; nothing when the converter refuses any of it
    /// or finds it incomplete.
    std::optional<std::string> convert(const std::string& input) {
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        std::string in = input;
        std::string out(input.size() * 8 + 16, '\0');
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(m_handle, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            iconv(m_handle, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t m_handle;
};

} // namespace test
} // namespace charsetkit

#endif
