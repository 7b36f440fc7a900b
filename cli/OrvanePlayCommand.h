#pragma once

#include <QStringList>

// orvane play DISK --bank N [--device NAME]: plays a bank on the sound output.
class OrvanePlayCommand {
public:
    static int run(const QStringList& arguments);
};
