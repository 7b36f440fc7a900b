#include "audio/KTSoxrRateConverter.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Output frames taken from libsoxr per call while it drains.
constexpr std::size_t kOutputBlock = 8192;
// The high-quality filter reaches about 100 frames of the slower rate to
// either side; this leaves a wide margin.
constexpr double kReachFrames = 512.0;

} // namespace

KTSoxrRateConverter::KTSoxrRateConverter(double sourceRate, double targetRate, unsigned channels)
    : mChannels(channels)
{
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    mSoxr = soxr_create(sourceRate, targetRate, channels, &error, &io, &quality, nullptr);
    if (error != nullptr) {
        soxr_delete(mSoxr);
        mSoxr = nullptr;
    }
}

KTSoxrRateConverter::~KTSoxrRateConverter()
{
    soxr_delete(mSoxr);
}

bool KTSoxrRateConverter::process(const float* source, std::size_t frames, std::vector<float>& output)
{
    output.clear();
    std::size_t taken = 0;
    // libsoxr hands out at most the room it is given, so a call drains in blocks.
    for (;;) {
        const std::size_t filled = output.size() / mChannels;
        output.resize((filled + kOutputBlock) * mChannels);
        std::size_t used = 0;
        std::size_t made = 0;
        const float* rest = source == nullptr ? nullptr : source + taken * mChannels;
        if (soxr_process(mSoxr, rest, frames - taken, &used, output.data() + filled * mChannels, kOutputBlock, &made)
            != nullptr)
            return false;
        taken += used;
        output.resize((filled + made) * mChannels);
        if (made == 0 && used == 0)
            return taken == frames;
        if (made < kOutputBlock && taken == frames)
            return true;
    }
}

std::uint64_t KTSoxrRateConverter::reach(double ratio)
{
    return static_cast<std::uint64_t>(std::ceil(kReachFrames * std::max(1.0, ratio)));
}

KTSoxrRateConverter::LeadIn KTSoxrRateConverter::leadIn(double sourceRate, double targetRate)
{
    const auto whole = [](double rate) { return rate >= 1.0 && rate < 4294967296.0 && std::floor(rate) == rate; };
    if (!whole(sourceRate) || !whole(targetRate))
        return {};
    const auto source = static_cast<std::uint64_t>(sourceRate);
    const auto target = static_cast<std::uint64_t>(targetRate);
    const std::uint64_t common = std::gcd(source, target);
    const std::uint64_t wanted = reach(sourceRate / targetRate);
    if (source / common > 4 * wanted)
        return {};
    const std::uint64_t periods = (wanted + source / common - 1) / (source / common);
    return {periods * (source / common), periods * (target / common)};
}
