#include "device/TLSafeWrite.h"

#include "device/TLTemporaryFileGuard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

constexpr int kTemporaryNameAttempts = 100;
// Links followed at most, as the system itself does (ELOOP).
constexpr int kLinkLimit = 40;

std::string systemReason(int error)
{
    return std::strerror(error);
}

// An open file descriptor, closed when it goes.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : mDescriptor(descriptor) {}
    ~Descriptor()
    {
        if (mDescriptor >= 0)
            ::close(mDescriptor);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return mDescriptor; }
    // Closes it now; the close's own failure (a delayed write error) counts.
    int close()
    {
        const int result = ::close(mDescriptor);
        mDescriptor = -1;
        return result;
    }

private:
    int mDescriptor;
};

// Creates a new, empty file with an unused name beside the target; the
// descriptor is negative and errno set when none could be created.
int createTemporaryBeside(const fs::path& target, fs::path& temporary)
{
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        const std::string name =
            "." + target.filename().string() + "." + std::to_string(random() % 1000000000) + ".tmp";
        temporary = target.parent_path() / name;
        // O_EXCL: an existing file of that name is never reused.
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

// The folder's entry for the renamed file reaches the storage device too. A
// file system that cannot sync folders says EINVAL; that is no failure.
void syncFolder(const fs::path& file)
{
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

// Writes every byte; 0, or the error number of the write that failed.
int writeFully(int descriptor, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return 0;
}

// Writes, syncs and closes; errno holds the reason when it fails.
bool writeSyncAndClose(Descriptor& file, std::span<const std::uint8_t> bytes)
{
    if (const int error = writeFully(file.get(), bytes); error != 0) {
        errno = error;
        return false;
    }
    return ::fsync(file.get()) == 0 && file.close() == 0;
}

} // namespace

fs::path TLSafeWrite::resolvedTarget(const fs::path& target)
{
    fs::path path = target;
    for (int links = 0; links < kLinkLimit; ++links) {
        std::error_code error;
        if (!fs::is_symlink(path, error))
            return path;
        const fs::path link = fs::read_symlink(path, error);
        if (error)
            return path;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

std::string TLSafeWrite::refusal(const fs::path& target, const std::vector<fs::path>& inputs)
{
    struct stat output = {};
    // A target that does not exist yet is created; any other trouble with it
    // shows when it is written.
    if (::stat(target.c_str(), &output) != 0)
        return {};
    if (!S_ISREG(output.st_mode))
        return kNotRegular;
    for (const fs::path& input : inputs) {
        struct stat read = {};
        if (::stat(input.c_str(), &read) == 0 && read.st_dev == output.st_dev && read.st_ino == output.st_ino)
            return kIsAnInput;
    }
    return {};
}

TLWriteResult TLSafeWrite::replace(const fs::path& target, std::span<const std::uint8_t> bytes)
{
    const fs::path resolved = resolvedTarget(target);
    if (std::string refused = refusal(resolved); !refused.empty())
        return TLWriteResult::failed(std::move(refused));
    struct stat old = {};
    const bool replacing = ::stat(resolved.c_str(), &old) == 0;

    fs::path temporary;
    Descriptor file(createTemporaryBeside(resolved, temporary));
    if (file.get() < 0)
        return TLWriteResult::failed(systemReason(errno));
    const TLTemporaryFileGuard guard(temporary.string());
    const bool written = (!replacing || ::fchmod(file.get(), old.st_mode & 07777) == 0)
                      && writeSyncAndClose(file, bytes) && ::rename(temporary.c_str(), resolved.c_str()) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return TLWriteResult::failed(systemReason(error));
    }
    syncFolder(resolved);
    return {};
}

TLWriteResult TLSafeWrite::writeAll(int descriptor, std::span<const std::uint8_t> bytes)
{
    const int error = writeFully(descriptor, bytes);
    return error == 0 ? TLWriteResult{} : TLWriteResult::failed(systemReason(error));
}
