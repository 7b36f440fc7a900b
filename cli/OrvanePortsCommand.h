#pragma once

#include <QStringList>

// orvane ports: the MIDI destinations, one a line: number, tab, shown name.
class OrvanePortsCommand {
public:
    static int run(const QStringList& arguments);
};
