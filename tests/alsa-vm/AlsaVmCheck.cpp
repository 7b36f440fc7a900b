// alsa_vm_check: the ALSA layer's check that the command line cannot reach,
// run in the VM: only a change of the ports other clients show is reported as
// a set-up change. Prints "PASS ..."/"FAIL ..." lines, exits non-zero on a
// failure.

#include "midiout/KTSteadyClock.h"
#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include <atomic>
#include <functional>
#include <iostream>
#include <string>
#include <thread>

using namespace std::chrono_literals;

int main()
{
    KTSteadyClock clock;
    KTAlsaMidiPlatform platform(clock), other(clock), looker(clock);
    std::atomic<int> changes{0};
    bool passed = platform.clientCreate("MidiInterfaceTest", [&](std::int32_t id) { changes += id == 1 ? 1 : 1000; });
    std::cout << (passed ? "PASS" : "FAIL") << " client created" << std::endl;
    KTMidiPortRef port = 0;
    const struct {
        const char* what;
        std::function<void()> step;
        bool announced;
    } steps[] = {
        {"own port creation", [&] { platform.outputPortDispose(platform.outputPortCreate("OutPort")); }, false},
        {"client start without visible ports", [&] { other.clientCreate("Other", nullptr); }, false},
        {"port start", [&] { port = other.outputPortCreate("Hot Port"); }, true},
        {"port exit", [&] { other.outputPortDispose(port); }, true},
        {"second port start", [&] { other.outputPortCreate("Hot Port"); }, true},
        {"client exit with a visible port", [&] { other.clientDispose(); }, true},
        {"a client that only looks", [&] { looker.clientCreate("Looker", nullptr); looker.numberOfDestinations(); looker.clientDispose(); }, false},
    };
    for (const auto& s : steps) {
        changes = 0;
        s.step();
        for (int waited = 0; changes == 0 && waited < (s.announced ? 400 : 100); ++waited)
            std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(300ms);
        const bool ok = s.announced ? changes > 0 && changes < 1000 : changes == 0;
        std::cout << (ok ? "PASS " : "FAIL ") << s.what
                  << (s.announced ? " announced as set-up change" : " not announced") << std::endl;
        passed = passed && ok;
    }
    return passed ? 0 : 1;
}
