#pragma once

#include <filesystem>
#include <string>

// Output files: the one-line failure when a file could not be written. The
// writes themselves are safe (an existing file is replaced only by a complete
// new one), so a failure leaves nothing behind.
class OrvaneDiskOutput {
public:
    // A failure naming the file, with the likeliest reason.
    [[noreturn]] static void fail(const std::filesystem::path& path);
};
