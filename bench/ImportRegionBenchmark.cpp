// Opening the Import Region dialog on a 2 GB WAV (sparse on disk): from the
// call until the dialog is shown and has handled its first events, while the
// file's overview goes on being read in the background. Off screen.

#include "app/platform/qt/KTQtImportRegionDialog.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

void application()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "ImportRegionBenchmark";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

// A 44.1 kHz stereo 16-bit WAV of 2 GB of silence, sparse on disk.
std::string twoGigabyteWav()
{
    const fs::path path = fs::path(ORVANE_BINARY_DIR) / "bench-import" / "two-gigabytes.wav";
    const std::uint32_t dataBytes = 2000000000U;
    if (fs::exists(path))
        return path.string();
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    const auto put32 = [&file](std::uint32_t v) {
        file.put(char(v)).put(char(v >> 8)).put(char(v >> 16)).put(char(v >> 24));
    };
    const auto put16 = [&file](std::uint16_t v) { file.put(char(v)).put(char(v >> 8)); };
    file << "RIFF";
    put32(dataBytes + 36);
    file << "WAVEfmt ";
    put32(16), put16(1), put16(2), put32(44100), put32(44100 * 4), put16(4), put16(16);
    file << "data";
    put32(dataBytes);
    file.close();
    fs::resize_file(path, 44 + std::uintmax_t{dataBytes});
    return path.string();
}

void BM_ImportRegionDialogOpens(benchmark::State& state)
{
    application();
    const QString path = QString::fromStdString(twoGigabyteWav());
    std::optional<KTQtImportRegionDialog> dialog;
    for (auto _ : state) {
        dialog.emplace(nullptr, path, [](const TLImportOptions&) { return 0.0; }, [] {});
        dialog->show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog->isVisible());
        state.PauseTiming();
        dialog->done(QDialog::Rejected);
        dialog.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportRegionDialogOpens)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
