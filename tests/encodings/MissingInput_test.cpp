// A null buffer with a non-zero length is no buffer at all: every encoding
// answers "no" without reading through it, and leaves outputs untouched. A
// null buffer of length 0 is an ordinary empty buffer.
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/encodings/EncodingFromId.h>

#include <gtest/gtest.h>

#include <string>

namespace charsetkit {
namespace {

TEST(MissingInput, EncodingsRefuseANullBufferWithALength) {
    EncodingFromId registry;
    for (int id = AbstractEncoding::Ascii; id <= AbstractEncoding::EucKr; ++id) {
        const AbstractEncoding* encoding =
            registry.getEncodingForID(static_cast<AbstractEncoding::EncodingID>(id));
        SCOPED_TRACE(encoding->getPreferedID());
        EXPECT_FALSE(encoding->verify(nullptr, 5, true, false, 5));
        std::string result = "keep";
        bool unmapped = true;
        EXPECT_FALSE(encoding->convertToUtf8(nullptr, 5, result, unmapped, false));
        EXPECT_EQ(result, "keep");
        EXPECT_TRUE(unmapped);
        EXPECT_FALSE(encoding->convertFromUtf8(nullptr, 5, result));
        EXPECT_EQ(result, "keep");

        // Length 0: an empty buffer, whatever the pointer.
        EXPECT_TRUE(encoding->verify(nullptr, 0, true, false, 5));
        EXPECT_TRUE(encoding->convertToUtf8(nullptr, 0, result, unmapped, false));
        EXPECT_EQ(result, "");
    }
}

TEST(MissingInput, MachinesRefuseANullBufferWithALength) {
    Utf8DetectorSM utf8;
    SjisDetectorSM sjis;
    EucJpDetectorSM eucJp;
    JisDetectorSM jis;
    EXPECT_FALSE(utf8.verify(nullptr, 3, false, false, 1));
    EXPECT_FALSE(jis.verify(nullptr, 3, false, false, 1));
    std::string result = "keep";
    bool unmapped = false;
    EXPECT_FALSE(sjis.convertToUtf8(nullptr, 3, result, unmapped, false));
    EXPECT_FALSE(eucJp.convertToUtf8(nullptr, 3, result, unmapped, false));
    EXPECT_FALSE(jis.convertToUtf8(nullptr, 3, result, unmapped, false));
    EXPECT_EQ(result, "keep");
    EXPECT_TRUE(JisDetectorSM().verify(nullptr, 0, false, false, 1));
}

} // namespace
} // namespace charsetkit
