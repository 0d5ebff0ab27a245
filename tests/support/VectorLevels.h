// The vector levels this machine runs, for tests that run each of them by
// name against the plain reading.
#ifndef CHARSETKIT_TESTS_SUPPORT_VECTORLEVELS_H
#define CHARSETKIT_TESTS_SUPPORT_VECTORLEVELS_H

#include "utilities/VectorScan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace test {

inline std::vector<detail::vector::Level> runnableLevels() {
    std::vector<detail::vector::Level> levels;
    for (const detail::vector::Level level : {detail::vector::kPlain, detail::vector::kSse2,
                                              detail::vector::kAvx2, detail::vector::kNeon}) {
        if (detail::vector::isAvailable(level)) {
            levels.push_back(level);
        }
    }
    return levels;
}

inline std::string levelName(detail::vector::Level level) {
    switch (level) {
    case detail::vector::kPlain:
        return "Plain";
    case detail::vector::kSse2:
        return "Sse2";
    case detail::vector::kAvx2:
        return "Avx2";
    case detail::vector::kNeon:
        return "Neon";
    }
    return "Unknown";
}

inline std::string levelParamName(const ::testing::TestParamInfo<detail::vector::Level>& info) {
    return levelName(info.param);
}

} // namespace test
} // namespace charsetkit

#endif
