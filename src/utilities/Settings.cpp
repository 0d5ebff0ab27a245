#include "utilities/Settings.h"

namespace charsetkit {
namespace settings {

std::atomic<int> g_supportedEncodings{2}; // LocalAndUtf8
std::atomic<bool> g_supportSingleByteKana{true};
std::atomic<bool> g_supportSupplementaryKanji{true};
std::atomic<bool> g_supportSjisExtensions{true};
std::atomic<bool> g_supportJisExtendedRange{false};

} // namespace settings
} // namespace charsetkit
