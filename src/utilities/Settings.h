// Process-wide settings, kept in a low unit so that the code tables,
// detectors and traversers can read them without depending on the locale
// classes. AbstractLocale and JapaneseLocale expose them through their static
// setters and getters. Every access is a relaxed atomic load or store: a
// reader sees the old or the new value, never a torn one.
#ifndef CHARSETKIT_SRC_UTILITIES_SETTINGS_H
#define CHARSETKIT_SRC_UTILITIES_SETTINGS_H

#include <atomic>

namespace charsetkit {
namespace settings {

// Constant-initialised (std::atomic's value constructor is constexpr), so
// nothing runs at load time.
extern std::atomic<int> g_supportedEncodings;
extern std::atomic<bool> g_supportSingleByteKana;
extern std::atomic<bool> g_supportSupplementaryKanji;
extern std::atomic<bool> g_supportSjisExtensions;
extern std::atomic<bool> g_supportJisExtendedRange;

inline int supportedEncodings() {
    return g_supportedEncodings.load(std::memory_order_relaxed);
}
inline bool supportSingleByteKana() {
    return g_supportSingleByteKana.load(std::memory_order_relaxed);
}
inline bool supportSupplementaryKanji() {
    return g_supportSupplementaryKanji.load(std::memory_order_relaxed);
}
inline bool supportSjisExtensions() {
    return g_supportSjisExtensions.load(std::memory_order_relaxed);
}
inline bool supportJisExtendedRange() {
    return g_supportJisExtendedRange.load(std::memory_order_relaxed);
}

} // namespace settings
} // namespace charsetkit

#endif
