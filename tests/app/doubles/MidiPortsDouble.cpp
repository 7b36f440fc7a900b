#include "MidiPortsDouble.h"

bool MidiPortsDouble::clientCreate(const std::string& name, NotifyProc notify)
{
    mClientNames.push_back(name);
    if (!mClientCreateSucceeds)
        return false;
    mNotify = std::move(notify);
    mClientExists = true;
    return true;
}

void MidiPortsDouble::clientDispose()
{
    ++mClientDisposals;
    mClientExists = false;
    mNotify = nullptr;
}

std::string MidiPortsDouble::stringProperty(KTMidiEndpointRef endpoint, KTMidiStringProperty property)
{
    if (endpoint == 0 || endpoint > mDestinations.size())
        return {};
    const Destination& found = mDestinations[endpoint - 1];
    return property == KTMidiStringProperty::Manufacturer ? found.manufacturer : found.displayName;
}

bool MidiPortsDouble::sendSysex(KTMidiSysexSendRequest& request)
{
    request.complete = true;
    if (request.completionProc)
        request.completionProc(&request);
    return false;
}
