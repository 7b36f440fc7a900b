#pragma once

#include <QStringList>

// orvane edit DISK --bank N [--range START:END] OPERATION... --out DISK: the
// sound operations on a bank of a disk, in the order given, written as a disk
// of the same shape.
class OrvaneEditCommand {
public:
    static int run(const QStringList& arguments);
};
