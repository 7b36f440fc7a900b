#pragma once

#include "audioout/KTAudioDevice.h"

#include <string>

typedef struct _snd_pcm snd_pcm_t;

// An ALSA PCM playback device ("default" unless named otherwise), converted by
// alsa-lib to whatever the hardware takes.
class KTAlsaAudioDevice final : public KTAudioDevice {
public:
    static constexpr const char* kDefaultName = "default";
    // The device's buffer: what is queued ahead of the sound, and so the most a
    // stop can lag behind (frames already heard are gone at once with drop).
    static constexpr unsigned kLatencyMicroseconds = 100000;

    explicit KTAlsaAudioDevice(std::string name = kDefaultName);
    ~KTAlsaAudioDevice() override;

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
