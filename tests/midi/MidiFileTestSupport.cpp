#include "tests/midi/MidiFileTestSupport.h"

#include "midi/KTMidiFileWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace miditest {

std::string scratchPath(const std::string& name)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto folder = std::filesystem::path(ORVANE_BINARY_DIR) / "test-scratch" / "midifile";
    std::filesystem::create_directories(folder);
    std::string stem = test ? std::string(test->test_suite_name()) + "." + test->name() : "global";
    std::replace(stem.begin(), stem.end(), '/', '_');
    return (folder / (stem + "." + name)).string();
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

KTMidiEvent eventOf(const Bytes& bytes, std::uint64_t delay)
{
    KTMidiEvent event;
    event.assign(bytes.begin(), bytes.end());
    event.mDelay = delay;
    return event;
}

KTMidiEvent sysExOfSize(std::size_t size, std::uint64_t delay)
{
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(i == 0 ? 0xF0 : i + 1 == size ? 0xF7 : i % 0x80);
    return eventOf(bytes, delay);
}

std::vector<std::int16_t> syntheticImage()
{
    std::vector<std::int16_t> image(TLOrvane::kFactoryImageBytes / 2);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::int16_t>((i * 2654435761u) >> 7);
    return image;
}

KTMidiEventList headerEvents()
{
    return {eventOf({0xFF, 0x51, 0x07, 0xA1, 0x20}), eventOf({0xFF, 0x58, 0x04, 0x02, 0x18, 0x08}),
            eventOf({0xFF, 0x02, 'C', 'o', 'p', 'y', 'r', 'i', 'g', 'h', 't'})};
}

KTMidiEventList bankTrack(TLOrvane& orvane, int bank)
{
    KTMidiEventList events{orvane.makeMetaEvent(3, bank), orvane.makeMetaEvent(4, bank),
                           orvane.makeMetaEvent(127, bank)};
    for (KTMidiEvent& event : orvane.makeSampleDump(bank, 0))
        events.push_back(std::move(event));
    return events;
}

std::vector<std::uint64_t> writeAllBanksDisk(const std::string& path, TLOrvane& orvane)
{
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    writer.writeTrack(headerEvents(), true);
    std::vector<std::uint64_t> elapsed;
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        writer.writeTrack(bankTrack(orvane, bank), true);
        elapsed.push_back(writer.mElapsedTicks);
    }
    EXPECT_TRUE(writer.finish());
    return elapsed;
}

namespace {

std::uint64_t bigEndian(const Bytes& bytes, std::size_t at, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[at + i];
    return value;
}

// A variable-length quantity of at most 4 bytes, as the file format allows.
bool readQuantity(const Bytes& data, std::size_t& at, std::uint64_t& value)
{
    value = 0;
    for (int i = 0; i < 4 && at < data.size(); ++i) {
        value = (value << 7) | (data[at] & 0x7F);
        if ((data[at++] & 0x80) == 0)
            return true;
    }
    return false;
}

} // namespace

std::vector<RawEvent> parseEvents(const Bytes& data, bool* complete)
{
    std::vector<RawEvent> events;
    std::size_t at = 0;
    std::uint64_t length = 0;
    bool ok = true;
    while (ok && at < data.size()) {
        RawEvent event;
        ok = readQuantity(data, at, event.delta) && at < data.size();
        if (ok)
            event.bytes.push_back(data[at++]);
        if (ok && event.bytes[0] == 0xFF && at < data.size())
            event.bytes.push_back(data[at++]);
        ok = ok && event.bytes != Bytes{0xFF} && readQuantity(data, at, length) && length <= data.size() - at;
        if (ok) {
            event.bytes.insert(event.bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                               data.begin() + static_cast<std::ptrdiff_t>(at + length));
            at += length;
            events.push_back(std::move(event));
        }
    }
    if (complete)
        *complete = ok;
    return events;
}

ParsedFile parseFile(const Bytes& file)
{
    ParsedFile parsed;
    if (file.size() < 14 || !std::equal(file.begin(), file.begin() + 8, Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6}.begin()))
        return parsed;
    parsed.format = static_cast<std::uint16_t>(bigEndian(file, 8, 2));
    parsed.trackCount = static_cast<std::uint16_t>(bigEndian(file, 10, 2));
    parsed.division = static_cast<std::uint16_t>(bigEndian(file, 12, 2));
    const Bytes endOfTrack{0xFF, 0x2F};
    std::size_t at = 14;
    bool endsRight = true;
    while (at + 8 <= file.size()) {
        const std::uint64_t length = bigEndian(file, at + 4, 4);
        if (length > file.size() - at - 8)
            return parsed;
        const Bytes data(file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                         file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        bool complete = false;
        const std::vector<RawEvent> events = parseEvents(data, &complete);
        // An "MTrk" chunk whose events fill it, with one End of Track, the last event.
        endsRight = endsRight && complete && bigEndian(file, at, 4) == 0x4D54726B && !events.empty()
            && events.back().bytes == endOfTrack
            && std::count_if(events.begin(), events.end(), [&](const RawEvent& e) { return e.bytes == endOfTrack; }) == 1;
        parsed.tracks.push_back(data);
        at += 8 + length;
    }
    parsed.wellFormed = at == file.size() && endsRight && parsed.tracks.size() == parsed.trackCount
        && parsed.format == (parsed.trackCount > 1 ? 1 : 0);
    return parsed;
}

} // namespace miditest
