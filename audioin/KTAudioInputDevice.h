#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The sound input a bank is recorded from: interleaved 44,100 Hz signed 16-bit
// frames of the device's own channel count. The program uses an ALSA PCM
// capture device; tests a scripted double. Calls never overlap: while a take
// is recorded they all come from the recorder's thread; between takes a
// window may open and close it to see that it works.
class KTAudioInputDevice {
public:
    static constexpr unsigned kSampleRate = 44100;
    static constexpr int kReadWaitMilliseconds = 20;

    virtual ~KTAudioInputDevice() = default;
    // The device's name, as messages show it ("default", "hw:1,0").
    virtual std::string name() const = 0;

    // Opens the device and starts capturing; an empty text when it is ready,
    // otherwise why not in plain words (busy, missing, no sound card),
    // without the device's name. Never waits for a busy device.
    virtual std::string open() = 0;
    // The channels of every frame, after a successful open.
    virtual unsigned channels() const = 0;
    // Waits at most about kReadWaitMilliseconds for captured frames and copies
    // up to frameCount of them (frameCount * channels() samples) to frames;
    // returns how many frames it copied (0 when none came in that time), or a
    // negative error number when the device failed (gone, or an overrun it
    // could not recover from).
    virtual long read(std::int16_t* frames, std::size_t frameCount) = 0;
    // Times the device's buffer ran over since open: frames were lost there.
    virtual unsigned overruns() const = 0;
    virtual void close() = 0;
};
