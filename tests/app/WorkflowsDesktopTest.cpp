// The real program on a virtual X server, driven through its window the way a
// user would: import a sox-made WAV into bank 4 (index 3), save all banks,
// reset that bank, load the disk back, and find the bank's samples and sample
// name restored. The file dialogs are answered by the test, the question about
// the reset's unsaved change with Discard; any other message box is a failure.

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"
#include "device/TLOrvane.h"
#include "midi/KTMidiFileReader.h"
#include "resources/FactoryImage.h"
#include "tests/audio/AudioTestFolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "ui_KTQtMainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kBank = 3;
constexpr std::size_t kFrames = 3000;

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
    // Answers every file dialog with mAnswer typed into its name field, and
    // closes and records every message box (none is expected on this road),
    // polling until the program ends: a dialog not yet ready is answered at
    // the next poll.
    void startAnswering()
    {
        auto* poll = new QTimer(qApp);
        QObject::connect(poll, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                const auto buttons = box->buttons();
                const auto discard = std::find_if(buttons.begin(), buttons.end(),
                                                  [](QAbstractButton* b) { return b->text() == "Discard"; });
                if (box->text() == "Unsaved Changes" && discard != buttons.end()) {
                    ++mDiscarded;
                    (*discard)->click();
                    return;
                }
                mMessageBoxes.push_back(box->text().toStdString() + ": " + box->informativeText().toStdString());
                box->done(0);
            } else if (auto* name = modal ? modal->findChild<QLineEdit*>("fileNameEdit") : nullptr) {
                name->setText(QString::fromStdString(mAnswer));
                static_cast<QDialog*>(modal)->accept();
            }
        });
        poll->start(20);
    }

    void clickAnswering(QAbstractButton* button, const std::string& path)
    {
        mAnswer = path;
        button->click();
    }

    void drive(KTQtEditorWindows& windows)
    {
        const Ui::KTQtMainWindow& ui = windows.mainUi();
        startAnswering();

        std::vector<std::int64_t> samples(kFrames);
        for (std::size_t i = 0; i < kFrames; ++i)
            samples[i] = static_cast<std::int64_t>((i * 97) % 30000) - 15000;
        const std::string wav = mFolder.soxFromSamples("voice.wav", samples, 16, 1, 44100, "-t wav");
        const std::string disk = mFolder.path("all banks.mid");

        ui.tableView_Banks->selectRow(kBank);
        clickAnswering(ui.pushButton_OpenSample, wav);
        EXPECT_EQ(ui.lineEdit_Samplename->text().toStdString(), "voice.wav");

        ui.radioButton_AllBanks->click();
        clickAnswering(ui.pushButton_Save, disk);

        ui.pushButton_Reset->click();
        EXPECT_EQ(ui.lineEdit_Samplename->text().toStdString(), "Sample 1 (in Bank 4)");

        ui.tableView_Banks->selectRow(0);
        clickAnswering(ui.pushButton_OpenDisk, disk);
        ui.tableView_Banks->selectRow(kBank);
        EXPECT_EQ(ui.lineEdit_Samplename->text().toStdString(), "voice.wav");

        // What the editor holds now, written out once more.
        clickAnswering(ui.pushButton_Save, mFolder.path("again.mid"));

        const std::unique_ptr<TLOrvane> saved = loadDisk(disk);
        EXPECT_EQ(saved->mSamples[kBank], importedBank(samples));
        EXPECT_EQ(saved->mSampleNames[kBank][0], "voice.wav");
        EXPECT_EQ(AudioTestFolder::read(mFolder.path("again.mid")), AudioTestFolder::read(disk)) << "bank 4 reloaded";
        EXPECT_TRUE(mMessageBoxes.empty()) << mMessageBoxes.front();
        EXPECT_EQ(mDiscarded, 1) << "the reset was an unsaved change when the disk was opened";

        windows.requestTermination();
    }

    AudioTestFolder mFolder;
    std::string mAnswer;
    std::vector<std::string> mMessageBoxes;
    int mDiscarded = 0;
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
}

} // namespace
