// Cold start of the editor to its main window on screen, under a virtual X
// server started once for the run. Each iteration starts the program (through
// its test harness, which runs the same entry as the program), takes the moment
// the main window was first exposed as the harness reports it on the steady
// clock, and lets it quit with the Quit shortcut.

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A virtual X server for the lifetime of the object.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        mPid = fork();
        if (mPid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char buffer[32] = {};
        const ssize_t got = read(fds[0], buffer, sizeof buffer - 1);
        close(fds[0]);
        if (got > 0)
            mDisplay = ":" + std::string(buffer, std::strcspn(buffer, "\n"));
    }
    ~VirtualDisplay()
    {
        if (mPid > 0) {
            kill(mPid, SIGTERM);
            waitpid(mPid, nullptr, 0);
        }
    }
    const std::string& name() const { return mDisplay; }

private:
    pid_t mPid = -1;
    std::string mDisplay;
};

// Starts the harness and answers microseconds from the start to the window
// shown, or nothing when the run failed.
std::optional<double> coldStart(const std::string& display)
{
    int fds[2];
    if (pipe(fds) != 0)
        return std::nullopt;
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        execl(ORVANE_HARNESS, ORVANE_HARNESS, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(got));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const auto at = output.find("shown_us=");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos)
        return std::nullopt;
    const long long shown = std::atoll(output.c_str() + at + 9);
    const auto start = std::chrono::duration_cast<std::chrono::microseconds>(started.time_since_epoch()).count();
    return double(shown - start);
}

void BM_ColdStartToMainWindowShown(benchmark::State& state)
{
    VirtualDisplay display;
    if (display.name().empty()) {
        state.SkipWithError("Xvfb could not be started");
        return;
    }
    for (auto _ : state) {
        const auto microseconds = coldStart(display.name());
        if (!microseconds) {
            state.SkipWithError("the editor did not start and quit cleanly");
            return;
        }
        state.SetIterationTime(*microseconds / 1e6);
    }
}
BENCHMARK(BM_ColdStartToMainWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
