#include "cli/OrvaneMidiPorts.h"

#include "cli/OrvaneCliError.h"
#include "midiout/KTDestinationList.h"
#include "midiout/alsa/KTAlsaQuietErrors.h"

#include <algorithm>
#include <limits>

namespace {

constexpr char kClientName[] = "MidiInterfaceTest";

} // namespace

OrvaneMidiPorts::OrvaneMidiPorts()
{
    KTAlsaQuietErrors::install();
    if (!mPlatform.clientCreate(kClientName, [](std::int32_t) {}))
        throw OrvaneCliError::failure("ALSA sequencer", "cannot be reached (is /dev/snd/seq there?)");
    mTitles = KTDestinationList::titles(mPlatform, std::numeric_limits<std::uint16_t>::max());
}

OrvaneMidiPorts::~OrvaneMidiPorts()
{
    mPlatform.clientDispose();
}

std::uint16_t OrvaneMidiPorts::find(const QString& port) const
{
    const auto named = std::find(mTitles.begin(), mTitles.end(), port.toStdString());
    if (named != mTitles.end())
        return static_cast<std::uint16_t>(named - mTitles.begin());
    bool isNumber = false;
    const int number = port.toInt(&isNumber);
    if (isNumber && number >= 1 && static_cast<std::size_t>(number) <= mTitles.size())
        return static_cast<std::uint16_t>(number - 1);
    throw OrvaneCliError::failure("port \"" + port.toStdString() + "\"",
                                  "no such MIDI destination (orvane ports lists them)");
}
