#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// The fuzz input written to a temporary file, removed again when the object goes away.
class FuzzInputFile {
public:
    FuzzInputFile(const std::uint8_t* data, std::size_t size)
    {
        const int fd = mkstemp(mPath.data());
        if (fd >= 0)
            close(fd);
        std::ofstream out(mPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        mComplete = fd >= 0 && out.flush().good();
    }
    ~FuzzInputFile() { std::remove(mPath.c_str()); }
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // False when the file could not be made; the input is then skipped.
    bool complete() const { return mComplete; }
    const char* path() const { return mPath.c_str(); }

private:
    std::string mPath = "/tmp/orvane-fuzz-XXXXXX";
    bool mComplete = false;
};
