#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct soxr;

// Band-limited rate conversion of interleaved float frames by libsoxr at its
// high quality, fed piece by piece. Holds one resampler; not copyable.
class KTSoxrRateConverter {
public:
    KTSoxrRateConverter(double sourceRate, double targetRate, unsigned channels);
    ~KTSoxrRateConverter();
    KTSoxrRateConverter(const KTSoxrRateConverter&) = delete;
    KTSoxrRateConverter& operator=(const KTSoxrRateConverter&) = delete;

    // False when libsoxr refuses the rates or channel count.
    bool isValid() const { return mSoxr != nullptr; }

    // Takes `frames` source frames, or with a null source the end of the
    // source, and replaces `output` with the frames ready so far. False on
    // an error inside libsoxr.
    bool process(const float* source, std::size_t frames, std::vector<float>& output);

    // Source frames past a target frame's position that still reach it
    // through the filter, with a wide safety margin.
    static std::uint64_t reach(double ratio);

    // Source frames to start the filter on before the first one: at least
    // the reach, and lasting exactly `target` target frames so the target
    // frames stay on the source's grid. Zero when the rates are not whole
    // numbers with a short common period.
    struct LeadIn {
        std::uint64_t source = 0;
        std::uint64_t target = 0;
    };
    static LeadIn leadIn(double sourceRate, double targetRate);

private:
    soxr* mSoxr = nullptr;
    unsigned mChannels;
};
