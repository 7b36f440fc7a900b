#pragma once

#include <atomic>

// SIGINT, SIGTERM and SIGHUP as a stop request, for the commands that end
// their work gracefully (a send closes its message with F7). The handler only
// stores to lock-free atomics, which is async-signal-safe; a handler can reach
// nothing but static storage, hence the static flags.
class OrvaneStopSignal {
public:
    // Installs the handlers and returns the flag they set.
    static const std::atomic<bool>& install();
    // The number of the last signal that asked to stop; 0 when none did.
    static int signal() { return sSignal.load(); }
    // How many of the signals came since the program started, for a command
    // that takes a second one as more than the first.
    static int received() { return sReceived.load(); }

private:
    static void handle(int signal);
    static std::atomic<bool> sStopRequested;
    static std::atomic<int> sSignal;
    static std::atomic<int> sReceived;
    static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);
};
