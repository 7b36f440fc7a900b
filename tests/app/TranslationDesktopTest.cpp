// The real program on a virtual X server in German: started with LANGUAGE=de,
// its menus, the file dialog's title and the alert for a file without banks
// speak German; LANGUAGE=en:de keeps English.

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"
#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include "ui_KTQtMainWindow.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct Seen {
    std::vector<std::string> menus;
    std::string panelTitle, alertTitle, alertMessage;
};

// Starts the program in the given languages, chooses Open Disk, answers the
// file dialog with path and records the menus, the dialog and the alert.
Seen runIn(const char* languages, const std::string& path)
{
    qputenv("LANGUAGE", languages);
    qputenv("LC_ALL", "");
    qputenv("LC_MESSAGES", "");
    qputenv("LANG", "C.UTF-8");
    Seen seen;
    char name[] = "OrvaneEditor";
    char* argv[] = {name, nullptr};
    int argc = 1;
    const int result = OrvaneApplicationMain(argc, argv, [&](KTQtEditorWindows& windows) {
        for (const QAction* menu : windows.mainWindow()->menuBar()->actions())
            seen.menus.push_back(menu->text().toStdString());
        auto* poll = new QTimer(windows.mainWindow());
        QObject::connect(poll, &QTimer::timeout, [&seen, &windows, path] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen.alertTitle = box->text().toStdString();
                seen.alertMessage = box->informativeText().toStdString();
                box->done(0);
                QTimer::singleShot(0, windows.mainWindow(), [&windows] { windows.requestTermination(); });
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                seen.panelTitle = dialog->windowTitle().toStdString();
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(path));
                static_cast<QDialog*>(dialog)->accept();
            }
        });
        poll->start(20);
        QTimer::singleShot(0, windows.mainWindow(), [&windows] { windows.mainUi().pushButton_OpenDisk->click(); });
    });
    EXPECT_EQ(result, 0);
    return seen;
}

// A file that is no disk, in a folder of its own for the run.
class TranslationOnTheDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("XDG_CONFIG_HOME", mFolder.path("config").c_str());
        qputenv("XDG_STATE_HOME", mFolder.path("state").c_str());
        std::ofstream(mNotADisk) << "not a disk";
    }
    TestFolder mFolder;
    const std::string mNotADisk = mFolder.path("notes.mid");
};

TEST_F(TranslationOnTheDesktop, GermanWindowWithLanguageDe)
{
    const Seen german = runIn("de", mNotADisk);
    ASSERT_GE(german.menus.size(), 2u);
    EXPECT_EQ(german.menus[0], "&Datei");
    EXPECT_EQ(german.menus[1], "&Bearbeiten");
    EXPECT_EQ(german.panelTitle, "Disk öffnen");
    EXPECT_EQ(german.alertTitle, "Falsches Dateiformat");
    EXPECT_EQ(german.alertMessage, "Diese Datei enthält keine Sound-Bank(s)\nfür ein Tavel Orvane.");
}

TEST_F(TranslationOnTheDesktop, EnglishFirstKeepsTheEnglishTexts)
{
    const Seen english = runIn("en:de", mNotADisk);
    ASSERT_GE(english.menus.size(), 2u);
    EXPECT_EQ(english.menus[0], "&File");
    EXPECT_EQ(english.panelTitle, "Open Disk");
    EXPECT_EQ(english.alertTitle, "Wrong File Format");
    EXPECT_EQ(english.alertMessage, "This file contains no sound bank(s)\nfor a Tavel Orvane.");
}

} // namespace
