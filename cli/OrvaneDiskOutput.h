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
    // The same failure before the work, when the file can already be seen not
    // to be writable (no such folder, a read-only folder, a folder in its
    // place): for work that cannot be done again, such as a recording.
    static void check(const std::filesystem::path& path);
};
