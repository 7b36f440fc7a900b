// The real program on a virtual X server, driven through its window the way a
// user would: a sox-made tone imported into bank 4 through the file dialog,
// the window photographed with its waveform; all banks saved, bank 4 reset
// and the disk loaded back, restoring it; Quit after one more change. File dialogs are answered by the test, the questions about
// unsaved changes with Discard; any other message box is a failure.

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"
#include "device/TLDiskReader.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"
#include "resources/FactoryImage.h"
#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include "ui_KTQtMainWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The banks a disk holds, loaded into a fresh bank store.
std::unique_ptr<TLOrvane> loadDisk(const std::string& path)
{
    auto orvane = std::make_unique<TLOrvane>(FactoryImage::samples());
    const TLDiskContents disk = TLDiskReader::read(path, *orvane);
    EXPECT_EQ(disk.status, TLDiskContents::Status::Read);
    for (const TLDiskTrack* track : disk.bankTracks())
        orvane->loadBank(track->events, track->detectedBank);
    return orvane;
}

class WorkflowsOnTheDesktop : public ::testing::Test {
protected:
    // Polls until the program ends, answering every file dialog with mAnswer
    // typed into its name field and the unsaved-changes question with Discard;
    // closes and records any other message box.
    void startAnswering()
    {
        auto* poll = new QTimer(qApp);
        QObject::connect(poll, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                for (QAbstractButton* button : box->buttons())
                    if (box->text() == "Unsaved Changes" && button->text() == "Discard")
                        return ++mDiscarded, button->click();
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
        const auto sampleName = [&ui] { return ui.lineEdit_Samplename->text().toStdString(); };
        startAnswering();
        ui.tableView_Banks->selectRow(3);
        clickAnswering(ui.pushButton_OpenSample, mWav);
        EXPECT_EQ(sampleName(), "tone.wav");
        EXPECT_TRUE(windows.mainWindow()->isWindowModified());
        QApplication::processEvents();
        EXPECT_TRUE(windows.mainWindow()->grab().save(ORVANE_BINARY_DIR "/waveform-window.png"));

        const std::string disk = mFolder.path("all banks.mid");
        ui.radioButton_AllBanks->click();
        clickAnswering(ui.pushButton_Save, disk);
        ui.pushButton_Reset->click();
        EXPECT_EQ(sampleName(), "Sample 1 (in Bank 4)");
        ui.tableView_Banks->selectRow(0);
        clickAnswering(ui.pushButton_OpenDisk, disk);
        ui.tableView_Banks->selectRow(3);
        EXPECT_EQ(sampleName(), "tone.wav");

        const std::unique_ptr<TLOrvane> saved = loadDisk(disk);
        std::vector<std::int16_t> imported;
        TLSampleImporter::place(imported, TLSampleImporter::read(mWav).samples);
        EXPECT_EQ(saved->mSamples[3], imported);
        EXPECT_EQ(saved->mSampleNames[3][0], "tone.wav");
        EXPECT_EQ(mDiscarded, 1) << "the reset was an unsaved change when the disk was opened";
        ui.pushButton_Reset->click();
        windows.requestTermination();
    }

    TestFolder mFolder;
    std::string mWav, mAnswer;
    std::vector<std::string> mMessageBoxes;
    int mDiscarded = 0;
};

TEST_F(WorkflowsOnTheDesktop, ImportUndoSaveResetLoadAndQuitAskingAboutTheChange)
{
    qputenv("XDG_CONFIG_HOME", mFolder.path("config").c_str());
    qputenv("XDG_STATE_HOME", mFolder.path("state").c_str());
    mWav = mFolder.path("tone.wav"); // 1.4 s of a decaying 220 Hz tone
    ASSERT_TRUE(mFolder.sox("-n -r 44100 -b 16 -c 1 " + mWav + " synth 1.4 sine 220 fade q 0 1.4 1.3 vol 0.7"));
    char name[] = "OrvaneEditor";
    char* argv[] = {name, nullptr};
    int argc = 1;
    const int result = OrvaneApplicationMain(argc, argv, [this](KTQtEditorWindows& windows) {
        windows.mainWindow()->resize(1000, 640);
        QTimer::singleShot(0, windows.mainWindow(), [this, &windows] { drive(windows); });
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(mDiscarded, 2) << "Quit asked about the last reset";
    EXPECT_TRUE(mMessageBoxes.empty()) << mMessageBoxes.front();
}

} // namespace
