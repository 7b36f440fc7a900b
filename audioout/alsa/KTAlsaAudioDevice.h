#pragma once

#include "audioout/KTAudioDevice.h"

#include <string>

typedef struct _snd_pcm snd_pcm_t;

// An ALSA PCM playback device ("default" unless named otherwise), converted by
// alsa-lib to whatever the hardware takes.
class KTAlsaAudioDevice final : public KTAudioDevice {
public:
    static constexpr const char* kDefaultName = "default";
    // The device's buffer: how late the playing thread may be before the sound
    // breaks up. A stop discards what is queued, so it does not wait for it.
    static constexpr unsigned kLatencyMicroseconds = 250000;

    explicit KTAlsaAudioDevice(std::string name = kDefaultName);
    ~KTAlsaAudioDevice() override;

    std::string name() const override { return mName; }
    std::string open() override;
    long write(const std::int16_t* frames, std::size_t count) override;
    long delay() override;
    void drain() override;
    void drop() override;
    void close() override;

private:
    std::string mName;
    snd_pcm_t* mPcm = nullptr;
};
