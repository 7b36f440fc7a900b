#include "midiout/KTPreferredDestination.h"

#include <algorithm>

int KTPreferredDestination::indexIn(const std::vector<std::string>& titles, const std::string& remembered)
{
    auto found = remembered.empty() ? titles.end() : std::find(titles.begin(), titles.end(), remembered);
    if (found == titles.end())
        found = std::find_if_not(titles.begin(), titles.end(), isThroughPort);
    return found == titles.end() ? 0 : static_cast<int>(found - titles.begin());
}

bool KTPreferredDestination::isThroughPort(const std::string& title)
{
    // The ALSA kernel's through client shows its ports as "Midi Through: Midi Through Port-N".
    return title.starts_with("Midi Through:");
}
