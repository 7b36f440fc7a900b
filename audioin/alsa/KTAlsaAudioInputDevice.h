#pragma once

#include "audioin/KTAudioInputDevice.h"

#include <string>

typedef struct _snd_pcm snd_pcm_t;

// An ALSA PCM capture device ("default" unless named otherwise). It records in
// stereo when the device offers two channels, else in mono, else in the
// fewest channels it offers (a many-channel interface); alsa-lib converts the
// rate and the sample format where the device needs it.
class KTAlsaAudioInputDevice final : public KTAudioInputDevice {
public:
    static constexpr const char* kDefaultName = "default";
    // A period of 10 ms: a read returns within about that of the sound
    // arriving, which keeps the level meter close to the input.
    static constexpr unsigned kPeriodMicroseconds = 10000;
    // Half a second of buffer: how late the recorder's thread may be before
    // frames are lost (an overrun).
    static constexpr unsigned kBufferMicroseconds = 500000;

    explicit KTAlsaAudioInputDevice(std::string name = kDefaultName);
    ~KTAlsaAudioInputDevice() override;

    std::string name() const override { return mName; }
    std::string open() override;
    unsigned channels() const override { return mChannels; }
    long read(std::int16_t* frames, std::size_t frameCount) override;
    unsigned overruns() const override { return mOverruns; }
    void close() override;

private:
    std::string configure();
    long recover(long error);

    std::string mName;
    snd_pcm_t* mPcm = nullptr;
    unsigned mChannels = 0;
    unsigned mOverruns = 0;
};
