// Writing and reading an all-banks disk of the factory banks (about 1.8 MB) to
// and from a file in the build folder.
#include "device/TLOrvane.h"
#include "midi/KTMidiFileReader.h"
#include "midi/KTMidiFileWriter.h"
#include "resources/FactoryImage.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::string diskPath()
{
    return (std::filesystem::path(ORVANE_BINARY_DIR) / "midi_file_bench.mid").string();
}

// The tracks of an all-banks save: the header events, then each bank's events.
std::vector<KTMidiEventList> allBanksTracks(TLOrvane& orvane)
{
    std::vector<KTMidiEventList> tracks(1);
    tracks[0] = {KTMidiEvent{0xFF, 0x51, 0x07, 0xA1, 0x20}, KTMidiEvent{0xFF, 0x58, 0x04, 0x02, 0x18, 0x08},
                 KTMidiEvent{0xFF, 0x02, 'b', 'e', 'n', 'c', 'h'}};
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        KTMidiEventList events{orvane.makeMetaEvent(3, bank), orvane.makeMetaEvent(4, bank),
                               orvane.makeMetaEvent(127, bank)};
        for (KTMidiEvent& event : orvane.makeSampleDump(bank, 0))
            events.push_back(std::move(event));
        tracks.push_back(std::move(events));
    }
    return tracks;
}

bool writeDisk(const std::string& path, const std::vector<KTMidiEventList>& tracks)
{
    KTMidiFileWriter writer(path.c_str(), 24, 120);
    for (const KTMidiEventList& track : tracks)
        writer.writeTrack(track, true);
    return writer.finish();
}

void BM_WriteAllBanksDisk(benchmark::State& state)
{
    TLOrvane orvane(FactoryImage::samples());
    const std::vector<KTMidiEventList> tracks = allBanksTracks(orvane);
    const std::string path = diskPath();
    for (auto _ : state) {
        if (!writeDisk(path, tracks))
            state.SkipWithError("the disk could not be written");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_WriteAllBanksDisk)->Unit(benchmark::kMillisecond);

// As a save does it: each bank's events built from the store just before its track is written.
void BM_SaveAllBanksFromStore(benchmark::State& state)
{
    TLOrvane orvane(FactoryImage::samples());
    const std::string path = diskPath();
    for (auto _ : state) {
        if (!writeDisk(path, allBanksTracks(orvane)))
            state.SkipWithError("the disk could not be written");
    }
}
BENCHMARK(BM_SaveAllBanksFromStore)->Unit(benchmark::kMillisecond);

void BM_ReadAllBanksDisk(benchmark::State& state)
{
    TLOrvane orvane(FactoryImage::samples());
    const std::string path = diskPath();
    if (!writeDisk(path, allBanksTracks(orvane))) {
        state.SkipWithError("the disk could not be written");
        return;
    }
    for (auto _ : state) {
        KTMidiFileReader reader(path.c_str());
        KTMidiEventList events;
        std::size_t tracks = 0;
        while (!reader.readTrack(events).empty())
            ++tracks;
        if (tracks != 8)
            state.SkipWithError("the disk did not read back as 8 tracks");
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadAllBanksDisk)->Unit(benchmark::kMillisecond);

} // namespace
