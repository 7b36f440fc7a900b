#include "midi/KTMidiFileReader.h"
#include "midi/KTMidiFileWriter.h"
#include "midi/KTTimingConversions.h"
#include "midi/KTVarlength.h"
#include "tests/support/TestBytes.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <sstream>
#include <tuple>

namespace {

using Delays = std::vector<std::uint64_t>;

Bytes written(const KTBuffer& buffer)
{
    std::stringstream out;
    out << buffer;
    return Bytes(std::istreambuf_iterator<char>(out), std::istreambuf_iterator<char>());
}

const std::string kHeader = "'MThd' 00000006 0001 0002 0018 ", kEnd = "00ff2f00 ";

// A track chunk around the events' bytes, its length counted.
std::string track(const std::string& events)
{
    char length[9];
    std::snprintf(length, sizeof length, "%08zx", hex(events).size());
    return "'MTrk' " + std::string(length) + " " + events + " ";
}

// Every event of the file, track after track until the reader gives an empty list.
KTMidiEventList readAll(KTMidiFileReader& reader)
{
    KTMidiEventList all, events;
    while (!reader.readTrack(events).empty())
        all.insert(all.end(), events.begin(), events.end());
    return all;
}

Delays delays(const KTMidiEventList& events)
{
    Delays values;
    std::ranges::transform(events, std::back_inserter(values), &KTMidiEvent::mDelay);
    return values;
}

} // namespace

TEST(KTVarlength, EncodesAndDecodes)
{
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "00"}, {0x7F, "7f"}, {0x80, "8100"}, {0x3FFF, "ff7f"}, {0x4000, "818000"}, {0x0FFFFFFF, "ffffff7f"},
        {~std::uint64_t{0}, "81ffffffffffffffff7f"}, {0x1234, "a434"}};
    for (const auto& [value, encoded] : cases) {
        const Bytes form = hex(encoded);
        EXPECT_EQ(written(KTVarlength(value)), form) << encoded;
        std::istringstream in(std::string(form.begin(), form.end()) + "tail");
        EXPECT_EQ(KTVarlength().read(in).value(), value) << encoded;
    }
    EXPECT_EQ(KTVarlength(0x4000).toHexString(), "81 80 00\n");
}

// Each event with its file form (status, [type], length, data), and input that
// must give an empty event: cut short, or claiming 2^60 bytes (never allocated).
TEST(KTMidiEvent, WritesAndReadsEveryShapeAndRefusesDamagedInput)
{
    const auto sysEx = [](std::size_t size, const std::string& length) {
        const std::string data = std::string(2 * size - 4, 'a') + "f7";
        return std::make_pair(event("f0" + data), hex("f0" + length + data));
    };
    const std::pair<KTMidiEvent, Bytes> cases[] = {
        {event("ff2f"), hex("ff2f00")}, {event("ff03'hi'"), hex("ff0302'hi'")}, {event("f7"), hex("f700")},
        sysEx(200, "8147"), sysEx(5000, "a707"), sysEx(300000, "92a75f"), {{}, hex("")}, {{}, hex("ff")},
        {{}, hex("f0")}, {{}, hex("f085")}, {{}, hex("f005010203")}, {{}, hex("ff038100'abc'")},
        {{}, hex("f0 908080808080808000 'data'")}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        if (!cases[i].first.empty()) {
            EXPECT_EQ(written(cases[i].first), cases[i].second);
        }
        // Reading leaves the pause alone and never allocates more than the stream holds.
        std::istringstream in(std::string(cases[i].second.begin(), cases[i].second.end()));
        KTMidiEvent read = event("", 77);
        read.read(in);
        EXPECT_EQ(std::make_tuple(read, in.fail(), read.mDelay),
                  std::make_tuple(cases[i].first, cases[i].first.empty(), 77u));
        EXPECT_LT(read.capacity(), 1u << 20);
    }
}

TEST(TimingConversions, RoundUpOnlyWhenThereIsAFraction)
{
    using Convert = std::uint64_t (*)(std::uint64_t, std::uint16_t, std::uint16_t);
    const Convert ms = millisecondsToTicks, toMs = ticksToMilliseconds, bytes = byteTimesToTicks,
                  toBytes = ticksToByteTimes;
    // A beat at tempo 7 is 60000 / 7 = 8571 whole ms. Values a damaged file can
    // carry give 0 instead of dividing by zero, or saturate.
    const std::tuple<Convert, std::uint64_t, std::uint16_t, std::uint16_t, std::uint64_t> cases[] = {
        {ms, 6000, 24, 120, 288}, {toMs, 288, 24, 120, 6000}, {ms, 10, 24, 120, 1}, {toMs, 1, 24, 120, 21},
        {ms, 500, 24, 120, 24}, {ms, 0, 24, 120, 0}, {bytes, 65, 24, 120, 1}, {bytes, 66, 24, 120, 2},
        {bytes, 131072, 24, 120, 2014}, {toBytes, 1, 24, 120, 66}, {toBytes, 24, 24, 120, 1563}, {ms, 8571, 1, 7, 1},
        {ms, 8572, 1, 7, 2}, {toMs, 100, 0, 120, 0}, {toBytes, 100, 0, 120, 0}, {toBytes, 100, 24, 0, 0},
        {ms, 100, 24, 0, 0}, {ms, 100, 24, 65535, 0}, {bytes, 100, 24, 0, 0}, {toMs, ~0ULL, 1, 1, ~0ULL}};
    for (const auto& [convert, input, division, tempo, expected] : cases)
        EXPECT_EQ(convert(input, division, tempo), expected) << input << " at " << division << "/" << tempo;
}

// Each list is written with writeTrack; the file is compared before it is closed
// (what a crash would leave), then read back: the events that have a file form,
// with the pauses recovered from their delta times. Tracks that keep the elapsed
// time are pinned by the disk fingerprints and the mido interop test.
TEST(KTMidiFile, WritesExactBytesAndReadsThemBack)
{
    const auto sx = [](std::uint64_t delay) { return event("f0 01020304f7", delay); };
    const std::string format0 = "'MThd' 00000006 0000 0001 0018 ", sx6 = " f005 01020304f7 ";
    const std::tuple<const char*, std::vector<KTMidiEventList>, bool, std::string, Delays> cases[] = {
        {"fresh file", {}, true, format0 + track(kEnd), {}},
        // 6000 ms is 288 ticks; each later message waits for the one before (1 tick) plus its pause.
        {"sysex spacing", {{sx(6000), event("ff01'x'", 500), sx(0), sx(10)}}, true,
         format0 + track("8220" + sx6 + "00ff0101'x' 01" + sx6 + "02" + sx6 + kEnd), {6000, 0, 0, 21}},
        {"second track starts again", {{sx(6000)}, {event("ff03'b'"), sx(6000)}}, false,
         kHeader + track("8220" + sx6 + kEnd) + track("00ff0301'b' 8220" + sx6 + kEnd), {6000, 0, 6000}},
        // Events shorter than their header are dropped; an End of Track writes nothing
        // but makes the track non-empty, so the next list starts a new one.
        {"short and end-of-track events",
         {{}, {KTMidiEvent{}, event("ff")}, {event("ff03'a'"), event("ff2f"), event("ff03'b'"), event("f7")},
          {event("ff2f")}},
         false, kHeader + track("00ff0301'a' 00ff0301'b' 00f700" + kEnd) + track(kEnd), {0, 0, 0}},
    };
    const TestFolder folder;
    for (const auto& [name, lists, keepElapsed, text, readDelays] : cases) {
        SCOPED_TRACE(name);
        const std::string path = folder.path("disk.mid");
        KTMidiFileWriter writer(path.c_str(), 24, 120);
        KTMidiEventList expected;
        for (const KTMidiEventList& list : lists) {
            writer.writeTrack(list, keepElapsed);
            for (const KTMidiEvent& e : list)
                if (e.size() >= e.headerLength() && e != event("ff2f"))
                    expected.push_back(e);
        }
        writer.flush();
        const Bytes file = hex(text);
        EXPECT_EQ(TestFolder::read(path), file);
        EXPECT_TRUE(writer.finish());
        KTMidiFileReader reader(path.c_str());
        EXPECT_EQ((std::array<int, 3>{reader.mFormat, reader.mTrackCount, reader.mDivision}),
                  (std::array<int, 3>{file[9], file[11], file[13]}));
        const KTMidiEventList events = readAll(reader);
        EXPECT_EQ(events, expected);
        EXPECT_EQ(delays(events), readDelays);
    }
}

TEST(KTMidiFile, WriteFailuresShowAndOpenStartsAFreshFile)
{
    const TestFolder folder;
    const std::string missingFolder = folder.path("no-such-folder/disk.mid");
    KTMidiFileWriter unopened(missingFolder.c_str(), 24, 120), full("/dev/full", 24, 120);
    unopened.writeTrack({event("f0 01f7")}, true);
    EXPECT_TRUE(unopened.fail());
    EXPECT_FALSE(unopened.finish());
    full.writeTrack({KTMidiEvent(100000, 0xF0)}, true);
    EXPECT_FALSE(full.finish());

    const std::string first = folder.path("first.mid"), second = folder.path("second.mid");
    KTMidiFileWriter writer(first.c_str(), 24, 120);
    writer.writeTrack({event("f0 01f7", 6000)}, true);
    writer.writeTrack({event("f0 01f7", 6000)}, true);
    writer.open(second.c_str(), 96, 100);
    writer.writeTrack({event("f0 01f7", 6000)}, true); // 960 ticks, no message before it
    EXPECT_TRUE(writer.finish());
    EXPECT_EQ(TestFolder::read(second), hex("'MThd' 00000006 0000 0001 0060 " + track("8740 f002 01f7" + kEnd)));
}

// Damaged and hostile files read to an end: the header fields (format, tracks,
// division), the sizes of the first four lists and the pauses of the first. The
// whole file never yields more events than reading it twice could give, 3 bytes an event.
TEST(KTMidiFile, DamagedAndHostileFilesEndCleanly)
{
    const std::string meta = "00ff0301'a' ", end = kEnd, endless(10000, '8');
    using Sizes = std::vector<std::size_t>;
    using Text = std::optional<std::string>;
    const std::tuple<const char*, Text, std::array<int, 3>, Sizes, Delays> cases[] = {
        // The list ends with the unterminated message; the rest of its track is skipped.
        {"no F7", kHeader + track("00f003310203 " + meta + end) + track(meta + end), {1, 2, 24}, {1, 1, 0, 0}, {0}},
        // A chunk that is not "MTrk" gives its bytes after the id as events; a header
        // longer than 6 bytes still has the first track after its sixth byte.
        {"other chunk id", kHeader + track(meta + end) + "'Xxxx'" + meta + end, {1, 2, 24}, {1, 1, 0, 0}, {0}},
        {"long header", "'MThd' 0000000a 0001 0001 0018 " + track(meta + end), {1, 1, 24}, {1, 0, 0, 0}, {0}},
        // After an empty list, the data of a track that runs past the end is read again as a
        // track, 4 bytes on each time, until the file has been read twice.
        {"length past end", kHeader + "'MTrk' 0000007f" + meta + end + track(end), {1, 2, 24}, {1, 0, 2, 0}, {0}},
        {"5000 rereads", kHeader + "'MTrk' 7f000000" + std::string(30000, '0'), {1, 2, 24}, {5000, 4998, 16, 0},
         Delays(5000, 0)},
        {"reread chunk", kHeader + "'MTrk' 0000007f" + track("00ff0301'b'" + end), {1, 2, 24}, {0, 1, 0, 0}, {}},
        {"missing file", std::nullopt, {0, 0, 0}, {0, 0, 0, 0}, {}},
        {"empty file", "", {0, 0, 0}, {0, 0, 0, 0}, {}},
        {"not a midi file", "'RIFF' 00000000", {0, 0, 0}, {0, 0, 0, 0}, {}},
        {"header cut short", "'MThd' 00000006 0001", {1, 0, 0}, {0, 0, 0, 0}, {}},
        {"65535 tracks", "'MThd' 00000006 0001 ffff 0018 " + track("00f00201f7" + end), {1, 65535, 24}, {1, 0, 0, 0},
         {0}},
        {"chunk size ffffffff", kHeader + "'MTrk' ffffffff 00f00201f7" + end, {1, 2, 24}, {1, 0, 0, 0}, {0}},
        {"event length 0fffffff", kHeader + track("00f0ffffff7f 010203"), {1, 2, 24}, {0, 0, 0, 0}, {}},
        {"endless delta", kHeader + track(endless), {1, 2, 24}, {0, 0, 0, 0}, {}},
        {"division 0", "'MThd' 00000006 0001 0001 0000 " + track("7ff00201f7" + end), {1, 1, 0}, {1, 0, 0, 0}, {0}},
        // A delta (1) shorter than the line time of the message before (4) reads as no pause.
        {"short delta", kHeader + track("00f08147" + std::string(396, '1') + "f7 01f00201f7" + end), {1, 2, 24},
         {2, 0, 0, 0}, {0, 0}},
        {"huge delta", kHeader + track("ffffffffffffffffff7f f001f7" + end), {1, 2, 24}, {1, 0, 0, 0}, {~0ULL}},
    };
    const TestFolder folder;
    for (const auto& [name, file, header, listSizes, firstDelays] : cases) {
        SCOPED_TRACE(name);
        const std::string path = file ? folder.write("hostile.mid", hex(*file)) : folder.path("none");
        KTMidiFileReader reader(path.c_str());
        EXPECT_EQ(reader.isMidiFile(), file && file->starts_with("'MThd'"));
        EXPECT_EQ((std::array<int, 3>{reader.mFormat, reader.mTrackCount, reader.mDivision}), header);
        KTMidiEventList first, events;
        const std::vector<std::size_t> sizes{reader.readTrack(first).size(), reader.readTrack(events).size(),
                                             reader.readTrack(events).size(), reader.readTrack(events).size()};
        EXPECT_EQ(sizes, listSizes);
        EXPECT_EQ(delays(first), firstDelays);
        EXPECT_LE(sizes[0] + sizes[1] + sizes[2] + sizes[3] + readAll(reader).size(), 2 * TestFolder::read(path).size() / 3);
    }
}
