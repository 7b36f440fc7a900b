#pragma once

#include <fstream>

// A binary output file opened on a path, created or truncated. A file that
// cannot be opened leaves the stream failed. Closes on destruction.
class KTFileWriter : public std::ofstream {
public:
    explicit KTFileWriter(const char* path);
    virtual ~KTFileWriter();
};
