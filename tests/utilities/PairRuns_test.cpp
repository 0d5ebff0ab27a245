// The block form of reading pairs against reading the block byte by byte.
#include "utilities/PairRuns.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace charsetkit {
namespace {

// Byte by byte: a capable byte at the start of a character is a lead and
// the byte after it its trail.
std::uint64_t leadsByteByByte(std::uint64_t capable, bool firstIsTrail) {
    std::uint64_t leads = 0;
    bool trail = firstIsTrail;
    for (unsigned k = 0; k < 64; ++k) {
        if (trail) {
            trail = false;
        } else if ((capable >> k & 1u) != 0) {
            leads |= std::uint64_t{1} << k;
            trail = true;
        }
    }
    return leads;
}

TEST(PairRuns, LeadsMatchReadingByteByByte) {
    std::mt19937_64 random(11);
    for (int round = 0; round < 200000; ++round) {
        // Dense, sparse and all-ones masks, so that runs of every length
        // and parity meet both block edges.
        std::uint64_t capable = random();
        switch (round % 4) {
        case 1:
            capable |= random();
            break;
        case 2:
            capable |= random() | random();
            break;
        case 3:
            capable = round % 8 == 3 ? ~std::uint64_t{0} : capable >> (round % 64);
            break;
        default:
            break;
        }
        for (bool firstIsTrail : {false, true}) {
            ASSERT_EQ(detail::pairLeads(capable, firstIsTrail),
                      leadsByteByByte(capable, firstIsTrail))
                << std::hex << capable << " " << firstIsTrail;
        }
    }
}

} // namespace
} // namespace charsetkit
