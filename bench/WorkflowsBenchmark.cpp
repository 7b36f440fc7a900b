// The disk and import workflows through the controller, with the test doubles
// of the user-interface layer answering the panels: saving and loading all
// banks, and importing a 2-second and a one-hour WAV. The imports also report
// how far the resident memory rose above what it was before (peak_rss_mb).

#include "bench/ProcessMemory.h"
#include "ApplicationPlatformDouble.h"
#include "EditorWindowDouble.h"
#include "KTRecordingMidiPlatform.h"
#include "KTVirtualClock.h"
#include "app/OrvaneEditorController.h"
#include "resources/FactoryImage.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

// A controller started as the program starts it, against the doubles.
class Editor {
public:
    Editor()
        : mController(mApp, mMidi, mClock, FactoryImage::samples())
    {
        mController.init();
        mWindow.connect(mController);
        mController.awakeFromNib();
    }

    void save(const std::string& path, bool allBanks)
    {
        mWindow.mMatrix_SaveSendOption.mSelectedRow = allBanks ? 1 : 0;
        mApp.mPanelAnswers.push_back(path);
        mController.save(nullptr);
    }
    void load(const std::string& path)
    {
        mApp.mPanelAnswers.push_back(path);
        mController.openDisk(nullptr);
    }
    void import(const std::string& path)
    {
        mApp.mPanelAnswers.push_back(path);
        mController.openSample(nullptr);
    }
    bool quiet() const { return mApp.mAlerts.empty(); }

private:
    ApplicationPlatformDouble mApp;
    KTVirtualClock mClock;
    KTRecordingMidiPlatform mMidi{mClock};
    EditorWindowDouble mWindow;
    OrvaneEditorController mController;
};

fs::path benchFolder()
{
    const fs::path folder = fs::path(ORVANE_BINARY_DIR) / "bench-workflows";
    fs::create_directories(folder);
    return folder;
}

// A mono 44.1 kHz 16-bit WAV of the given length, made by sox once and kept.
std::string soxWav(int seconds)
{
    const fs::path path = benchFolder() / ("tone-" + std::to_string(seconds) + "s.wav");
    if (!fs::exists(path)) {
        const std::string command = "sox -V1 -n -r 44100 -c 1 -b 16 -t wav '" + path.string() + ".part' synth "
            + std::to_string(seconds) + " sine 440 && mv '" + path.string() + ".part' '" + path.string() + "'";
        if (std::system(command.c_str()) != 0)
            return {};
    }
    return path.string();
}

void BM_SaveAllBanks(benchmark::State& state)
{
    Editor editor;
    const std::string path = (benchFolder() / "all banks.mid").string();
    for (auto _ : state)
        editor.save(path, true);
    if (!editor.quiet())
        state.SkipWithError("the save failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
}

void BM_LoadAllBanks(benchmark::State& state)
{
    Editor editor;
    const std::string path = (benchFolder() / "all banks to load.mid").string();
    editor.save(path, true);
    for (auto _ : state)
        editor.load(path);
    if (!editor.quiet())
        state.SkipWithError("the load failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fs::file_size(path)));
}

void BM_ImportWav(benchmark::State& state)
{
    const std::string path = soxWav(static_cast<int>(state.range(0)));
    if (path.empty()) {
        state.SkipWithError("sox could not make the file");
        return;
    }
    // Blocks of 16 KB and more get their own mappings and go back to the
    // system when freed, so each import's peak shows in the resident size
    // instead of hiding in memory an earlier run left in the heap.
    mallopt(M_MMAP_THRESHOLD, 16 * 1024);
    mallopt(M_TRIM_THRESHOLD, 0);
    Editor editor;
    long peakGrowth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const long before = ProcessMemory::kilobytes("VmRSS");
        ProcessMemory::resetPeak();
        state.ResumeTiming();
        editor.import(path);
        peakGrowth = std::max(peakGrowth, ProcessMemory::kilobytes("VmHWM") - before);
    }
    if (!editor.quiet())
        state.SkipWithError("the import failed");
    state.counters["file_mb"] = static_cast<double>(fs::file_size(path)) / 1e6;
    state.counters["peak_rss_mb"] = static_cast<double>(peakGrowth) / 1e3;
}

} // namespace

BENCHMARK(BM_SaveAllBanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAllBanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWav)->Arg(2)->Arg(3600)->Unit(benchmark::kMillisecond);
