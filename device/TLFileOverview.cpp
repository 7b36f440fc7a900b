#include "device/TLFileOverview.h"

#include "audio/KTAudioFileReader.h"
#include "device/TLOrvane.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

static_assert(std::endian::native == std::endian::little, "16-bit samples are read as they lie in the block");

// A block holds about a second of frames, and never more than this.
constexpr std::uint64_t kLargestBlockBytes = 4 << 20;
constexpr std::uint64_t kSmallestBlockFrames = 4096;

// One little-endian sample of Width bytes (0: `width` bytes, known only at run time).
template <std::size_t Width>
std::int64_t sampleAt(const std::uint8_t* bytes, std::size_t width, bool isUnsigned)
{
    const std::size_t n = Width != 0 ? Width : width;
    if (isUnsigned)
        return std::int64_t{bytes[0]} - 128;
    if (n > 4) // as the converter takes them: too wide to use
        return 0;
    std::uint64_t raw = 0;
    for (std::size_t i = n; i-- > 0;)
        raw = (raw << 8) | bytes[i];
    const unsigned shift = static_cast<unsigned>(64 - 8 * n);
    return static_cast<std::int64_t>(raw << shift) >> shift;
}

// The block's frames, their channels mixed as the converter mixes them (the
// sum over the count, truncated toward zero) and scaled to 16 bits as it
// scales them.
template <std::size_t Width>
void mixFrames(const KTSample& block, std::vector<std::int16_t>& mono)
{
    const std::size_t width = block.mBytesPerSample;
    const std::size_t channels = block.mChannels;
    const std::int64_t count = static_cast<std::int64_t>(channels);
    const int exponent = 16 - 8 * static_cast<int>(width);
    mono.resize(block.size() / (width * channels));
    const std::uint8_t* bytes = block.data();
    for (std::int16_t& value : mono) {
        std::int64_t sum = 0;
        for (std::size_t c = 0; c < channels; ++c, bytes += width)
            sum += sampleAt<Width>(bytes, width, block.mIsUnsigned);
        const std::int64_t mixed = sum / count;
        value = static_cast<std::int16_t>(exponent >= 0 ? mixed * (std::int64_t{1} << exponent)
                                                        : mixed / (std::int64_t{1} << -exponent));
    }
}

// The common case, 16-bit mono or stereo, in a loop the compiler vectorises.
void mixSixteenBits(const KTSample& block, std::vector<std::int16_t>& mono)
{
    const std::size_t channels = block.mChannels;
    mono.resize(block.size() / (2 * channels));
    if (channels == 1) {
        std::memcpy(mono.data(), block.data(), mono.size() * 2);
        return;
    }
    const std::uint8_t* bytes = block.data();
    for (std::size_t f = 0; f < mono.size(); ++f, bytes += 4) {
        std::int16_t pair[2];
        std::memcpy(pair, bytes, sizeof pair);
        mono[f] = static_cast<std::int16_t>((pair[0] + pair[1]) / 2);
    }
}

void mix(const KTSample& block, std::vector<std::int16_t>& mono)
{
    // A read that found no format (the file changed under it) gives no frames.
    if (block.mChannels == 0 || block.mBytesPerSample == 0) {
        mono.clear();
        return;
    }
    if (block.mBytesPerSample == 2 && !block.mIsUnsigned && block.mChannels <= 2)
        return mixSixteenBits(block, mono);
    switch (block.mBytesPerSample) {
    case 1:
        return mixFrames<1>(block, mono);
    case 2:
        return mixFrames<2>(block, mono);
    case 3:
        return mixFrames<3>(block, mono);
    default:
        return mixFrames<0>(block, mono);
    }
}

// Frames from `start` on, at most `frames` of them.
KTSample readBlock(KTAudioFileReader& reader, const TLFileOverview& overview, std::uint64_t start,
                   std::uint64_t frames, std::uint64_t frameBytes)
{
    if (!overview.raw) {
        reader.setStartFrame(start);
        return reader.readSample(frames * frameBytes);
    }
    KTSample block;
    block.setFormat(TLOrvane::kSampleRate, 1, 16, false);
    block.assign(frames * frameBytes, 0);
    reader.clear();
    reader.seekg(static_cast<std::streamoff>(start * frameBytes));
    block.read(reader);
    reader.clear();
    return block;
}

// Adds consecutive mono frames, the first of them frame `start`, to the
// columns they fall in; `started` says whether the column being filled has
// frames already.
void addToColumns(TLFileOverview& overview, bool& started, const std::vector<std::int16_t>& mono,
                  std::uint64_t start)
{
    std::vector<TLFileOverview::Column>& columns = overview.columns;
    std::size_t& done = overview.columnsDone;
    std::size_t i = 0;
    while (i < mono.size() && done < columns.size()) {
        // The column's end lies beyond frame start + i, which it does not hold yet.
        const std::uint64_t end = (done + 1) * overview.frames / columns.size();
        const std::size_t stop = static_cast<std::size_t>(std::min<std::uint64_t>(mono.size(), end - start));
        std::int16_t low = mono[i], high = mono[i];
        for (std::size_t k = i + 1; k < stop; ++k)
            low = std::min(low, mono[k]), high = std::max(high, mono[k]);
        TLFileOverview::Column& column = columns[done];
        column.min = started ? std::min(column.min, low) : low;
        column.max = started ? std::max(column.max, high) : high;
        i = stop;
        started = start + stop < end;
        done += !started;
    }
}

// Reads the whole sound block by block into the overview's columns.
void fill(KTAudioFileReader& reader, TLFileOverview& overview, std::uint64_t frameBytes,
          const std::atomic<bool>& cancel, const TLFileOverview::Progress& progress)
{
    const double second = std::clamp(overview.sampleRate, double(kSmallestBlockFrames), 1e9);
    const std::uint64_t blockFrames =
        std::max<std::uint64_t>(1, std::min<std::uint64_t>(std::uint64_t(second), kLargestBlockBytes / frameBytes));
    bool started = false;
    std::vector<std::int16_t> mono;
    for (std::uint64_t start = 0; start < overview.frames && !cancel.load(std::memory_order_relaxed);) {
        const KTSample block =
            readBlock(reader, overview, start, std::min(blockFrames, overview.frames - start), frameBytes);
        mix(block, mono);
        if (mono.empty()) {
            overview.reason = "could not be read to its end";
            return;
        }
        addToColumns(overview, started, mono, start);
        start += mono.size();
        if (progress)
            progress(overview, static_cast<double>(start) / static_cast<double>(overview.frames));
    }
}

} // namespace

TLFileOverview TLFileOverview::read(const std::filesystem::path& path, std::size_t columnCount,
                                    const std::atomic<bool>& cancel, const Progress& progress)
{
    TLFileOverview overview;
    // The importer's own look at the file's first frame says whether and how it imports.
    TLImportOptions firstFrame;
    firstFrame.lengthSeconds = 1.0 / TLOrvane::kSampleRate;
    const TLImportedSound sound = TLSampleImporter::read(path, firstFrame);
    overview.status = sound.status;
    overview.reason = sound.reason;
    overview.raw = sound.raw;
    if (overview.status != Status::Imported)
        return overview;
    const std::unique_ptr<KTAudioFileReader> reader = KTAudioFileReader::open(path.c_str());
    if (!reader->is_open()) {
        overview.status = Status::Unreadable;
        overview.reason = std::strerror(errno);
        return overview;
    }
    KTSample format;
    format.setFormat(TLOrvane::kSampleRate, 1, 16, false);
    std::error_code error;
    std::uint64_t soundBytes = std::filesystem::file_size(path, error);
    if (!overview.raw) {
        format = reader->readFormat();
        soundBytes = reader->soundBytes();
    }
    const std::uint64_t frameBytes = std::uint64_t{format.mChannels} * format.mBytesPerSample;
    if (frameBytes == 0 || !(format.mSampleRate > 0.0) || !std::isfinite(format.mSampleRate))
        return overview;
    overview.sampleRate = format.mSampleRate;
    overview.channels = format.mChannels;
    overview.frames = soundBytes / frameBytes;
    overview.columns.resize(static_cast<std::size_t>(std::min<std::uint64_t>(columnCount, overview.frames)));
    if (progress)
        progress(overview, 0.0);
    fill(*reader, overview, frameBytes, cancel, progress);
    return overview;
}
