#include "midiout/KTDestinationList.h"

#include "midiout/KTMidiInterfaceTransmitter.h"

#include <algorithm>

std::vector<std::string> KTDestinationList::titles(KTMidiPlatform& client, std::size_t limit)
{
    const std::size_t count = std::min<std::size_t>(KTMidiInterfaceTransmitter::DestinationNumber(client), limit);
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        names.push_back(KTMidiInterfaceTransmitter::DestinationNameAt(client, i));
    return distinctTitles(names);
}

std::vector<std::string> KTDestinationList::distinctTitles(const std::vector<std::string>& names)
{
    std::vector<std::string> titles;
    titles.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto earlier = std::count(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), names[i]);
        titles.push_back(earlier == 0 ? names[i] : names[i] + " (" + std::to_string(earlier + 1) + ")");
    }
    return titles;
}
