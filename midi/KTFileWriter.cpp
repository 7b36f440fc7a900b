#include "midi/KTFileWriter.h"

KTFileWriter::KTFileWriter(const char* path)
    : std::ofstream(path, std::ios::out | std::ios::binary | std::ios::trunc)
{
}

KTFileWriter::~KTFileWriter()
{
    if (is_open())
        close();
}
