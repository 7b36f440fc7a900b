#pragma once

#include <filesystem>
#include <functional>

// Replaces a file only with a complete new one: the content is written to a new
// file beside the target, pushed to the storage device, and renamed over the
// target. On any failure the target is untouched and the new file removed, so
// an interrupted or failed write never loses the old file.
class TLSafeWrite {
public:
    // writeTo receives the temporary file's path and returns whether every
    // write and the close succeeded.
    using Writer = std::function<bool(const std::filesystem::path& temporary)>;

    static bool replace(const std::filesystem::path& target, const Writer& writeTo);
};
