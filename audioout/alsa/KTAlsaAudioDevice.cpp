#include "audioout/alsa/KTAlsaAudioDevice.h"

#include "audioout/alsa/KTAlsaPcmFailure.h"

#include <alsa/asoundlib.h>

#include <chrono>
#include <thread>
#include <utility>

KTAlsaAudioDevice::KTAlsaAudioDevice(std::string name)
    : mName(std::move(name))
{
}

KTAlsaAudioDevice::~KTAlsaAudioDevice()
{
    close();
}

std::string KTAlsaAudioDevice::open()
{
    close();
    // Opened without blocking: a busy device is reported, not waited for, and
    // writes wait for room only as long as write says.
    int error = snd_pcm_open(&mPcm, mName.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (error >= 0)
        error = snd_pcm_set_params(mPcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kSampleRate, 1,
                                   kLatencyMicroseconds);
    if (error >= 0)
        return {};
    close();
    return KTAlsaPcmFailure::reason(error);
}

long KTAlsaAudioDevice::write(const std::int16_t* frames, std::size_t count)
{
    snd_pcm_sframes_t taken = snd_pcm_writei(mPcm, frames, count);
    if (taken == -EAGAIN) {
        snd_pcm_wait(mPcm, kWriteWaitMilliseconds);
        taken = snd_pcm_writei(mPcm, frames, count);
    }
    if (taken == -EAGAIN)
        return 0;
    // An underrun (this thread was late) or a suspend is recovered from and the
    // frames written again; a device that is gone is not recovered.
    if (taken == -EPIPE || taken == -ESTRPIPE || taken == -EINTR)
        return snd_pcm_recover(mPcm, static_cast<int>(taken), 1) < 0 ? static_cast<long>(taken) : 0;
    return static_cast<long>(taken);
}

long KTAlsaAudioDevice::delay()
{
    snd_pcm_sframes_t frames = 0;
    return snd_pcm_delay(mPcm, &frames) < 0 ? 0 : static_cast<long>(frames);
}

void KTAlsaAudioDevice::drain()
{
    // Waits for the queued frames to be heard, but no longer than the buffer
    // lasts (twice over): a stalled device must not keep the player waiting.
    // A sound shorter than the buffer has not started the stream yet.
    if (snd_pcm_state(mPcm) == SND_PCM_STATE_PREPARED)
        snd_pcm_start(mPcm);
    const auto limit = std::chrono::steady_clock::now() + 2 * std::chrono::microseconds(kLatencyMicroseconds);
    while (delay() > 0 && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    snd_pcm_drop(mPcm);
}

void KTAlsaAudioDevice::drop()
{
    snd_pcm_drop(mPcm);
}

void KTAlsaAudioDevice::close()
{
    if (mPcm != nullptr)
        snd_pcm_close(mPcm);
    mPcm = nullptr;
}
