#include "tests/midi/MidiFileTestSupport.h"

#include "midi/KTMidiFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace miditest {

std::string scratchPath(const std::string& name)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = std::filesystem::path(ORVANE_BINARY_DIR) / "test-scratch" / "midifile";
    std::filesystem::create_directories(folder);
    std::string stem = test ? std::string(test->test_suite_name()) + "." + test->name() : "global";
    for (char& c : stem)
        if (c == '/')
            c = '_';
    return (folder / (stem + "." + name)).string();
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes bytesOf(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int value : values)
        bytes.push_back(static_cast<std::uint8_t>(value));
    return bytes;
}

KTMidiEvent eventOf(std::initializer_list<int> values, std::uint64_t delay)
{
    KTMidiEvent event;
    for (int value : values)
        event.push_back(static_cast<std::uint8_t>(value));
    event.mDelay = delay;
    return event;
}

KTMidiEvent sysExOfSize(std::size_t size, std::uint64_t delay)
{
    KTMidiEvent event;
    event.resize(size);
    for (std::size_t i = 0; i < size; ++i)
        event[i] = static_cast<std::uint8_t>(i % 0x80);
    event.front() = 0xF0;
    event.back() = 0xF7;
    event.mDelay = delay;
    return event;
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
    static constexpr char copyright[] = "Copyright test disk";
    KTMidiEvent copyrightEvent = eventOf({0xFF, 0x02});
    copyrightEvent.insert(copyrightEvent.end(), copyright, copyright + sizeof copyright - 1);
    return {eventOf({0xFF, 0x51, 0x07, 0xA1, 0x20}), eventOf({0xFF, 0x58, 0x04, 0x02, 0x18, 0x08}),
            copyrightEvent};
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
bool readQuantity(const Bytes& data, std::size_t& at, std::uint64_t& value, Bytes* raw = nullptr)
{
    value = 0;
    for (int i = 0; i < 4 && at < data.size(); ++i) {
        const std::uint8_t byte = data[at++];
        if (raw)
            raw->push_back(byte);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

} // namespace

std::vector<RawEvent> parseEvents(const Bytes& data, bool* complete)
{
    std::vector<RawEvent> events;
    std::size_t at = 0;
    if (complete)
        *complete = false;
    while (at < data.size()) {
        RawEvent event;
        std::uint64_t length = 0;
        if (!readQuantity(data, at, event.delta, &event.deltaBytes) || at >= data.size())
            return events;
        event.bytes.push_back(data[at++]);
        if (event.bytes[0] == 0xFF) {
            if (at >= data.size())
                return events;
            event.bytes.push_back(data[at++]);
        }
        if (!readQuantity(data, at, length) || length > data.size() - at)
            return events;
        event.bytes.insert(event.bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                           data.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        events.push_back(std::move(event));
    }
    if (complete)
        *complete = true;
    return events;
}

ParsedFile parseFile(const Bytes& file)
{
    ParsedFile parsed;
    if (file.size() < 14 || std::string(file.begin(), file.begin() + 4) != "MThd" || bigEndian(file, 4, 4) != 6)
        return parsed;
    parsed.format = static_cast<std::uint16_t>(bigEndian(file, 8, 2));
    parsed.trackCount = static_cast<std::uint16_t>(bigEndian(file, 10, 2));
    parsed.division = static_cast<std::uint16_t>(bigEndian(file, 12, 2));
    std::size_t at = 14;
    bool endsRight = true;
    while (at + 8 <= file.size()) {
        Chunk chunk;
        chunk.offset = at;
        chunk.id.assign(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at + 4));
        const std::uint64_t length = bigEndian(file, at + 4, 4);
        if (length > file.size() - at - 8)
            return parsed;
        chunk.data.assign(file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                          file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        bool complete = false;
        const std::vector<RawEvent> events = parseEvents(chunk.data, &complete);
        endsRight = endsRight && complete && !events.empty() && events.back().bytes == bytesOf({0xFF, 0x2F})
            && chunk.id == "MTrk";
        for (std::size_t i = 0; i + 1 < events.size(); ++i)
            endsRight = endsRight && events[i].bytes != bytesOf({0xFF, 0x2F});
        parsed.tracks.push_back(std::move(chunk));
        at += 8 + length;
    }
    parsed.wellFormed = at == file.size() && endsRight && parsed.tracks.size() == parsed.trackCount
        && parsed.format == (parsed.trackCount > 1 ? 1 : 0);
    return parsed;
}

} // namespace miditest
