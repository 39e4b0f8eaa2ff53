// The global and realtime parameters: where each widget's bit lives for each
// firmware, the multi-bit encodings, the operating mode, the tempo arithmetic
// and the order of the common-parameter transfers.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

#include "cross_functions.h"
#include "global_params.h"

namespace {

const float kFirmwares[] = {0.0f, 1.0f, 1.1f, 1.2f, 1.3f, 1.4f, 1.5f, 1.6f};

using Block = std::array<uint8_t, COMMON_PARAMS_LENGHT>;

Block Filled(uint8_t fill)
{
    Block block;
    block.fill(fill);
    return block;
}

}  // namespace

TEST(GlobalParams, EachWidgetHasItsOwnBitForEachFirmware)
{
    using G = GlobalBit;
    const std::pair<GlobalBit, CommonBit> fixed[] = {
        {G::MergeMidiOut, {0, 0}},     {G::MergeUsbOut, {0, 1}},   {G::MergeUsbIn, {0, 2}},
        {G::MergeMidiIn, {0, 3}},      {G::Sync24Enable, {0, 5}},  {G::ExtSyncSrc, {1, 0}},
        {G::GenIntSync, {1, 1}},       {G::ArppMidiSrc, {1, 3}},   {G::Sync24Sync, {1, 6}},
        {G::ShiftLockChannel, {3, 0}}, {G::ShiftMode, {3, 1}},     {G::ArppToMidiOut2, {3, 2}},
        {G::ArppToMidiOut1, {3, 3}},   {G::ArppToUsb, {3, 4}},     {G::ArppSync, {3, 6}},
        {G::MotionLoop, {4, 0}},       {G::MotionState, {4, 1}},   {G::LfoSync, {4, 2}},
        {G::LfoState, {4, 3}},         {G::InfraredState, {4, 4}}, {G::MotionSync, {4, 5}},
        {G::AnalogMode, {4, 6}},       {G::ShiftLockMidi, {5, 0}},
    };
    for (float fw : kFirmwares) {
        for (const auto &entry : fixed)
            EXPECT_EQ(GlobalBitLocation(entry.first, fw), entry.second) << int(entry.first) << " fw " << fw;
        // The arpeggiator's state moved at 1.5; fader feedback and tempo mode exist above 1.5 only.
        const std::optional<CommonBit> none, arpp = fw < 1.5f ? CommonBit{1, 4} : CommonBit{3, 5};
        EXPECT_EQ(GlobalBitLocation(G::ArppState, fw), arpp) << fw;
        EXPECT_EQ(GlobalBitLocation(G::MackieFaderFbk, fw), (fw > 1.5f ? CommonBit{5, 3} : none)) << fw;
        EXPECT_EQ(GlobalBitLocation(G::TempoMode, fw), (fw > 1.5f ? CommonBit{5, 4} : none)) << fw;
        std::set<std::pair<int, int>> used;
        for (int i = 0; i < kGlobalBitCount; ++i)
            if (const auto where = GlobalBitLocation(static_cast<GlobalBit>(i), fw)) {
                EXPECT_LT(where->bit, 7) << "bit 7 never travels to the device";
                EXPECT_TRUE(used.insert({where->byte, where->bit}).second) << i << " fw " << fw;
            }
    }
    for (uint8_t fill : {0x00, 0xFF, 0x5A})
        for (uint8_t byte = 0; byte < COMMON_PARAMS_LENGHT; ++byte)
            for (uint8_t bit = 0; bit < 8; ++bit)
                for (bool on : {false, true}) {
                    Block block = Filled(fill), expected = Filled(fill);
                    WriteCommonBit(block.data(), {byte, bit}, on);
                    EXPECT_EQ(ReadCommonBit(block.data(), {byte, bit}), on);
                    expected[byte] = on ? uint8_t(fill | (1u << bit)) : uint8_t(fill & ~(1u << bit));
                    EXPECT_EQ(block, expected) << int(byte) << "/" << int(bit);
                }
}

TEST(GlobalParams, MultiBitChoices)
{
    // Input filter, bits 6 and 4 of byte 0: Off (bit 4 then ignored), Realtime, All.
    const std::pair<std::pair<uint8_t, int>, uint8_t> filter[] = {
        {{0xFF, 0}, 0xAF}, {{0x00, 1}, 0x40}, {{0x10, 1}, 0x40}, {{0x00, 2}, 0x50}, {{0x2F, 2}, 0x7F}};
    for (const auto &f : filter) {
        EXPECT_EQ(WithFilterItem(f.first.first, f.first.second), f.second);
        EXPECT_EQ(FilterItem(f.second), f.first.second);
    }
    EXPECT_EQ(FilterItem(0x10), 0);
    // Video mode, bits 1 (normal) and 2 (inverted) of byte 5: the chosen one set, the other cleared.
    const std::pair<std::pair<uint8_t, int>, uint8_t> video[] = {{{0x00, 0}, 0x02}, {{0x04, 0}, 0x02},
                                                                 {{0x00, 1}, 0x04}, {{0x02, 1}, 0x04},
                                                                 {{0xFF, 0}, 0xFB}, {{0xFF, 1}, 0xFD}};
    for (const auto &v : video) {
        EXPECT_EQ(WithVideoItem(v.first.first, v.first.second), v.second);
        EXPECT_EQ(VideoItem(v.second), v.first.second);
    }
    EXPECT_EQ(VideoItem(0x00), 0);
    EXPECT_EQ(VideoItem(0x06), 1);
    // LFO wave, bits 5-6 of byte 5.
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(WithLfoWaveItem(0x00, item), item << 5);
        EXPECT_EQ(WithLfoWaveItem(0x9F, item), 0x9F | (item << 5));
        EXPECT_EQ(LfoWaveItem(WithLfoWaveItem(0xFF, item)), item);
    }
}

TEST(GlobalParams, OperatingModeGoesWhereTheFirmwareKeepsIt)
{
    for (float fw : {1.0f, 1.4f}) {  // below 1.5: one bit per item, 0 to 2 only
        Block block = Filled(0xFF);
        for (const auto &item : {std::pair<int, uint8_t>{0, 0xE7}, {1, 0xEF}, {2, 0xF7}, {3, 0xF7}}) {
            WriteOperatingMode(block.data(), fw, item.first);
            EXPECT_EQ(block[5], item.second) << fw << " item " << item.first;
        }
        EXPECT_EQ(block[33], 0xFF);
    }
    for (int item = 0; item < 4; ++item) {  // at 1.5: a two-bit number in bits 3-4
        Block block = Filled(0xFF);
        WriteOperatingMode(block.data(), 1.5f, item);
        EXPECT_EQ(block[5], 0xE7 | (item << 3));
        EXPECT_EQ(block[33], 0xFF);
    }
    Block block = Filled(0x18);  // from 1.6: byte 33 takes the item
    WriteOperatingMode(block.data(), 1.6f, 4);
    EXPECT_EQ(block[33], 4);
    EXPECT_EQ(block[5], 0x18);
    for (float fw : kFirmwares) {  // no selection changes nothing
        block = Filled(0x5A);
        WriteOperatingMode(block.data(), fw, -1);
        EXPECT_EQ(block, Filled(0x5A)) << fw;
    }
}

TEST(GlobalParams, TempoIsTheNumberMinusThirtyInEightBits)
{
    const std::pair<const wchar_t *, uint8_t> stored[] = {{L"120", 90},  {L"30", 0},   {L"25", 251},  {L"999", 201},
                                                          {L"255", 225}, {L"0", 226},  {L"007", 233}, {L"", 226},
                                                          {L"1x", 226},  {L"-5", 226}, {L"286", 0},   {L"99999", 129}};
    for (const auto &t : stored)
        EXPECT_EQ(TempoByteFromText(t.first), t.second) << t.first;
    const std::pair<uint8_t, const wchar_t *> shown[] = {{90, L"120"},  {0, L"030"},   {251, L"281"},
                                                         {100, L"130"}, {255, L"285"}, {225, L"255"}};
    for (const auto &t : shown)
        EXPECT_EQ(TempoText(t.first), t.second);
}

TEST(GlobalParams, CommonTransfersCoverEachExchangedAddressOnce)
{
    std::set<uint8_t> addresses;
    for (const CommonTransferItem &item : kCommonTransferSequence) {
        EXPECT_TRUE(addresses.insert(item.address).second) << int(item.address);
        EXPECT_EQ(Check_invalid_request(COMMON_PARAM_WRITE, item.address, 0), 0) << int(item.address);
        EXPECT_EQ(CommonItemTravels(item.address, 1.5f), item.address != COMMON_PARAM_OPERATING);
        EXPECT_TRUE(CommonItemTravels(item.address, 1.6f));
    }
    EXPECT_EQ(addresses, std::set<uint8_t>({0, 1, 3, 4, 5, 11, 32, 33, 34, 35, 36, 37, 38}));
}
