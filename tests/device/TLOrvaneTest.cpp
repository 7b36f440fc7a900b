// What the disk round trips and fingerprints leave open: the channel nibble,
// detectBank's result codes, loadBank's refusals and odd name areas, reset.

#include "device/TLOrvane.h"
#include "tests/support/TestBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A data message for bank 0 with the given number of data bytes (01 7F ...).
KTMidiEvent dataOf(std::size_t dataBytes)
{
    KTMidiEvent data = event("f0314066 20");
    for (std::size_t i = 0; i < dataBytes; ++i)
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

// A list that detectBank refuses (< -1) or finds no SysEx in (-1) leaves the bank alone.
TEST_F(TLOrvaneTest, DetectBankResultCodesAndLoadBankRefusals)
{
    const KTMidiEvent header3 = event("f0310d79 03f7");
    const KTMidiEvent data5 = mStore.makeSampleDump(5, 9)[1];
    const KTMidiEvent name = event("ff03'x'");
    const struct {
        const char* what;
        KTMidiEventList events;
        int expected;
    } cases[] = {
        {"empty list", {}, -1},
        {"names only", {name}, -1},
        {"number from the data message", {header3, data5}, 5},
        {"data message first", {name, data5, header3}, -2},
        {"short first SysEx", {event("f0310d")}, -2},
        {"header last", {name, header3}, -3},
        {"header then a name", {header3, name, data5}, -3},
        {"header then a short SysEx", {header3, event("f0314566")}, -3},
        {"wrong high nibble", {header3, event("f0314566 30f7")}, -3},
        {"bank field 63", {header3, event("f0317f66 2ff7")}, 63},
        {"empty event before", {KTMidiEvent{}, header3, data5}, 5},
    };
    for (const auto& c : cases) {
        const auto samples = mStore.mSamples[0];
        const std::string bankName = mStore.mBankNames[0];
        EXPECT_EQ(mStore.detectBank(c.events), c.expected) << c.what;
        EXPECT_EQ(mStore.loadBank(c.events, 0), c.expected >= -1) << c.what;
        if (c.expected < 0) {
            EXPECT_TRUE(mStore.mSamples[0] == samples && mStore.mBankNames[0] == bankName) << c.what;
        }
    }
}

TEST_F(TLOrvaneTest, LoadBankNameAreasAndOddLengths)
{
    const KTMidiEvent header = event("f0310d79 00f7");
    const KTMidiEvent names = event("ff7f 31006600 'abc'00'de'00");
    ASSERT_TRUE(mStore.loadBank({event("ff03 'Lead'00'junk'"), names, header, dataOf(400)}, 0));
    EXPECT_EQ(mStore.mBankNames[0], "Lead");
    EXPECT_EQ(mStore.mSampleNames[0][0], "abc");
    EXPECT_EQ(mStore.mSampleNames[0][1], "de");
    EXPECT_EQ(mStore.mSampleNames[0][2], "Sample 3 (in Bank 1)");
    ASSERT_EQ(mStore.mSamples[0].size(), 100u);
    EXPECT_EQ(mStore.mSamples[0][0], -1) << "bytes 01 7F 01 7F are FF FF";

    ASSERT_TRUE(mStore.loadBank({event("ff7f 01020304 'last'"), header, dataOf(402)}, 1));
    EXPECT_EQ(mStore.mSampleNames[1][0], "last");
    EXPECT_EQ(mStore.mSamples[1].size(), 100u);

    ASSERT_TRUE(mStore.loadBank({event("ff03"), header, dataOf(0)}, 2));
    EXPECT_EQ(mStore.mBankNames[2], "");
    EXPECT_TRUE(mStore.mSamples[2].empty());

    // More names than slots: the extra ones are ignored.
    KTMidiEvent many = event("ff7f 31006600");
    for (int i = 0; i < 300; ++i)
        for (char c : "n" + std::to_string(i) + '\0')
            many.push_back(static_cast<std::uint8_t>(c));
    ASSERT_TRUE(mStore.loadBank({many, header, dataOf(8)}, 3));
    EXPECT_EQ(mStore.mSampleNames[3][255], "n255");

    // A sequencer-specific event of six bytes or fewer carries no names.
    ASSERT_TRUE(mStore.loadBank({event("ff7f31"), header, dataOf(8)}, 4));
    EXPECT_EQ(mStore.mSampleNames[4][0], "Sample 1 (in Bank 5)");
}
