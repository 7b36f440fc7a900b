#pragma once

#include <QStringList>

// orvane info DISK [--json]: the disk's shape and, per bank, its name, the
// sample names that are set, the sound's length and its peak level.
class OrvaneInfoCommand {
public:
    static int run(const QStringList& arguments);
};
