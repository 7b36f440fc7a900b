// The real program on a virtual X server, driven through its window the way a
// user would: import a sox-made WAV into bank 4 (index 3), save all banks,
// reset that bank, load the disk back, and find the bank's samples and sample
// name restored. The file dialogs are answered by the test; any message box
// that appears is a failure.

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"
#include "device/TLOrvane.h"
#include "midi/KTMidiFileReader.h"
#include "resources/FactoryImage.h"
#include "tests/audio/AudioTestFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>

#include "ui_KTQtMainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBank = 3;
constexpr std::size_t kFrames = 3000;

// Answers the next file dialog with `path` as soon as it is shown.
void answerNextFileDialog(const QString& path)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
    poll->start(20);
}

// Closes and reports every message box: none is expected on this road.
void failOnMessageBoxes(std::vector<std::string>& seen)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        seen.push_back(box->text().toStdString() + ": " + box->informativeText().toStdString());
        box->done(0);
    });
    poll->start(20);
}

// The banks a disk holds, loaded into a fresh bank store.
std::unique_ptr<TLOrvane> loadDisk(const std::string& path)
{
    auto orvane = std::make_unique<TLOrvane>(FactoryImage::samples());
    KTMidiFileReader reader(path.c_str());
    EXPECT_TRUE(reader.isMidiFile());
    KTMidiEventList events;
    while (!reader.readTrack(events).empty()) {
        const int bank = orvane->detectBank(events);
        if (bank >= 0 && bank < TLOrvane::kBankCount)
            orvane->loadBank(events, bank);
    }
    return orvane;
}

std::vector<std::int16_t> importedBank(const std::vector<std::int64_t>& samples)
{
    std::vector<std::int16_t> bank(TLOrvane::kSamplesPerBank, 0);
    std::copy(samples.begin(), samples.end(), bank.begin());
    bank[0] = 0;
    for (std::size_t k = 15; k >= 1; --k) {
        const int value = std::max<int>(bank[kFrames - k], -32767);
        const int magnitude = std::abs(value) >> (16 - k);
        bank[kFrames - k] = static_cast<std::int16_t>(value < 0 ? -magnitude : magnitude);
    }
    return bank;
}

class WorkflowsOnTheDesktop : public ::testing::Test {
protected:
    void drive(KTQtEditorWindows& windows)
    {
        const Ui::KTQtMainWindow& ui = windows.mainUi();
        failOnMessageBoxes(mMessageBoxes);

        std::vector<std::int64_t> samples(kFrames);
        for (std::size_t i = 0; i < kFrames; ++i)
            samples[i] = static_cast<std::int64_t>((i * 97) % 30000) - 15000;
        const std::string wav = mFolder.soxFromSamples("voice.wav", samples, 16, 1, 44100, "-t wav");
        const std::string disk = mFolder.path("all banks.mid");
        const std::string again = mFolder.path("again.mid");

        ui.tableView_Banks->selectRow(kBank);
        answerNextFileDialog(QString::fromStdString(wav));
        ui.pushButton_OpenSample->click();
        EXPECT_EQ(ui.lineEdit_Samplename->text().toStdString(), "voice.wav");

        ui.radioButton_AllBanks->click();
        answerNextFileDialog(QString::fromStdString(disk));
        ui.pushButton_Save->click();

        ui.pushButton_Reset->click();
        EXPECT_EQ(ui.lineEdit_Samplename->text().toStdString(), "Sample 1 (in Bank 4)");

        ui.tableView_Banks->selectRow(0);
        answerNextFileDialog(QString::fromStdString(disk));
        ui.pushButton_OpenDisk->click();
        ui.tableView_Banks->selectRow(kBank);
        EXPECT_EQ(ui.lineEdit_Samplename->text().toStdString(), "voice.wav");

        // What the editor holds now, written out once more.
        answerNextFileDialog(QString::fromStdString(again));
        ui.pushButton_Save->click();

        const std::unique_ptr<TLOrvane> saved = loadDisk(disk);
        EXPECT_EQ(saved->mSamples[kBank], importedBank(samples));
        EXPECT_EQ(saved->mSampleNames[kBank][0], "voice.wav");
        EXPECT_EQ(AudioTestFolder::read(again), AudioTestFolder::read(disk)) << "bank 4 restored by the load";
        EXPECT_TRUE(mMessageBoxes.empty()) << mMessageBoxes.front();

        windows.requestTermination();
    }

    AudioTestFolder mFolder;
    std::vector<std::string> mMessageBoxes;
};

TEST_F(WorkflowsOnTheDesktop, ImportSaveResetAndLoadRestoreTheBank)
{
    char name[] = "OrvaneEditor";
    char* argv[] = {name, nullptr};
    int argc = 1;
    const int result = OrvaneApplicationMain(argc, argv, [this](KTQtEditorWindows& windows) {
        QTimer::singleShot(0, windows.mainWindow(), [this, &windows] { drive(windows); });
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(std::ifstream(mFolder.path("again.mid")).fail());
}

} // namespace
