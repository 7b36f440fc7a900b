#pragma once

#include <cstdint>

// Conversions between milliseconds, MIDI byte times (320 us, 3,125 a second at
// 31,250 bit/s) and delta-time ticks of a file with the given division (ticks
// per quarter note) and tempo (beats per minute). Each forms its quotient in
// double precision and rounds a fractional result up. A division or tempo that
// makes the quotient meaningless (0, or a beat shorter than a millisecond) gives 0.
std::uint64_t millisecondsToTicks(std::uint64_t milliseconds, std::uint16_t division, std::uint16_t tempo);
std::uint64_t ticksToMilliseconds(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo);
std::uint64_t byteTimesToTicks(std::uint64_t byteCount, std::uint16_t division, std::uint16_t tempo);
std::uint64_t ticksToByteTimes(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo);
