#pragma once

#include <QStringList>

// orvane import AUDIO... --bank N --out DISK [--from DISK] [--one-bank]
// [--name NAME]: audio files into banks N, N+1, ... of the factory banks or of
// a disk's, written as a new disk. Nothing is written unless every file imports.
class OrvaneImportCommand {
public:
    static int run(const QStringList& arguments);
};
