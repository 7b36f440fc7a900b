#pragma once

#include <QStringList>

// orvane send DISK --port NAME|NUMBER [--channel 1-16] [--banks 1,3-5]: the
// disk's banks to a MIDI destination, as the window sends them. SIGINT and
// SIGTERM end the message in flight with F7 and exit 130.
class OrvaneSendCommand {
public:
    static int run(const QStringList& arguments);
};
