#pragma once

#include <QStringList>

// orvane record --bank N --out DISK [--from DISK] [--one-bank] [--device NAME]
// [--threshold DB] [--seconds S] [--channel mix|left|right]: records from a
// sound input into a bank of the factory banks or of a disk's, placed as an
// import is, and writes them as a new disk.
class OrvaneRecordCommand {
public:
    static int run(const QStringList& arguments);
};
