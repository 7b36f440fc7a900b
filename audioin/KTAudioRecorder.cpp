#include "audioin/KTAudioRecorder.h"

#include "audio/KTSample.h"
#include "audioin/KTRecordingTake.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

static_assert(std::endian::native == std::endian::little,
              "captured samples are copied into little-endian sample records as they are");

// The recorded channel of captured frames: their mix, made by the import's
// own channel stage, or one channel (a mono device's one for either side).
class RecordedChannel {
public:
    RecordedChannel(unsigned channels, KTAudioRecorder::Channel channel)
        : mChannels(channels)
        , mChannel(channel)
    {
        mCaptured.setFormat(KTAudioInputDevice::kSampleRate, static_cast<std::uint16_t>(channels), 16, false);
    }

    std::span<const std::int16_t> of(const std::int16_t* frames, std::size_t count)
    {
        mCaptured.resize(count * mChannels * sizeof(std::int16_t));
        std::memcpy(mCaptured.data(), frames, mCaptured.size());
        KTChannelChoice::toMono(mMixed, mCaptured, mChannel);
        mMono.resize(count);
        std::memcpy(mMono.data(), mMixed.data(), count * sizeof(std::int16_t));
        return mMono;
    }

private:
    unsigned mChannels;
    KTAudioRecorder::Channel mChannel;
    KTSample mCaptured;
    KTSample mMixed;
    std::vector<std::int16_t> mMono;
};

// The level of the frames captured since the last progress.
struct Level {
    std::size_t frames = 0;
    int peak = 0;
    bool clipped = false;

    void add(std::span<const std::int16_t> recorded, std::span<const std::int16_t> captured)
    {
        frames += recorded.size();
        for (std::int16_t sample : recorded)
            peak = std::max(peak, std::abs(int{sample}));
        for (std::int16_t sample : captured)
            clipped = clipped || sample == std::numeric_limits<std::int16_t>::max() ||
                      sample == std::numeric_limits<std::int16_t>::min();
    }
    double peakDbfs() const
    {
        return peak == 0 ? -std::numeric_limits<double>::infinity()
                         : 20.0 * std::log10(peak / KTRecordingTake::kFullScale);
    }
};

} // namespace

KTAudioRecorder::KTAudioRecorder(KTAudioInputDevice& device)
    : mDevice(device)
{
}

KTAudioRecorder::~KTAudioRecorder()
{
    cancel();
}

void KTAudioRecorder::start(Options options, Observer observer)
{
    cancel();
    mStopRequested = false;
    mCancelRequested = false;
    mRecording = true;
    mThread = std::thread([this, options = std::move(options), observer = std::move(observer)] {
        run(options, observer);
    });
}

void KTAudioRecorder::stop()
{
    mStopRequested = true;
    join();
}

void KTAudioRecorder::cancel()
{
    mCancelRequested = true;
    join();
}

void KTAudioRecorder::wait()
{
    join();
}

void KTAudioRecorder::join()
{
    if (mThread.joinable())
        mThread.join();
}

void KTAudioRecorder::run(const Options& options, const Observer& observer)
{
    Ending ending;
    ending.failure = mDevice.open();
    if (ending.failure.empty()) {
        ending.failure = capture(options, observer, ending.take);
        ending.overruns = mDevice.overruns();
        mDevice.close();
    }
    ending.cancelled = mCancelRequested.load();
    if (ending.cancelled || !ending.failure.empty())
        ending.take.clear();
    mRecording = false;
    if (observer.ended)
        observer.ended(std::move(ending));
}

std::string KTAudioRecorder::capture(const Options& options, const Observer& observer,
                                     std::vector<std::int16_t>& result)
{
    const unsigned channels = std::max(1u, mDevice.channels());
    std::vector<std::int16_t> captured(kReadFrames * channels);
    RecordedChannel recorded(channels, options.channel);
    KTRecordingTake take(options.thresholdDbfs, options.frameLimit);
    Level level;
    std::size_t reported = 0;
    const auto report = [&] {
        const std::span<const std::int16_t> frames = take.frames();
        const Progress progress{level.peakDbfs(), level.clipped, take.started(), frames.size(),
                                frames.subspan(reported)};
        reported = frames.size();
        level = {};
        if (observer.progress)
            observer.progress(progress);
    };
    int stalled = 0;
    while (!take.full() && !mStopRequested.load() && !mCancelRequested.load()) {
        const long got = mDevice.read(captured.data(), kReadFrames);
        if (got < 0)
            return std::string("the sound input failed: ") + std::strerror(static_cast<int>(-got));
        stalled = got == 0 ? stalled + 1 : 0;
        if (stalled == kStalledReads)
            return "the sound input delivers no sound";
        const std::size_t frames = std::min<std::size_t>(static_cast<std::size_t>(got), kReadFrames);
        const std::span<const std::int16_t> mono = recorded.of(captured.data(), frames);
        // In pieces that end where a level's frames are complete.
        for (std::size_t done = 0; done < mono.size() && !take.full();) {
            const std::size_t count = std::min(mono.size() - done, kLevelFrames - level.frames);
            level.add(mono.subspan(done, count), std::span(captured).subspan(done * channels, count * channels));
            take.add(mono.data() + done, count);
            done += count;
            if (level.frames == kLevelFrames)
                report();
        }
    }
    if (level.frames > 0)
        report();
    result = take.release();
    return {};
}
