#pragma once

#include <chrono>
#include <cstdint>

// The MIDI line: 31,250 bit/s and 10 bits a byte, so 3,125 bytes a second and
// 320 us a byte. The pacer and the send-time estimate both count with these.
inline constexpr std::uint32_t kMidiLineBytesPerSecond = 3125;
inline constexpr std::chrono::microseconds kMidiByteTime{1000000 / kMidiLineBytesPerSecond};

// Conversions between milliseconds, MIDI byte times (320 us, 3,125 a second at
// 31,250 bit/s) and delta-time ticks of a file with the given division (ticks
// per quarter note) and tempo (beats per minute). Each forms its quotient in
// double precision and rounds a fractional result up. A division or tempo that
// makes the quotient meaningless (0, or a beat shorter than a millisecond) gives 0.
std::uint64_t millisecondsToTicks(std::uint64_t milliseconds, std::uint16_t division, std::uint16_t tempo);
std::uint64_t ticksToMilliseconds(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo);
std::uint64_t byteTimesToTicks(std::uint64_t byteCount, std::uint16_t division, std::uint16_t tempo);
std::uint64_t ticksToByteTimes(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo);
