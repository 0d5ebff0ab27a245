// Test fixture for code that reads the process-wide Shift_JIS extensions
// switch: it records the switch before each test and puts it back afterwards,
// so that a test that turns the extensions off cannot leak into the next one.
#ifndef CHARSETKIT_TESTS_JAPANESE_SJISEXTENSIONSSWITCH_H
#define CHARSETKIT_TESTS_JAPANESE_SJISEXTENSIONSSWITCH_H

#include <charsetkit/locales/JapaneseLocale.h>

#include <gtest/gtest.h>

namespace charsetkit {
namespace tests {

class SjisExtensionsSwitchTest : public ::testing::Test {
protected:
    void SetUp() override { m_saved = JapaneseLocale::getSupportSjisExtensions(); }
    void TearDown() override { setSjisExtensions(m_saved); }

    static void setSjisExtensions(bool on) { JapaneseLocale::setSupportSjisExtensions(on); }

private:
    bool m_saved = true;
};

} // namespace tests
} // namespace charsetkit

#endif
