// Recovery after a crash, with the real program on a virtual X server: a sound
// dropped on bank 3 and a rename, the program killed with SIGKILL once it has
// kept them; started again, it offers them, and Recover puts back banks that
// are byte for byte the ones before the kill (read from the recovery file the
// second run keeps of them).

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"
#include "device/TLOrvane.h"
#include "device/TLDiskLoader.h"
#include "device/TLRecoveryFile.h"
#include "device/TLSampleImporter.h"
#include "device/TLWaveExport.h"
#include "resources/FactoryImage.h"
#include "tests/support/TestFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QTableView>
#include <QTimer>
#include <QUrl>

#include "ui_KTQtMainWindow.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

namespace {

namespace fs = std::filesystem;

// The program's recovery files in the state folder.
std::vector<fs::path> recoveryFiles(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "OrvaneEditor", error))
        if (entry.path().extension() == ".mid")
            files.push_back(entry.path());
    return files;
}

// Runs the program in a child process with the hook; the child ends by
// itself with SIGKILL once `done` says so, within 20 s. Its wait status.
int runProgram(const std::function<void(KTQtEditorWindows&)>& hook, const std::function<bool()>& done)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(20);
        char name[] = "OrvaneEditor";
        char* argv[] = {name, nullptr};
        int argc = 1;
        OrvaneApplicationMain(argc, argv, [&](KTQtEditorWindows& windows) {
            hook(windows);
            auto* poll = new QTimer(windows.mainWindow());
            QObject::connect(poll, &QTimer::timeout, [&done] {
                if (done())
                    ::kill(::getpid(), SIGKILL);
            });
            poll->start(50);
        });
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST(RecoveryOnTheDesktop, ASigkillLosesNoChange)
{
    TestFolder folder;
    qputenv("XDG_CONFIG_HOME", folder.path("config").c_str());
    qputenv("XDG_STATE_HOME", folder.path("state").c_str());
    const std::string take = folder.write("take.wav", TLWaveExport::bytes(std::vector<std::int16_t>(30000, 777)));

    const int killed = runProgram(
        [&take](KTQtEditorWindows& windows) {
            const Ui::KTQtMainWindow& ui = windows.mainUi();
            QTableView* table = ui.tableView_Banks;
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(take))});
            for (const QEvent::Type type : {QEvent::DragEnter, QEvent::Drop}) {
                QDropEvent drop(table->visualRect(table->model()->index(2, 0)).center(), Qt::CopyAction, &data,
                                Qt::LeftButton, Qt::NoModifier, type);
                QApplication::sendEvent(table->viewport(), &drop);
            }
            QApplication::processEvents(); // the drop imports once the drag has ended
            ui.lineEdit_Bankname->setText("Crash");
            ui.lineEdit_Bankname->setModified(true);
            emit ui.lineEdit_Bankname->editingFinished();
        },
        [&folder] { return !recoveryFiles(folder.path("state")).empty(); });
    ASSERT_TRUE(WIFSIGNALED(killed) && WTERMSIG(killed) == SIGKILL) << killed;
    const fs::path left = recoveryFiles(folder.path("state")).at(0);

    bool offered = false;
    const int second = runProgram(
        [&offered](KTQtEditorWindows& windows) {
            auto* answer = new QTimer(windows.mainWindow());
            QObject::connect(answer, &QTimer::timeout, [&offered] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                for (QAbstractButton* button : box ? box->buttons() : QList<QAbstractButton*>())
                    if (box->text() == "Recover Unsaved Changes?" && button->text() == "Recover")
                        offered = true, button->click();
            });
            answer->start(20);
        },
        [&folder, &left, &offered] {
            const std::vector<fs::path> files = recoveryFiles(folder.path("state"));
            return offered && files.size() == 1 && files[0] != left;
        });
    ASSERT_TRUE(WIFSIGNALED(second) && WTERMSIG(second) == SIGKILL) << "the second run ended " << second << " without recovering";

    TLOrvane expected(FactoryImage::samples());
    TLSampleImporter::importInto(expected, 2, take);
    expected.setBankName("Crash", 2);
    TLOrvane recovered(FactoryImage::samples());
    const TLRecoveryFile::Contents contents = TLRecoveryFile::read(recoveryFiles(folder.path("state")).at(0), recovered);
    ASSERT_EQ(contents.report.banks, std::vector<int>{2});
    TLDiskLoader::load(contents.report, recovered);
    EXPECT_EQ(recovered.mSamples[2], expected.mSamples[2]);
    EXPECT_EQ(recovered.mBankNames[2], "Crash");
    EXPECT_EQ(recovered.mSampleNames[2][0], "take.wav");
}
