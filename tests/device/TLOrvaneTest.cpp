// What the disk round trips and fingerprints leave open: the channel nibble,
// detectBank's result codes, loadBank's refusals (damaged dumps among them)
// and odd name areas, reset.

#include "device/TLOrvane.h"
#include "tests/support/TestBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A data message for bank 0: a whole bank of data bytes 01 7F ...
KTMidiEvent dataOf()
{
    KTMidiEvent data = event("f0314066 20");
    for (std::size_t i = 0; i < 4 * TLOrvane::kSamplesPerBank; ++i)
        data.push_back(static_cast<std::uint8_t>(i % 2 ? 0x7F : 0x01));
    data.push_back(0xF7);
    return data;
}

class TLOrvaneTest : public testing::Test {
protected:
    TLOrvaneTest()
    {
        for (std::size_t i = 0; i < mImage.size(); ++i)
            mImage[i] = static_cast<std::int16_t>(i * 40503u);
    }
    std::vector<std::int16_t> mImage = std::vector<std::int16_t>(TLOrvane::kFactoryImageBytes / 2);
    TLOrvane mStore{mImage.data()};
};

} // namespace

TEST_F(TLOrvaneTest, ResetRestoresOneBankOnlyAtItsFullLength)
{
    mStore.setBankName("Kick", 3);
    mStore.setSampleName("other", 3, 200);
    mStore.mSamples[3].assign(100, 5);
    mStore.setBankName("Keep", 4);
    mStore.mSamples[4][10] = 1234;
    mStore.resetBank(3);
    EXPECT_EQ(mStore.mBankNames[3], "Bank 4");
    EXPECT_EQ(mStore.mSampleNames[3][200], "Sample 201 (in Bank 4)");
    ASSERT_EQ(mStore.mSamples[3].size(), std::size_t(TLOrvane::kSamplesPerBank));
    EXPECT_EQ(mStore.mSamples[3][100], mImage[3 * TLOrvane::kSamplesPerBank + 100]);
    EXPECT_EQ(mStore.mSamples[3].back(), 0) << "the last sample is always cleared";
    EXPECT_EQ(mStore.mBankNames[4], "Keep");
    EXPECT_EQ(mStore.mSamples[4][10], 1234);
    EXPECT_EQ(mStore.makeSampleDump(6, 31)[1][4], 0x2F) << "only the channel's low nibble";
}

// A list that detectBank refuses (< -1), finds no SysEx in (-1), or whose dump
// is damaged leaves the bank alone: every bank keeps its 65,536 samples.
TEST_F(TLOrvaneTest, DetectBankResultCodesAndLoadBankRefusals)
{
    const KTMidiEvent header3 = event("f0310d79 03f7");
    const KTMidiEvent data5 = mStore.makeSampleDump(5, 9)[1];
    const KTMidiEvent name = event("ff03'x'");
    const auto changed = [&data5](std::size_t at, std::uint8_t byte) {
        KTMidiEvent copy = data5;
        copy[at] = byte;
        return copy;
    };
    KTMidiEvent cut = data5;
    cut.pop_back();
    const struct {
        const char* what;
        KTMidiEventList events;
        int expected;
        bool loads;
    } cases[] = {
        {"empty list", {}, -1, true},
        {"names only", {name}, -1, true},
        {"number from the data message", {name, header3, data5}, 5, true},
        {"data message first", {name, data5, header3}, -2, false},
        {"short first SysEx", {event("f0310d")}, -2, false},
        {"header last", {name, header3}, -3, false},
        {"header then a name", {header3, name, data5}, -3, false},
        {"header then a short SysEx", {header3, event("f0314566")}, -3, false},
        {"wrong high nibble", {header3, event("f0314566 30f7")}, -3, false},
        {"bank field 63, data too short", {header3, event("f0317f66 2ff7")}, 63, false},
        {"empty event before", {KTMidiEvent{}, header3, data5}, 5, true},
        {"data byte 0x80", {header3, changed(1000, 0x80)}, 5, false},
        {"data byte 0xF7 inside", {header3, changed(7, 0xF7)}, 5, false},
        {"other manufacturer", {header3, changed(1, 0x32)}, 5, false},
        {"header of another manufacturer", {event("f0320d79 03f7"), data5}, 5, false},
        {"no final F7", {header3, changed(data5.size() - 1, 0x00)}, 5, false},
        {"one byte short", {header3, cut}, 5, false},
    };
    for (const auto& c : cases) {
        mStore.setBankName("Before", 0);
        const auto samples = mStore.mSamples[0];
        EXPECT_EQ(mStore.detectBank(c.events), c.expected) << c.what;
        EXPECT_EQ(mStore.loadBank(c.events, 0), c.loads) << c.what;
        EXPECT_EQ(mStore.mSamples[0].size(), std::size_t(TLOrvane::kSamplesPerBank)) << c.what;
        if (!c.loads) {
            EXPECT_TRUE(mStore.mSamples[0] == samples && mStore.mBankNames[0] == "Before") << c.what;
        } else if (c.expected >= 0) {
            EXPECT_EQ(mStore.mSamples[0], mStore.mSamples[5]) << c.what;
        }
    }
}

TEST_F(TLOrvaneTest, LoadBankNameAreas)
{
    const KTMidiEvent header = event("f0310d79 00f7");
    const KTMidiEvent names = event("ff7f 31006600 'abc'00'de'00");
    ASSERT_TRUE(mStore.loadBank({event("ff03 'Lead'00'junk'"), names, header, dataOf()}, 0));
    EXPECT_EQ(mStore.mBankNames[0], "Lead");
    EXPECT_EQ(mStore.mSampleNames[0][0], "abc");
    EXPECT_EQ(mStore.mSampleNames[0][1], "de");
    EXPECT_EQ(mStore.mSampleNames[0][2], "Sample 3 (in Bank 1)");
    EXPECT_EQ(mStore.mSamples[0][0], -1) << "bytes 01 7F 01 7F are FF FF";

    ASSERT_TRUE(mStore.loadBank({event("ff7f 01020304 'last'"), header, dataOf()}, 1));
    EXPECT_EQ(mStore.mSampleNames[1][0], "last");

    ASSERT_TRUE(mStore.loadBank({event("ff03"), header, dataOf()}, 2));
    EXPECT_EQ(mStore.mBankNames[2], "");

    // More names than slots: the extra ones are ignored.
    KTMidiEvent many = event("ff7f 31006600");
    for (int i = 0; i < 300; ++i)
        for (char c : "n" + std::to_string(i) + '\0')
            many.push_back(static_cast<std::uint8_t>(c));
    ASSERT_TRUE(mStore.loadBank({many, header, dataOf()}, 3));
    EXPECT_EQ(mStore.mSampleNames[3][255], "n255");

    // A sequencer-specific event of six bytes or fewer carries no names.
    ASSERT_TRUE(mStore.loadBank({event("ff7f31"), header, dataOf()}, 4));
    EXPECT_EQ(mStore.mSampleNames[4][0], "Sample 1 (in Bank 5)");
}
