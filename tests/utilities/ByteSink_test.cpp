// The converters' output block: every length of the 31-bit UTF-8 form at its
// boundaries, and the order of bytes when short writes, long appends, ASCII
// runs and direct window writes are mixed across block flushes.
#include "utilities/ByteSink.h"

#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using charsetkit::detail::ByteSink;

namespace {

TEST(ByteSink, CodePointsAtEveryLengthBoundary) {
    const std::uint32_t values[] = {0x0,       0x7F,      0x80,       0x7FF,      0x800,
                                    0xFFFF,    0x10000,   0x10FFFF,   0x1FFFFF,   0x200000,
                                    0x3FFFFFF, 0x4000000, 0x7FFFFFFF, 0x12345678, 0x2468ACE};
    std::string written;
    std::string expected;
    {
        ByteSink sink(written, 0);
        // Enough rounds that the block fills and flushes between characters.
        for (int round = 0; round < 40; ++round) {
            for (std::uint32_t v : values) {
                sink.putCodePoint(v);
                charsetkit::test::appendUtf8(expected, v);
            }
        }
        sink.flush();
    }
    EXPECT_EQ(written, expected);
}

TEST(ByteSink, MixedWritesKeepTheirOrder) {
    const std::string longRun(100, 'x');
    const std::string shortRun = "0123456789";
    const std::string ascii = "plain ascii text, long enough for a vector load or two.";
    std::string written = "kept:";
    std::string expected = "kept:";
    {
        ByteSink sink(written, 16);
        for (int round = 0; round < 30; ++round) {
            sink.putByte('<');
            expected += '<';
            sink.append(longRun.data(), longRun.size());
            expected += longRun;
            sink.putLatin1(0xE9);
            expected += "\xC3\xA9";
            sink.append(shortRun.data(), static_cast<std::size_t>(round % 11));
            expected += shortRun.substr(0, static_cast<std::size_t>(round % 11));
            const auto* bytes = reinterpret_cast<const unsigned char*>(ascii.data());
            const std::size_t copied = sink.copyPlainAscii(bytes, ascii.size());
            expected += ascii.substr(0, copied);
            char* p = sink.window();
            for (int k = 0; k < round; ++k) {
                p = sink.putPacked(p, 0x03A4E3E3u); // three bytes: E3 E3 A4
                expected += "\xE3\xE3\xA4";
            }
            // Room for a block's worth, the window moved on when short.
            p = sink.roomFrom(p, 200);
            p = ByteSink::storePacked(p, 0x0200A7C2u); // two bytes: C2 A7
            expected += "\xC2\xA7";
            sink.commit(p);
        }
        sink.flush();
    }
    EXPECT_EQ(written, expected);
}

} // namespace
