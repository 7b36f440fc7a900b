#pragma once

#include <atomic>

// SIGINT and SIGTERM as a stop request. The handler only stores to lock-free
// atomics, which is async-signal-safe; a handler can reach nothing but static
// storage, hence the static flag and count.
class OrvaneStopSignal {
public:
    // Installs the handlers and returns the flag they set.
    static const std::atomic<bool>& install();
    // How many of the signals came since the program started, for a command
    // that takes a second one as more than the first.
    static int received() { return sReceived.load(); }

private:
    static void handle(int signal);
    static std::atomic<bool> sStopRequested;
    static std::atomic<int> sReceived;
    static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);
};
