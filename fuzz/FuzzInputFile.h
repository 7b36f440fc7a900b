#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

// The fuzz input as an anonymous in-memory file, opened by its /proc path.
class FuzzInputFile {
public:
    FuzzInputFile(const std::uint8_t* data, std::size_t size)
        : mFd(memfd_create("fuzz-input", 0))
        , mPath("/proc/self/fd/" + std::to_string(mFd))
    {
        std::ofstream out(mPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        mComplete = mFd >= 0 && out.flush().good();
    }
    ~FuzzInputFile() { close(mFd); }
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // False when the file could not be made; the input is then skipped.
    bool complete() const { return mComplete; }
    const char* path() const { return mPath.c_str(); }

private:
    int mFd;
    std::string mPath;
    bool mComplete = false;
};
