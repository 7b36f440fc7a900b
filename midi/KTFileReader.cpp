#include "midi/KTFileReader.h"

KTFileReader::KTFileReader(const char* path)
    : std::ifstream(path, std::ios::in | std::ios::binary)
{
}

KTFileReader::~KTFileReader()
{
    if (is_open())
        close();
}
