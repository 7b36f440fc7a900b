#pragma once

#include <csignal>
#include <string>

// Keeps a half-written temporary file from outliving the program: while a guard
// lives, SIGINT, SIGTERM and SIGHUP remove the file and then end the program as
// the signal would have (the shell sees 128 + the signal's number); a signal
// the program ignores stays ignored. SIGXFSZ is ignored meanwhile, so a write
// past the file size limit fails with EFBIG instead of killing the program.
//
// A signal handler can reach nothing but static storage, hence the one static
// slot for the file's name; one guard lives at a time.
class TLTemporaryFileGuard {
public:
    explicit TLTemporaryFileGuard(std::string path);
    ~TLTemporaryFileGuard();
    TLTemporaryFileGuard(const TLTemporaryFileGuard&) = delete;
    TLTemporaryFileGuard& operator=(const TLTemporaryFileGuard&) = delete;

private:
    static void handle(int signal);

    static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
    std::string mPath;
    struct sigaction mPrevious[std::size(kSignals)] = {};
    struct sigaction mPreviousFileSize = {};
    bool mInstalled[std::size(kSignals)] = {};
};
