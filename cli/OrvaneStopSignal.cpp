#include "cli/OrvaneStopSignal.h"

#include <csignal>

std::atomic<bool> OrvaneStopSignal::sStopRequested{false};
std::atomic<int> OrvaneStopSignal::sSignal{0};
std::atomic<int> OrvaneStopSignal::sReceived{0};

const std::atomic<bool>& OrvaneStopSignal::install()
{
    struct sigaction action = {};
    action.sa_handler = &OrvaneStopSignal::handle;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    return sStopRequested;
}

void OrvaneStopSignal::handle(int signal)
{
    sSignal.store(signal);
    sStopRequested.store(true);
    sReceived.fetch_add(1);
}
