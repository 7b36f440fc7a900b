#pragma once

#include <chrono>
#include <cstdint>

// The MIDI line: 31,250 bit/s and 10 bits a byte, so 3,125 bytes a second and
// 320 us a byte. The pacer and the send-time estimate both count with these.
inline constexpr std::uint32_t kMidiLineBytesPerSecond = 3125;
inline constexpr std::chrono::microseconds kMidiByteTime{1000000 / kMidiLineBytesPerSecond};
// Sends may go slower than the line, for interfaces that lose bytes at its full
// rate: a speed in percent of the line rate stretches every byte's time.
inline constexpr unsigned kFullSpeed = 100;

// The time `bytes` take at the speed (percent of the line rate, 1 to 100).
constexpr std::chrono::microseconds midiLineTime(std::uint64_t bytes, unsigned speed = kFullSpeed)
{
    return std::chrono::microseconds(static_cast<std::int64_t>(bytes * kMidiByteTime.count() * kFullSpeed / speed));
}

// Conversions between milliseconds, MIDI byte times (320 us, 3,125 a second at
// 31,250 bit/s) and delta-time ticks of a file with the given division (ticks
// per quarter note) and tempo (beats per minute). Each forms its quotient in
// double precision and rounds a fractional result up. A division or tempo that
// makes the quotient meaningless (0, or a beat shorter than a millisecond) gives 0.
std::uint64_t millisecondsToTicks(std::uint64_t milliseconds, std::uint16_t division, std::uint16_t tempo);
std::uint64_t ticksToMilliseconds(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo);
std::uint64_t byteTimesToTicks(std::uint64_t byteCount, std::uint16_t division, std::uint16_t tempo);
std::uint64_t ticksToByteTimes(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo);
