#pragma once

#include "device/TLImportOptions.h"

class OrvaneCommandParser;

// The import options as the command line takes them: --start, --length,
// --channel, --trim-silence[=DB], --normalize[=DB] and --resample. Values
// they do not take are usage errors.
class OrvaneImportOptions {
public:
    static void addTo(OrvaneCommandParser& command);
    static TLImportOptions of(const OrvaneCommandParser& command);
    // --channel mix|left|right, which record takes too.
    static void addChannelTo(OrvaneCommandParser& command);
    static TLImportOptions::Channel channelOf(const OrvaneCommandParser& command);
};
