#pragma once

#include <QStringList>

// orvane export DISK --bank N --out FILE.wav: a bank of a disk as a 44,100 Hz
// mono 16-bit WAV, every sample of the bank.
class OrvaneExportCommand {
public:
    static int run(const QStringList& arguments);
};
