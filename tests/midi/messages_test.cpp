// Texts of the exchange: the error box texts and the identity display.
#include "midi_test_support.h"

namespace {

TEST(SysexErrorTextTest, EachFailureHasItsText)
{
    const uint8_t buffer[SYSEX_BUFFER_SIZE] = {};
    EXPECT_EQ("Invalid request", SysexErrorText(254, buffer));
    EXPECT_EQ("Bad Acknoledge received", SysexErrorText(252, buffer));
    EXPECT_EQ("No answer received", SysexErrorText(251, buffer));
    EXPECT_EQ("", SysexErrorText(0, buffer));
    EXPECT_EQ("", SysexErrorText(23, buffer));
    EXPECT_EQ("", SysexErrorText(253, buffer));
}

TEST(SysexErrorTextTest, MalformedWithEmptyBufferSaysSo)
{
    const uint8_t buffer[SYSEX_BUFFER_SIZE] = {};
    EXPECT_EQ("Missing or Uncomplete Sysex Answer\nEmpty input buffer", SysexErrorText(255, buffer));
}

TEST(SysexErrorTextTest, MalformedListsBytesUpToTheFirstEnd)
{
    uint8_t buffer[SYSEX_BUFFER_SIZE] = {0xF0, 0x00, 0x3F, 0x51, 0x00, 0x01, 0x70, 0x0B, 0x7F, 0x00, 0xF7, 0x12};
    EXPECT_EQ("Missing or Uncomplete Sysex Answer\nF0 00 3F 51 00 01 70 0B 7F 00 F7 ", SysexErrorText(255, buffer));
}

TEST(SysexErrorTextTest, MalformedWithoutEndListsAll128Bytes)
{
    uint8_t buffer[SYSEX_BUFFER_SIZE];
    std::memset(buffer, 0x01, sizeof buffer);
    const std::string text = SysexErrorText(255, buffer);
    EXPECT_EQ(std::string("Missing or Uncomplete Sysex Answer\n").size() + 3 * 128, text.size());
}

TEST(IdentityTextTest, DocumentedAnswerShowsItsVersionsDateAndSerial)
{
    const uint8_t identity[11] = {1, 6, 2, 0, 7, 3, 1, 2, 3, 4, 5};
    const IdentityTexts t = IdentityFromSerial(identity);
    EXPECT_EQ("1.6", t.fw_version);
    EXPECT_EQ("2.0", t.hw_version);
    EXPECT_EQ("2007", t.fw_year);
    EXPECT_EQ("03", t.fw_month);
    EXPECT_EQ("1-2345", t.serial);
    EXPECT_EQ(static_cast<float>(1.6), t.fw_version_number);
    EXPECT_EQ(2.0f, t.hw_version_number);
}

TEST(IdentityTextTest, VersionIsTheFloatNearestMajorPlusTenthOfMinor)
{
    const uint8_t identity[11] = {1, 7, 1, 2, 12, 11, 9, 9, 9, 9, 9};
    const IdentityTexts t = IdentityFromSerial(identity);
    EXPECT_EQ(static_cast<float>(1.7), t.fw_version_number);
    EXPECT_EQ(static_cast<float>(1.2), t.hw_version_number);
    EXPECT_EQ("2012", t.fw_year);
    EXPECT_EQ("11", t.fw_month);
}

TEST(GaugeRangeTest, AllOperationsCountTransportButtonsAndGroupControls)
{
    EXPECT_EQ(191, AllOperationsGaugeRange(3, 5));
    EXPECT_EQ(62 * 20 + 67, AllOperationsGaugeRange(0, 20));
    EXPECT_EQ(67, AllOperationsGaugeRange(7, 7));
}

TEST(FailedExchangeTest, NoAnswerRefusedAndInvalidAreFailures)
{
    EXPECT_TRUE(IsFailedExchange(251));
    EXPECT_TRUE(IsFailedExchange(252));
    EXPECT_TRUE(IsFailedExchange(254));
    EXPECT_FALSE(IsFailedExchange(44));
    EXPECT_FALSE(IsFailedExchange(0));
    EXPECT_FALSE(IsFailedExchange(76));
}

}  // namespace
