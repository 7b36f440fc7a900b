#include "cli/OrvaneRecordMeter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <unistd.h>

namespace {

// The peak store's mark for "no level since the last draw".
constexpr double kNothingNew = std::numeric_limits<double>::quiet_NaN();

} // namespace

OrvaneRecordMeter::OrvaneRecordMeter(bool armed)
    : mEnabled(::isatty(STDERR_FILENO) == 1)
    , mPeakDbfs(kNothingNew)
    , mRecording(!armed)
{
}

void OrvaneRecordMeter::update(const KTAudioRecorder::Progress& progress)
{
    const double level = progress.peakDbfs;
    double peak = mPeakDbfs.load();
    while ((std::isnan(peak) || level > peak) && !mPeakDbfs.compare_exchange_weak(peak, level)) {
    }
    if (progress.clipped)
        mClipped = true;
    mRecording = progress.recording;
    mFrames = progress.takeFrames;
}

void OrvaneRecordMeter::draw()
{
    if (!mEnabled)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (mClipped.exchange(false))
        mClippedAt = now;
    const bool clipShown = mClippedAt.time_since_epoch().count() != 0 && now - mClippedAt < std::chrono::seconds(1);
    const double fresh = mPeakDbfs.exchange(kNothingNew);
    if (!std::isnan(fresh))
        mShownDbfs = fresh;
    const double peak = mShownDbfs;
    const double filled = std::clamp((peak - kBarFloorDbfs) / -kBarFloorDbfs, 0.0, 1.0);
    const auto bars = static_cast<std::size_t>(std::lround(filled * kBarWidth));
    const std::string bar = std::string(bars, '#') + std::string(kBarWidth - bars, ' ');
    char peakText[16];
    if (std::isfinite(peak))
        std::snprintf(peakText, sizeof peakText, "%6.1f", peak);
    else
        std::snprintf(peakText, sizeof peakText, "%6s", "-inf");
    std::fprintf(stderr, "\r%s dBFS |%s| %-9s %5.2f s %s", peakText, bar.c_str(), mRecording ? "recording" : "armed",
                 static_cast<double>(mFrames) / KTAudioInputDevice::kSampleRate, clipShown ? "CLIP" : "    ");
    mLineOpen = true;
}

void OrvaneRecordMeter::finish()
{
    if (mLineOpen)
        std::fputc('\n', stderr);
    mLineOpen = false;
}
