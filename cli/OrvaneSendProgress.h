#pragma once

#include "device/TLSendProgress.h"

#include <string>

// The progress of a send on stderr, rewritten in place: bank, percent, bytes
// and time left, as the send job reports them. Silent unless enabled (stderr
// is a terminal).
class OrvaneSendProgress {
public:
    explicit OrvaneSendProgress(bool enabled);

    // The bank's name for the line of the bank the progress is about.
    void show(const TLSendProgress& progress, const std::string& bankName);
    // Ends the line of the last bank.
    void finish();

private:
    const bool mEnabled;
    int mBank = -1;
    bool mLineOpen = false;
};
