#include "device/TLTemporaryFileGuard.h"

#include <unistd.h>

#include <atomic>
#include <utility>

namespace {

// The guarded file's name, for the handler. Lock-free, so reading it in a
// handler is async-signal-safe.
std::atomic<const char*> sGuardedPath{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free);

} // namespace

TLTemporaryFileGuard::TLTemporaryFileGuard(std::string path)
    : mPath(std::move(path))
{
    sGuardedPath.store(mPath.c_str());
    struct sigaction action = {};
    action.sa_handler = &TLTemporaryFileGuard::handle;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], nullptr, &mPrevious[i]);
        if (mPrevious[i].sa_handler == SIG_IGN)
            continue;
        mInstalled[i] = sigaction(kSignals[i], &action, nullptr) == 0;
    }
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &mPreviousFileSize);
}

TLTemporaryFileGuard::~TLTemporaryFileGuard()
{
    sigaction(SIGXFSZ, &mPreviousFileSize, nullptr);
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        if (mInstalled[i])
            sigaction(kSignals[i], &mPrevious[i], nullptr);
    sGuardedPath.store(nullptr);
}

void TLTemporaryFileGuard::handle(int signal)
{
    if (const char* path = sGuardedPath.load())
        ::unlink(path);
    // Ends the program as the signal does by default: unlink, sigaction and
    // raise are async-signal-safe.
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}
