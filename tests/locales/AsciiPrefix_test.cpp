#include "locales/AsciiPrefix.h"
#include "reference/PlainAsciiPrefixReference.h"

#include "TestBytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace charsetkit {
namespace {

void expectSameAsReference(const std::string& buffer, unsigned int offset) {
    const char* const data = buffer.data() + offset;
    const auto length = static_cast<unsigned int>(buffer.size()) - offset;
    ASSERT_EQ(detail::plainAsciiPrefixLength(data, length),
              reference::plainAsciiPrefixLength(data, length))
        << "bytes: " << test::hex(buffer.substr(offset));
}

TEST(AsciiPrefix, EveryStopByteAtEveryPositionAndAlignment) {
    // Every byte value, placed at each position 0-63 after prefixes of 0-15
    // bytes (which shift the word boundaries), in buffers that end right
    // after it or carry on.
    for (unsigned int value = 0; value < 256; ++value) {
        for (unsigned int offset = 0; offset < 16; ++offset) {
            for (unsigned int position = 0; position < 64; ++position) {
                std::string buffer(offset + position + 9, 'a');
                buffer[offset + position] = static_cast<char>(value);
                expectSameAsReference(buffer, offset);
                buffer.resize(offset + position + 1);
                expectSameAsReference(buffer, offset);
            }
        }
    }
}

TEST(AsciiPrefix, RandomBuffersMutatedOneByteAtATime) {
    std::mt19937 random(20240611u);
    std::uniform_int_distribution<int> asciiByte(0x10, 0x7F);
    std::uniform_int_distribution<int> anyByte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string buffer(static_cast<std::size_t>(random() % 90u), '\0');
        for (char& c : buffer) {
            c = static_cast<char>(asciiByte(random));
        }
        expectSameAsReference(buffer, 0);
        for (std::size_t i = 0; i < buffer.size(); ++i) {
            std::string mutated = buffer;
            mutated[i] = static_cast<char>(anyByte(random));
            expectSameAsReference(mutated, 0);
        }
    }
}

TEST(AsciiPrefix, EmptyAndNullBuffers) {
    EXPECT_EQ(detail::plainAsciiPrefixLength(nullptr, 0), 0u);
    EXPECT_EQ(detail::plainAsciiPrefixLength("", 0), 0u);
    // Bytes that look like the stop bytes once masked still pass: 0x0D, 0x0C,
    // 0x1A, 0x1C, 0x3B, 0x7F.
    const std::string near = test::bytes("0D 0C 1A 1C 3B 7F 0D 0C 1A 1C 3B 7F 1F 10");
    EXPECT_EQ(detail::plainAsciiPrefixLength(near.data(), static_cast<unsigned int>(near.size())),
              near.size());
}

} // namespace
} // namespace charsetkit
