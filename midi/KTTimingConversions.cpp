#include "midi/KTTimingConversions.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kByteTimesPerMinute = 187500.0;

// Whole milliseconds in a beat, the remainder dropped.
std::uint64_t beatLength(std::uint16_t tempo)
{
    return tempo == 0 ? 0 : 60000u / tempo;
}

// Rounds up to the next whole number when there is a fraction, saturating
// instead of overflowing for absurd inputs.
std::uint64_t roundUp(double quotient)
{
    if (!(quotient > 0.0))
        return 0;
    const double whole = std::ceil(quotient);
    if (whole >= 18446744073709551616.0)
        return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(whole);
}

} // namespace

std::uint64_t millisecondsToTicks(std::uint64_t milliseconds, std::uint16_t division, std::uint16_t tempo)
{
    const std::uint64_t beat = beatLength(tempo);
    if (beat == 0)
        return 0;
    return roundUp(static_cast<double>(milliseconds * division) / static_cast<double>(beat));
}

std::uint64_t ticksToMilliseconds(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo)
{
    if (division == 0)
        return 0;
    return roundUp(static_cast<double>(ticks) * static_cast<double>(beatLength(tempo)) / division);
}

std::uint64_t byteTimesToTicks(std::uint64_t byteCount, std::uint16_t division, std::uint16_t tempo)
{
    if (tempo == 0)
        return 0;
    return roundUp(static_cast<double>(byteCount * division) / (kByteTimesPerMinute / tempo));
}

std::uint64_t ticksToByteTimes(std::uint64_t ticks, std::uint16_t division, std::uint16_t tempo)
{
    if (division == 0 || tempo == 0)
        return 0;
    return roundUp(static_cast<double>(ticks) * (kByteTimesPerMinute / tempo) / division);
}
