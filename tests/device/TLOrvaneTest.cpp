#include "device/TLOrvane.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr int kBanks = TLOrvane::kBankCount;
constexpr int kSamples = TLOrvane::kSamplesPerBank;

// An image whose every sample tells its bank and index, full range included.
std::vector<std::int16_t> patternImage()
{
    std::vector<std::int16_t> image(std::size_t(kBanks) * kSamples);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(i * 40503u + (i >> 16) * 7));
    return image;
}

KTMidiEvent event(std::initializer_list<int> values)
{
    KTMidiEvent result;
    for (int value : values)
        result.push_back(static_cast<std::uint8_t>(value));
    return result;
}

KTMidiEvent withText(KTMidiEvent head, const std::string& text)
{
    head.insert(head.end(), text.begin(), text.end());
    return head;
}

class TLOrvaneTest : public testing::Test {
protected:
    std::vector<std::int16_t> mImage = patternImage();
    std::unique_ptr<TLOrvane> mStore = std::make_unique<TLOrvane>(mImage.data());

    std::int16_t factorySample(int bank, int index) const { return mImage[std::size_t(bank) * kSamples + index]; }
};

} // namespace

TEST_F(TLOrvaneTest, StartsFromTheFactoryImageWithDefaultNames)
{
    for (int bank = 0; bank < kBanks; ++bank) {
        const auto& samples = mStore->mSamples[bank];
        ASSERT_EQ(samples.size(), std::size_t(kSamples));
        EXPECT_EQ(samples[1], factorySample(bank, 1));
        EXPECT_EQ(samples[kSamples - 2], factorySample(bank, kSamples - 2));
        EXPECT_EQ(samples[kSamples - 1], 0) << "the last sample is always cleared";
        EXPECT_EQ(mStore->mSampleNames[bank].size(), 256u);
    }
    EXPECT_EQ(mStore->mBankNames[0], "Bank 1");
    EXPECT_EQ(mStore->mBankNames[6], "Bank 7");
    EXPECT_EQ(mStore->mSampleNames[6][255], "Sample 256 (in Bank 7)");
    EXPECT_EQ(mStore->mSampleNames[2][11], "Sample 12 (in Bank 3)");
    EXPECT_EQ(mStore->mSampleNames[0][0], "Sample 1 (in Bank 1)");
}

TEST_F(TLOrvaneTest, ResetRestoresOneBankOnly)
{
    mStore->setBankName("Kick", 3);
    mStore->setSampleName("Kick 909", 3, 0);
    mStore->setSampleName("other", 3, 200);
    mStore->mSamples[3].assign(100, 5);
    mStore->setBankName("Keep", 4);
    mStore->mSamples[4][10] = 1234;

    mStore->resetBank(3);

    EXPECT_EQ(mStore->mBankNames[3], "Bank 4");
    EXPECT_EQ(mStore->mSampleNames[3][0], "Sample 1 (in Bank 4)");
    EXPECT_EQ(mStore->mSampleNames[3][200], "Sample 201 (in Bank 4)");
    ASSERT_EQ(mStore->mSamples[3].size(), std::size_t(kSamples));
    EXPECT_EQ(mStore->mSamples[3][100], factorySample(3, 100));
    EXPECT_EQ(mStore->mBankNames[4], "Keep");
    EXPECT_EQ(mStore->mSamples[4][10], 1234);
}

TEST_F(TLOrvaneTest, SampleDumpByteLayout)
{
    mStore->mSamples[2][0] = 804;
    mStore->mSamples[2][1] = -1597;
    mStore->mSamples[2][2] = -32768;
    mStore->mSamples[2][3] = 32767;
    const KTMidiEventList dump = mStore->makeSampleDump(2, 5);
    ASSERT_EQ(dump.size(), 2u);
    EXPECT_EQ(dump[0], event({0xF0, 0x31, 0x0D, 0x79, 0x02, 0xF7}));
    EXPECT_EQ(dump[0].mDelay, 0u);

    const KTMidiEvent& data = dump[1];
    ASSERT_EQ(data.size(), 262150u);
    EXPECT_EQ(data.mDelay, 6000u);
    EXPECT_EQ(KTMidiEvent(data.begin(), data.begin() + 21),
              event({0xF0, 0x31, 0x42, 0x66, 0x25,             //
                     0x00, 0x24, 0x00, 0x03, 0x01, 0x43, 0x01, 0x79, // 804, -1597
                     0x00, 0x00, 0x01, 0x00, 0x01, 0x7F, 0x00, 0x7F}));
    EXPECT_EQ(data.back(), 0xF7);
    for (std::size_t i = 5; i + 1 < data.size(); ++i)
        ASSERT_LT(data[i], 0x80) << "data byte " << i << " is not seven-bit";

    EXPECT_EQ(mStore->makeSampleDump(6, 31)[1][4], 0x2F) << "only the channel's low nibble";
}

TEST_F(TLOrvaneTest, DetectBankResultCodes)
{
    const KTMidiEvent header3 = event({0xF0, 0x31, 0x0D, 0x79, 0x03, 0xF7});
    KTMidiEvent data5 = mStore->makeSampleDump(5, 9)[1];
    const KTMidiEvent name = withText(event({0xFF, 0x03}), "x");
    struct Case {
        const char* what;
        KTMidiEventList events;
        int expected;
    };
    const Case cases[] = {
        {"empty list", {}, -1},
        {"names only", {name}, -1},
        {"number from the data message", {header3, data5}, 5},
        {"data message first", {data5, header3}, -2},
        {"short first SysEx", {event({0xF0, 0x31, 0x0D})}, -2},
        {"header last", {name, header3}, -3},
        {"header then a name", {header3, name, data5}, -3},
        {"header then a short SysEx", {header3, event({0xF0, 0x31, 0x45, 0x66})}, -3},
        {"wrong high nibble", {header3, event({0xF0, 0x31, 0x45, 0x66, 0x30, 0xF7})}, -3},
        {"bank field 63", {header3, event({0xF0, 0x31, 0x7F, 0x66, 0x2F, 0xF7})}, 63},
        {"empty event before", {KTMidiEvent{}, header3, data5}, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mStore->detectBank(c.events), c.expected) << c.what;
}

TEST_F(TLOrvaneTest, LoadBankRefusesWhatIsNotADump)
{
    const auto before = mStore->mSamples[0];
    const KTMidiEvent rename = withText(event({0xFF, 0x03}), "Changed");
    const KTMidiEvent data = mStore->makeSampleDump(3, 0)[1];
    const KTMidiEvent header = event({0xF0, 0x31, 0x0D, 0x79, 0x00, 0xF7});

    EXPECT_FALSE(mStore->loadBank({rename, data}, 0)) << "-2";
    EXPECT_FALSE(mStore->loadBank({rename, header}, 0)) << "-3";
    EXPECT_TRUE(mStore->loadBank({rename}, 0)) << "no SysEx: nothing to do";
    EXPECT_EQ(mStore->mBankNames[0], "Bank 1");
    EXPECT_EQ(mStore->mSamples[0], before);
}

TEST_F(TLOrvaneTest, LoadBankNameAreasAndOddLengths)
{
    const KTMidiEvent header = event({0xF0, 0x31, 0x0D, 0x79, 0x00, 0xF7});
    auto dataOf = [](std::size_t dataBytes) {
        KTMidiEvent data = event({0xF0, 0x31, 0x40, 0x66, 0x20});
        for (std::size_t i = 0; i < dataBytes; ++i)
            data.push_back(static_cast<std::uint8_t>(i % 2 ? 0x7F : 0x01));
        data.push_back(0xF7);
        return data;
    };
    KTMidiEvent names = event({0xFF, 0x7F, 0x31, 0x00, 0x66, 0x00});
    for (char c : std::string("abc\0de\0", 7))
        names.push_back(static_cast<std::uint8_t>(c));
    KTMidiEvent unterminated = withText(event({0xFF, 0x7F, 1, 2, 3, 4}), "last");
    const KTMidiEvent cutName = withText(event({0xFF, 0x03}), std::string("Lead\0junk", 9));

    ASSERT_TRUE(mStore->loadBank({cutName, names, header, dataOf(400)}, 0));
    EXPECT_EQ(mStore->mBankNames[0], "Lead");
    EXPECT_EQ(mStore->mSampleNames[0][0], "abc");
    EXPECT_EQ(mStore->mSampleNames[0][1], "de");
    EXPECT_EQ(mStore->mSampleNames[0][2], "Sample 3 (in Bank 1)");
    ASSERT_EQ(mStore->mSamples[0].size(), 100u);
    EXPECT_EQ(mStore->mSamples[0][0], -1) << "bytes 01 7F 01 7F are FF FF";

    ASSERT_TRUE(mStore->loadBank({unterminated, header, dataOf(402)}, 1));
    EXPECT_EQ(mStore->mSampleNames[1][0], "last");
    EXPECT_EQ(mStore->mSamples[1].size(), 100u);

    ASSERT_TRUE(mStore->loadBank({event({0xFF, 0x03}), header, dataOf(0)}, 2));
    EXPECT_EQ(mStore->mBankNames[2], "");
    EXPECT_TRUE(mStore->mSamples[2].empty());
    mStore->resetBank(2);
    EXPECT_EQ(mStore->mSamples[2].size(), std::size_t(kSamples)) << "reset restores the length";

    // More names than slots: the extra ones are ignored.
    KTMidiEvent many = event({0xFF, 0x7F, 0x31, 0x00, 0x66, 0x00});
    for (int i = 0; i < 300; ++i) {
        const std::string n = "n" + std::to_string(i);
        many.insert(many.end(), n.begin(), n.end());
        many.push_back(0x00);
    }
    ASSERT_TRUE(mStore->loadBank({many, header, dataOf(8)}, 3));
    EXPECT_EQ(mStore->mSampleNames[3][255], "n255");

    // A sequencer-specific event of six bytes or fewer carries no names.
    ASSERT_TRUE(mStore->loadBank({event({0xFF, 0x7F, 0x31}), header, dataOf(8)}, 4));
    EXPECT_EQ(mStore->mSampleNames[4][0], "Sample 1 (in Bank 5)");
}

