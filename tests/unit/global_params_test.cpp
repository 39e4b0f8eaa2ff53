// The global and realtime parameters: bit locations per firmware, the
// multi-bit encodings, the operating mode per firmware and the tempo arithmetic.
#include <array>
#include <cstdint>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "global_params.h"

namespace {

const float kFirmwares[] = {1.0f, 1.1f, 1.2f, 1.3f, 1.4f, 1.5f, 1.6f};

std::array<uint8_t, 40> Block(uint8_t fill)
{
    std::array<uint8_t, 40> block;
    block.fill(fill);
    return block;
}

}  // namespace

// ---- Where every single-bit setting lives

TEST(GlobalBitLocations, FixedBitsMatchTheBlockLayout)
{
    const std::pair<GlobalBit, CommonBit> expected[] = {
        {GlobalBit::MergeMidiOut, {0, 0}},     {GlobalBit::MergeUsbOut, {0, 1}},   {GlobalBit::MergeUsbIn, {0, 2}},
        {GlobalBit::MergeMidiIn, {0, 3}},      {GlobalBit::Sync24Enable, {0, 5}},  {GlobalBit::ExtSyncSrc, {1, 0}},
        {GlobalBit::GenIntSync, {1, 1}},       {GlobalBit::ArppMidiSrc, {1, 3}},   {GlobalBit::Sync24Sync, {1, 6}},
        {GlobalBit::ShiftLockChannel, {3, 0}}, {GlobalBit::ShiftMode, {3, 1}},     {GlobalBit::ArppToMidiOut2, {3, 2}},
        {GlobalBit::ArppToMidiOut1, {3, 3}},   {GlobalBit::ArppToUsb, {3, 4}},     {GlobalBit::ArppSync, {3, 6}},
        {GlobalBit::MotionLoop, {4, 0}},       {GlobalBit::MotionState, {4, 1}},   {GlobalBit::LfoSync, {4, 2}},
        {GlobalBit::LfoState, {4, 3}},         {GlobalBit::InfraredState, {4, 4}}, {GlobalBit::MotionSync, {4, 5}},
        {GlobalBit::AnalogMode, {4, 6}},       {GlobalBit::ShiftLockMidi, {5, 0}},
    };
    for (float fw : kFirmwares) {
        for (const auto &entry : expected) {
            const auto where = GlobalBitLocation(entry.first, fw);
            ASSERT_TRUE(where.has_value()) << static_cast<int>(entry.first) << " fw " << fw;
            EXPECT_EQ(where->byte, entry.second.byte) << static_cast<int>(entry.first) << " fw " << fw;
            EXPECT_EQ(where->bit, entry.second.bit) << static_cast<int>(entry.first) << " fw " << fw;
        }
    }
}

TEST(GlobalBitLocations, NoTwoSettingsShareABitForAnyFirmware)
{
    for (float fw : kFirmwares) {
        std::set<std::pair<int, int>> used;
        for (int i = 0; i < kGlobalBitCount; ++i) {
            const auto where = GlobalBitLocation(static_cast<GlobalBit>(i), fw);
            if (!where)
                continue;
            EXPECT_LT(where->bit, 7) << "bit 7 never travels to the device";
            EXPECT_TRUE(used.insert({where->byte, where->bit}).second) << i << " fw " << fw;
        }
    }
}

TEST(GlobalBitLocations, ArpeggiatorStateMovedToByte3AtFirmware15)
{
    for (float fw : {0.0f, 1.0f, 1.3f, 1.4f}) {
        const auto where = GlobalBitLocation(GlobalBit::ArppState, fw);
        ASSERT_TRUE(where);
        EXPECT_EQ(*where, (CommonBit{1, 4})) << fw;
    }
    for (float fw : {1.5f, 1.6f}) {
        const auto where = GlobalBitLocation(GlobalBit::ArppState, fw);
        ASSERT_TRUE(where);
        EXPECT_EQ(*where, (CommonBit{3, 5})) << fw;
    }
}

TEST(GlobalBitLocations, FaderFeedbackAndTempoModeOnlyAboveFirmware15)
{
    for (float fw : {0.0f, 1.0f, 1.4f, 1.5f}) {
        EXPECT_FALSE(GlobalBitLocation(GlobalBit::MackieFaderFbk, fw)) << fw;
        EXPECT_FALSE(GlobalBitLocation(GlobalBit::TempoMode, fw)) << fw;
    }
    const auto fader = GlobalBitLocation(GlobalBit::MackieFaderFbk, 1.6f);
    const auto tempo = GlobalBitLocation(GlobalBit::TempoMode, 1.6f);
    ASSERT_TRUE(fader);
    ASSERT_TRUE(tempo);
    EXPECT_EQ(*fader, (CommonBit{5, 3}));
    EXPECT_EQ(*tempo, (CommonBit{5, 4}));
}

TEST(GlobalBitAccess, WriteChangesOnlyItsBit)
{
    for (uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x5A}}) {
        for (unsigned byte = 0; byte < 40; ++byte) {
            for (uint8_t bit = 0; bit < 8; ++bit) {
                const CommonBit where{static_cast<uint8_t>(byte), bit};
                for (bool on : {false, true}) {
                    auto block = Block(fill);
                    WriteCommonBit(block.data(), where, on);
                    EXPECT_EQ(ReadCommonBit(block.data(), where), on);
                    auto expected = Block(fill);
                    expected[byte] =
                        on ? static_cast<uint8_t>(fill | (1u << bit)) : static_cast<uint8_t>(fill & ~(1u << bit));
                    EXPECT_EQ(block, expected) << byte << "/" << int(bit);
                }
            }
        }
    }
}

// ---- Input filter

TEST(GlobalFilterEncoding, ItemsSetBits6And4)
{
    EXPECT_EQ(WithFilterItem(0xFF, 0), 0xAF);  // both cleared
    EXPECT_EQ(WithFilterItem(0x00, 1), 0x40);  // Realtime: bit 6 only
    EXPECT_EQ(WithFilterItem(0x10, 1), 0x40);  // bit 4 cleared
    EXPECT_EQ(WithFilterItem(0x00, 2), 0x50);  // Filter All: both
    EXPECT_EQ(WithFilterItem(0x2F, 2), 0x7F);  // other bits kept
}

TEST(GlobalFilterEncoding, DisplayIgnoresBit4WhileBit6IsClear)
{
    EXPECT_EQ(FilterItem(0x00), 0);
    EXPECT_EQ(FilterItem(0x10), 0);
    EXPECT_EQ(FilterItem(0x40), 1);
    EXPECT_EQ(FilterItem(0x50), 2);
    EXPECT_EQ(FilterItem(0xAF), 0);
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(FilterItem(WithFilterItem(0x0F, item)), item);
}

// ---- Video mode

TEST(GlobalVideoEncoding, ChosenModeBitSetOtherCleared)
{
    EXPECT_EQ(WithVideoItem(0x00, 0), 0x02);
    EXPECT_EQ(WithVideoItem(0x04, 0), 0x02);
    EXPECT_EQ(WithVideoItem(0x00, 1), 0x04);
    EXPECT_EQ(WithVideoItem(0x02, 1), 0x04);
    EXPECT_EQ(WithVideoItem(0xFF, 0), 0xFB);
    EXPECT_EQ(WithVideoItem(0xFF, 1), 0xFD);
}

TEST(GlobalVideoEncoding, DisplayFollowsBit2)
{
    EXPECT_EQ(VideoItem(0x00), 0);  // neither bit: Normal
    EXPECT_EQ(VideoItem(0x02), 0);
    EXPECT_EQ(VideoItem(0x04), 1);
    EXPECT_EQ(VideoItem(0x06), 1);
}

// ---- LFO wave

TEST(GlobalLfoWaveEncoding, TwoBitNumberInBits5And6)
{
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(WithLfoWaveItem(0x00, item), item << 5);
        EXPECT_EQ(WithLfoWaveItem(0x9F, item), 0x9F | (item << 5));
        EXPECT_EQ(LfoWaveItem(WithLfoWaveItem(0xFF, item)), item);
    }
    EXPECT_EQ(LfoWaveItem(0x60), 3);
    EXPECT_EQ(LfoWaveItem(0x9F), 0);
}

// ---- Operating mode

TEST(GlobalOperatingMode, BelowFirmware15ItemsMapToOneBitEach)
{
    for (float fw : {1.0f, 1.4f}) {
        auto block = Block(0xFF);
        WriteOperatingMode(block.data(), fw, 0);
        EXPECT_EQ(block[5], 0xE7);
        WriteOperatingMode(block.data(), fw, 1);
        EXPECT_EQ(block[5], 0xEF);
        WriteOperatingMode(block.data(), fw, 2);
        EXPECT_EQ(block[5], 0xF7);
        EXPECT_EQ(block[33], 0xFF);
        auto untouched = block;
        WriteOperatingMode(block.data(), fw, 3);
        EXPECT_EQ(block, untouched);
    }
}

TEST(GlobalOperatingMode, AtFirmware15ItemIsATwoBitNumber)
{
    for (int item = 0; item < 4; ++item) {
        auto block = Block(0x00);
        WriteOperatingMode(block.data(), 1.5f, item);
        EXPECT_EQ(block[5], item << 3) << item;
        EXPECT_EQ(block[33], 0) << item;
        block = Block(0xFF);
        WriteOperatingMode(block.data(), 1.5f, item);
        EXPECT_EQ(block[5], 0xE7 | (item << 3)) << item;
    }
    auto block = Block(0x00);
    WriteOperatingMode(block.data(), 1.5f, 3);
    EXPECT_EQ(block[5], 0x18);   // both bits for item 3
    EXPECT_EQ(block[33], 0x00);  // byte 33 untouched
}

TEST(GlobalOperatingMode, FromFirmware16TheItemGoesToByte33)
{
    auto block = Block(0x18);
    WriteOperatingMode(block.data(), 1.6f, 3);
    EXPECT_EQ(block[33], 3);
    EXPECT_EQ(block[5], 0x18);
    WriteOperatingMode(block.data(), 1.6f, 4);
    EXPECT_EQ(block[33], 4);
}

TEST(GlobalOperatingMode, NoSelectionChangesNothing)
{
    for (float fw : kFirmwares) {
        auto block = Block(0x5A);
        WriteOperatingMode(block.data(), fw, -1);
        EXPECT_EQ(block, Block(0x5A)) << fw;
    }
}

// ---- Tempo

TEST(GlobalTempo, ExamplesStoreAndDisplayBack)
{
    EXPECT_EQ(TempoByteFromText(L"120"), 90);
    EXPECT_EQ(TempoText(90), L"120");
    EXPECT_EQ(TempoByteFromText(L"30"), 0);
    EXPECT_EQ(TempoText(0), L"030");
    EXPECT_EQ(TempoByteFromText(L"25"), 251);
    EXPECT_EQ(TempoText(251), L"281");
    EXPECT_EQ(TempoByteFromText(L"999"), 201);
    EXPECT_EQ(TempoText(201), L"231");
}

TEST(GlobalTempo, RangeEnds)
{
    EXPECT_EQ(TempoByteFromText(L"255"), 225);
    EXPECT_EQ(TempoText(225), L"255");
    EXPECT_EQ(TempoText(100), L"130");
    EXPECT_EQ(TempoText(255), L"285");
    EXPECT_EQ(TempoByteFromText(L"0"), 226);
    EXPECT_EQ(TempoByteFromText(L"007"), 233);
}

TEST(GlobalTempo, EmptyOrUnreadableCountsAsZero)
{
    EXPECT_EQ(TempoByteFromText(L""), 226);
    EXPECT_EQ(TempoByteFromText(L"1x"), 226);
    EXPECT_EQ(TempoByteFromText(L"-5"), 226);
}

TEST(GlobalTempo, LongNumbersKeepTheLow8Bits)
{
    // 99999 - 30 = 99969 = 390 * 256 + 129.
    EXPECT_EQ(TempoByteFromText(L"99999"), 129);
    EXPECT_EQ(TempoByteFromText(L"286"), 0);
}
