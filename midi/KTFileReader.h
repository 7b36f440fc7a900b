#pragma once

#include <fstream>

// A binary input file opened on a path. A file that cannot be opened leaves the
// stream failed. Closes on destruction.
class KTFileReader : public std::ifstream {
public:
    explicit KTFileReader(const char* path);
    virtual ~KTFileReader();
};
