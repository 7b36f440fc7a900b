#include "device/TLSafeWrite.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

constexpr int kTemporaryNameAttempts = 100;

// Writing over a symbolic link replaces the file it points to, not the link.
fs::path resolvedTarget(const fs::path& target)
{
    std::error_code error;
    if (!fs::is_symlink(target, error))
        return target;
    const fs::path resolved = fs::weakly_canonical(target, error);
    return error ? target : resolved;
}

// Creates a new, empty file with an unused name in the target's folder.
// Empty when none could be created (for example the folder does not exist).
fs::path createTemporaryBeside(const fs::path& target)
{
    std::random_device seed;
    std::mt19937 random(seed());
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        std::string name(".");
        name.append(target.filename().string()).append(".").append(std::to_string(random() % 1000000000));
        const fs::path candidate = folder / name.append(".tmp");
        // "x": fails when the name already exists, so no other file is reused.
        if (std::FILE* file = std::fopen(candidate.c_str(), "wbx")) {
            std::fclose(file);
            return candidate;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// Pushes the file's contents to the storage device before it replaces the old file.
bool syncToStorage(const fs::path& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && synced;
}

// Moves the finished file over the target, keeping the old file's permissions.
bool moveOver(const fs::path& written, const fs::path& target)
{
    std::error_code error;
    const fs::file_status old = fs::status(target, error);
    if (!error && fs::is_regular_file(old))
        fs::permissions(written, old.permissions(), error);
    error.clear();
    fs::rename(written, target, error);
    return !error;
}

} // namespace

bool TLSafeWrite::replace(const fs::path& target, const Writer& writeTo)
{
    const fs::path resolved = resolvedTarget(target);
    const fs::path temporary = createTemporaryBeside(resolved);
    if (temporary.empty())
        return false;
    if (writeTo(temporary) && syncToStorage(temporary) && moveOver(temporary, resolved))
        return true;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
}
