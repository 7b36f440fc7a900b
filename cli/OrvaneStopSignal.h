#pragma once

#include <atomic>

// SIGINT and SIGTERM as a stop request. The handler only stores to a lock-free
// atomic, which is async-signal-safe; a handler can reach nothing but static
// storage, hence the one static flag.
class OrvaneStopSignal {
public:
    // Installs the handlers and returns the flag they set.
    static const std::atomic<bool>& install();

private:
    static void handle(int signal);
    static std::atomic<bool> sStopRequested;
    static_assert(std::atomic<bool>::is_always_lock_free);
};
