// Reads the input as a disk the way loading does: every track until an empty
// list, each list given to detectBank and, for a bank of the store, loadBank.
// Aborts when reading consumes more than the file can justify, when loadBank
// takes a damaged dump or refuses a whole one, or a bank stops holding a whole
// bank's samples.
#include "device/TLDumpCheck.h"
#include "device/TLOrvane.h"
#include "fuzz/FuzzInputFile.h"
#include "midi/KTMidiFileReader.h"

#include <vector>

namespace {

// One store for the whole run; every bank loaded is reset afterwards, so each
// input meets the same store.
TLOrvane& store()
{
    static const std::vector<std::int16_t> image(TLOrvane::kFactoryImageBytes / 2, 0);
    static TLOrvane orvane(image.data());
    return orvane;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInputFile file(data, size);
    if (!file.complete())
        return 0;
    KTMidiFileReader reader(file.path());
    if (reader.mFileSize != size)
        std::abort();

    TLOrvane& orvane = store();
    KTMidiEventList events;
    std::size_t lists = 0;
    std::size_t bytes = 0;
    while (!reader.readTrack(events).empty()) {
        ++lists;
        for (const KTMidiEvent& event : events)
            bytes += event.size();
        // Every event takes at least 3 bytes of the file, which is read at most twice.
        if (lists > 2 * size / 3 + 1 || bytes > 2 * size)
            std::abort();
        const int bank = orvane.detectBank(events);
        if (bank >= 0 && bank < TLOrvane::kBankCount) {
            const bool whole = TLDumpCheck::damage(events).empty();
            if (orvane.loadBank(events, bank) != whole)
                std::abort();
            if (orvane.mSamples[static_cast<std::size_t>(bank)].size() != std::size_t(TLOrvane::kSamplesPerBank))
                std::abort();
            orvane.resetBank(bank);
        } else if (bank < -1 && orvane.loadBank(events, 0)) {
            std::abort();
        }
    }
    return 0;
}
