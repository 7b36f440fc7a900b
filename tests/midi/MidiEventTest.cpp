#include "midi/KTMidiEvent.h"
#include "midi/KTTimingConversions.h"
#include "midi/KTVarlength.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string text;
    for (int value : values)
        text += static_cast<char>(value);
    return text;
}

std::string written(const KTBuffer& buffer)
{
    std::ostringstream out;
    out << buffer;
    return out.str();
}

// A stream that cannot seek, as a pipe would be.
class UnseekableBuffer : public std::streambuf {
public:
    explicit UnseekableBuffer(std::string data)
        : mData(std::move(data))
    {
        setg(mData.data(), mData.data(), mData.data() + mData.size());
    }

private:
    std::string mData;
};

struct VarlengthCase {
    std::uint64_t value;
    std::string encoded;
};

} // namespace

TEST(KTVarlength, EncodesAndDecodesTheTableBothWays)
{
    const VarlengthCase cases[] = {
        {0, bytes({0x00})},
        {0x7F, bytes({0x7F})},
        {0x80, bytes({0x81, 0x00})},
        {0x3FFF, bytes({0xFF, 0x7F})},
        {0x4000, bytes({0x81, 0x80, 0x00})},
        {0x0FFFFFFF, bytes({0xFF, 0xFF, 0xFF, 0x7F})},
        {~std::uint64_t{0}, bytes({0x81, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})},
    };
    for (const VarlengthCase& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(written(KTVarlength(c.value)), c.encoded);

        std::istringstream in(c.encoded + "tail");
        KTVarlength read;
        read.read(in);
        EXPECT_EQ(read.value(), c.value);
        EXPECT_EQ(written(read), c.encoded);
        EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(c.encoded.size()));
    }
}

TEST(KTVarlength, StopsAtTheEndOfACutShortStream)
{
    std::istringstream in(bytes({0x81, 0x80}));
    KTVarlength quantity;
    quantity.read(in);
    EXPECT_TRUE(in.fail());
    EXPECT_EQ(quantity.size(), 2u);

    std::istringstream empty;
    quantity.read(empty);
    EXPECT_EQ(written(quantity), bytes({0x00})) << "a quantity always holds a byte";
}

TEST(KTMidiEvent, WritesAndReadsBothShapes)
{
    KTMidiEvent endOfTrack{0xFF, 0x2F};
    EXPECT_EQ(written(endOfTrack), bytes({0xFF, 0x2F, 0x00}));

    KTMidiEvent trackName{0xFF, 0x03, 'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(written(trackName), bytes({0xFF, 0x03, 0x05}) + "hello");

    KTMidiEvent sysex(200, 0x11);
    sysex.front() = 0xF0;
    sysex.back() = 0xF7;
    const std::string onStream = written(sysex);
    ASSERT_EQ(onStream.size(), 202u);
    EXPECT_EQ(onStream.substr(0, 3), bytes({0xF0, 0x81, 0x47}));

    for (const KTMidiEvent& event : {endOfTrack, trackName, sysex}) {
        std::istringstream in(written(event) + bytes({0xFF, 0x2F, 0x00}));
        KTMidiEvent back;
        back.mDelay = 77;
        back.read(in);
        EXPECT_EQ(back, event);
        EXPECT_EQ(back.mDelay, 77u) << "reading leaves the pause alone";
        back.read(in);
        EXPECT_EQ(back, endOfTrack) << "the stream sits right after the first event";
    }
}

TEST(KTMidiEvent, CutShortOrHostileInputGivesAnEmptyEvent)
{
    const std::string truncated[] = {
        "",
        bytes({0xFF}),                           // end inside the header
        bytes({0xF0}),                           // no length
        bytes({0xF0, 0x85}),                     // end inside the length
        bytes({0xF0, 0x05, 1, 2, 3}),            // end inside the data
        bytes({0xFF, 0x03, 0x81, 0x00}) + "abc", // meta data cut short
    };
    for (const std::string& input : truncated) {
        std::istringstream in(input);
        KTMidiEvent event{1, 2, 3};
        event.read(in);
        EXPECT_TRUE(event.empty()) << KTBuffer(input.begin(), input.end()).toHexString();
        EXPECT_TRUE(in.fail());
    }

    // A length of 2^60 in a 20-byte stream must not be allocated, seekable or not.
    const std::string huge = bytes({0xF0, 0x90, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x00}) + "0123456789";
    std::istringstream seekable(huge);
    UnseekableBuffer pipe(huge);
    std::istream unseekable(&pipe);
    for (std::istream* in : {static_cast<std::istream*>(&seekable), &unseekable}) {
        KTMidiEvent event;
        event.read(*in);
        EXPECT_TRUE(event.empty());
        EXPECT_LT(event.capacity(), 1u << 20);
        EXPECT_TRUE(in->fail());
    }
}

TEST(KTMidiEvent, ReadsLongDataFromAStreamThatCannotSeek)
{
    KTMidiEvent sysex(300000, 0x42);
    sysex.front() = 0xF0;
    UnseekableBuffer pipe(written(sysex));
    std::istream in(&pipe);
    KTMidiEvent back;
    back.read(in);
    EXPECT_EQ(back, sysex);
}

TEST(KTMidiEvent, CopiesBytesAndPause)
{
    KTMidiEvent event{0xF0, 0x31, 0xF7};
    event.mDelay = 6000;
    const KTMidiEvent copy = event;
    EXPECT_EQ(copy, event);
    EXPECT_EQ(copy.mDelay, 6000u);
}

TEST(KTBuffer, HexTextAndSizedRead)
{
    EXPECT_EQ(KTBuffer{}.toHexString(), "");
    EXPECT_EQ((KTBuffer{0x0A, 0xFF}).toHexString(), "0a ff\n");
    EXPECT_EQ((KTBuffer{0x00, 0xFF, 0x2F, 0x00}).toHexString(), "00 ff 2f 00\n");

    std::istringstream in("FORMxy");
    KTBuffer id(4);
    id.read(in);
    EXPECT_EQ(std::string(id.begin(), id.end()), "FORM");
    id.read(in);
    EXPECT_EQ(std::string(id.begin(), id.end()), "xy") << "a short read shrinks the buffer";
    KTBuffer none;
    none.read(in);
    EXPECT_TRUE(none.empty());
}

TEST(TimingConversions, RoundUpOnlyWhenThereIsAFraction)
{
    struct Case {
        std::uint64_t (*convert)(std::uint64_t, std::uint16_t, std::uint16_t);
        std::uint64_t input;
        std::uint16_t division;
        std::uint16_t tempo;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {millisecondsToTicks, 6000, 24, 120, 288},
        {ticksToMilliseconds, 288, 24, 120, 6000},
        {millisecondsToTicks, 10, 24, 120, 1},
        {ticksToMilliseconds, 1, 24, 120, 21},
        {millisecondsToTicks, 500, 24, 120, 24},
        {millisecondsToTicks, 1, 24, 120, 1},
        {millisecondsToTicks, 0, 24, 120, 0},
        {byteTimesToTicks, 65, 24, 120, 1},
        {byteTimesToTicks, 66, 24, 120, 2},
        {byteTimesToTicks, 131072, 24, 120, 2014},
        {byteTimesToTicks, 6, 24, 120, 1},
        {ticksToByteTimes, 1, 24, 120, 66},
        {millisecondsToTicks, 8571, 1, 7, 1}, // beat length 60000 / 7 = 8571 whole ms
        {millisecondsToTicks, 8572, 1, 7, 2},
        // Values a damaged file can carry give 0 instead of dividing by zero.
        {ticksToMilliseconds, 100, 0, 120, 0},
        {ticksToByteTimes, 100, 0, 120, 0},
        {millisecondsToTicks, 100, 24, 0, 0},
        {millisecondsToTicks, 100, 24, 65535, 0},
        {byteTimesToTicks, 100, 24, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.input << " at " << c.division << "/" << c.tempo);
        EXPECT_EQ(c.convert(c.input, c.division, c.tempo), c.expected);
    }
    EXPECT_EQ(ticksToMilliseconds(~std::uint64_t{0}, 1, 1), ~std::uint64_t{0}) << "saturates";
}
