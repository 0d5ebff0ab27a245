#include <charsetkit/encodings/EncodingFromId.h>

#include <gtest/gtest.h>

#include <climits>

namespace charsetkit {
namespace {

AbstractEncoding::EncodingID encodingId(int value) {
    return static_cast<AbstractEncoding::EncodingID>(value);
}

TEST(EncodingFromId, OneMemberPerIdentifier) {
    EncodingFromId registry;
    const char* const preferred[] = {"iso-8859-1", "utf-8",       "euc-jp",
                                     "shift_jis",  "iso-2022-jp", "euc-kr"};
    for (int id = 1; id <= 6; ++id) {
        SCOPED_TRACE(id);
        AbstractEncoding* const encoding = registry.getEncodingForID(encodingId(id));
        ASSERT_NE(encoding, nullptr);
        EXPECT_STREQ(encoding->getPreferedID(), preferred[id - 1]);
        EXPECT_EQ(registry.getEncodingForID(encodingId(id)), encoding);
    }
    for (int id : {0, 7, -1, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(registry.getEncodingForID(encodingId(id)), nullptr);
    }
}

TEST(EncodingFromId, CopiesHaveTheirOwnMembers) {
    EncodingFromId registry;
    EncodingFromId copy(registry);
    AbstractEncoding* const mine = copy.getEncodingForID(AbstractEncoding::Sjis);
    EXPECT_NE(mine, registry.getEncodingForID(AbstractEncoding::Sjis));
    EXPECT_STREQ(mine->getPreferedID(), "shift_jis");

    // Assignment changes nothing: pointers handed out stay valid and equal.
    copy = registry;
    EXPECT_EQ(copy.getEncodingForID(AbstractEncoding::Sjis), mine);
}

} // namespace
} // namespace charsetkit
