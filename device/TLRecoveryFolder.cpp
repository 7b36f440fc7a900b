#include "device/TLRecoveryFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr char kPrefix[] = "recovery-";
constexpr char kExtension[] = ".mid";

} // namespace

TLRecoveryFolder::TLRecoveryFolder(fs::path folder)
    : mFolder(std::move(folder))
{
}

TLRecoveryFolder::~TLRecoveryFolder()
{
    for (const auto& [file, descriptor] : mLocks)
        ::close(descriptor);
}

fs::path TLRecoveryFolder::defaultFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/')
        return fs::path(state) / "OrvaneEditor";
    const char* home = std::getenv("HOME");
    return fs::path(home != nullptr ? home : "") / ".local" / "state" / "OrvaneEditor";
}

fs::path TLRecoveryFolder::lockOf(const fs::path& file)
{
    fs::path lock = file;
    return lock.replace_extension(".lock");
}

int TLRecoveryFolder::lock(const fs::path& file)
{
    const int descriptor = ::open(lockOf(file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return -1;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

std::string TLRecoveryFolder::claim()
{
    std::error_code error;
    fs::create_directories(mFolder, error);
    if (error)
        return error.message();
    // The process number and the start time: a number the system gives again
    // later never names an old file.
    const auto started = std::chrono::system_clock::now().time_since_epoch() / std::chrono::milliseconds(1);
    mOwnFile = mFolder / (kPrefix + std::to_string(::getpid()) + "-" + std::to_string(started) + kExtension);
    const int descriptor = lock(mOwnFile);
    if (descriptor < 0)
        return std::strerror(errno);
    mLocks.emplace_back(mOwnFile, descriptor);
    return {};
}

std::vector<fs::path> TLRecoveryFolder::orphans()
{
    std::vector<std::pair<fs::file_time_type, fs::path>> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(mFolder, error)) {
        fs::path file = entry.path();
        const std::string name = file.filename().string();
        if (!name.starts_with(kPrefix) || lockOf(mOwnFile) == file || file == mOwnFile)
            continue;
        // A lock left without its file (an editor ended with nothing unsaved
        // but no clean end) goes when no editor holds it.
        if (file.extension() == ".lock" && !fs::exists(fs::path(file).replace_extension(kExtension), error)) {
            if (const int descriptor = lock(fs::path(file).replace_extension(kExtension)); descriptor >= 0) {
                fs::remove(file, error);
                ::close(descriptor);
            }
            continue;
        }
        if (file.extension() != kExtension)
            continue;
        const bool held = std::any_of(mLocks.begin(), mLocks.end(), [&file](const auto& l) { return l.first == file; });
        const int descriptor = held ? -1 : lock(file);
        if (descriptor < 0)
            continue;
        mLocks.emplace_back(file, descriptor);
        found.emplace_back(entry.last_write_time(error), file);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<fs::path> files;
    for (const auto& [time, file] : found)
        files.push_back(file);
    return files;
}

void TLRecoveryFolder::remove(const fs::path& file)
{
    std::error_code error;
    fs::remove(file, error);
    const auto held = std::find_if(mLocks.begin(), mLocks.end(), [&file](const auto& l) { return l.first == file; });
    if (held == mLocks.end() || file == mOwnFile)
        return;
    // The lock file goes while it is still locked, so no other editor takes it meanwhile.
    fs::remove(lockOf(file), error);
    ::close(held->second);
    mLocks.erase(held);
}

void TLRecoveryFolder::release()
{
    if (mOwnFile.empty())
        return;
    std::error_code error;
    fs::remove(mOwnFile, error);
    fs::remove(lockOf(mOwnFile), error);
}
