#pragma once

#include <cstdint>
#include <string>

// The sound output a bank is played on: a stream of 44,100 Hz mono signed
// 16-bit frames. The program uses an ALSA PCM device; tests a recording double.
// Calls never overlap: while a bank plays they all come from the playing
// thread; between playings the editor opens and closes it to see that it works.
class KTAudioDevice {
public:
    static constexpr unsigned kSampleRate = 44100;
    static constexpr int kWriteWaitMilliseconds = 20;

    virtual ~KTAudioDevice() = default;
    // The device's name, as messages show it ("default", "hw:1,0").
    virtual std::string name() const = 0;

    // Opens the device; an empty text when it is ready, otherwise why not (for
    // example busy, missing, or no sound support at all), without the device's
    // name. Never waits for a busy device.
    virtual std::string open() = 0;
    // Waits, at most about kWriteWaitMilliseconds (short, so that a stop is
    // noticed soon), until the device has taken
    // some of the frames; returns how many it took (0 when it took none in that
    // time), or a negative error number when it failed (gone, broken).
    virtual long write(const std::int16_t* frames, std::size_t count) = 0;
    // Frames taken but not yet heard.
    virtual long delay() = 0;
    // Plays out what was taken, or discards it at once.
    virtual void drain() = 0;
    virtual void drop() = 0;
    virtual void close() = 0;
};
