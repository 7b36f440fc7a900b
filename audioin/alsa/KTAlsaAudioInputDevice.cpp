#include "audioin/alsa/KTAlsaAudioInputDevice.h"

#include "audioout/alsa/KTAlsaPcmFailure.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <utility>

KTAlsaAudioInputDevice::KTAlsaAudioInputDevice(std::string name)
    : mName(std::move(name))
{
}

KTAlsaAudioInputDevice::~KTAlsaAudioInputDevice()
{
    close();
}

std::string KTAlsaAudioInputDevice::open()
{
    close();
    mOverruns = 0;
    // Opened without blocking: a busy device is reported, not waited for, and
    // reads wait for frames only as long as read says.
    const int error = snd_pcm_open(&mPcm, mName.c_str(), SND_PCM_STREAM_CAPTURE, SND_PCM_NONBLOCK);
    if (error < 0) {
        mPcm = nullptr;
        return KTAlsaPcmFailure::reason(error);
    }
    std::string failure = configure();
    if (failure.empty() && snd_pcm_start(mPcm) < 0)
        failure = "it does not start capturing";
    if (!failure.empty())
        close();
    return failure;
}

std::string KTAlsaAudioInputDevice::configure()
{
    snd_pcm_hw_params_t* params = nullptr;
    snd_pcm_hw_params_alloca(&params);
    if (snd_pcm_hw_params_any(mPcm, params) < 0)
        return "it offers no way to record";
    snd_pcm_hw_params_set_rate_resample(mPcm, params, 1);
    if (snd_pcm_hw_params_set_access(mPcm, params, SND_PCM_ACCESS_RW_INTERLEAVED) < 0 ||
        snd_pcm_hw_params_set_format(mPcm, params, SND_PCM_FORMAT_S16) < 0)
        return "it does not record 16-bit samples";
    unsigned channels = 2;
    if (snd_pcm_hw_params_test_channels(mPcm, params, channels) < 0)
        channels = 1;
    if (snd_pcm_hw_params_test_channels(mPcm, params, channels) < 0 &&
        snd_pcm_hw_params_get_channels_min(params, &channels) < 0)
        return "it offers no channels to record";
    if (snd_pcm_hw_params_set_channels(mPcm, params, channels) < 0)
        return "it offers no channels to record";
    if (snd_pcm_hw_params_set_rate(mPcm, params, kSampleRate, 0) < 0)
        return "it does not record at 44,100 Hz";
    unsigned period = kPeriodMicroseconds;
    unsigned buffer = kBufferMicroseconds;
    snd_pcm_hw_params_set_period_time_near(mPcm, params, &period, nullptr);
    snd_pcm_hw_params_set_buffer_time_near(mPcm, params, &buffer, nullptr);
    const int error = snd_pcm_hw_params(mPcm, params);
    if (error < 0)
        return snd_strerror(error);
    mChannels = channels;
    return {};
}

long KTAlsaAudioInputDevice::read(std::int16_t* frames, std::size_t frameCount)
{
    snd_pcm_sframes_t got = snd_pcm_readi(mPcm, frames, frameCount);
    if (got == -EAGAIN) {
        snd_pcm_wait(mPcm, kReadWaitMilliseconds);
        got = snd_pcm_readi(mPcm, frames, frameCount);
    }
    if (got == -EAGAIN)
        return 0;
    if (got == -EPIPE || got == -ESTRPIPE || got == -EINTR)
        return recover(static_cast<long>(got));
    return static_cast<long>(got);
}

long KTAlsaAudioInputDevice::recover(long error)
{
    // An overrun (this thread was late and the buffer ran over) or a suspend
    // is recovered from and capturing started again; a device that is gone
    // is not recovered.
    if (error == -EPIPE)
        ++mOverruns;
    int recovered = snd_pcm_recover(mPcm, static_cast<int>(error), 1);
    if (recovered >= 0 && snd_pcm_state(mPcm) == SND_PCM_STATE_PREPARED)
        recovered = snd_pcm_start(mPcm);
    return recovered < 0 ? recovered : 0;
}

void KTAlsaAudioInputDevice::close()
{
    if (mPcm != nullptr)
        snd_pcm_close(mPcm);
    mPcm = nullptr;
}
