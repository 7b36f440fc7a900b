// On a virtual X server: a WAV dropped on a bank row, undone and redone, the
// window photographed with its waveform, and Quit asking about the change.

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"
#include "device/TLWaveExport.h"
#include "ui_KTQtMainWindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Presses the button titled `title` on the next message box.
void answerNextMessageBox(const QString& title, QString& question)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, title, &question] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->deleteLater();
        question = box->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == title)
                button->click();
    });
    poll->start(20);
}

void drive(KTQtEditorWindows& windows, const QString& wav, QString& question)
{
    const Ui::KTQtMainWindow& ui = windows.mainUi();
    QTableView* table = ui.tableView_Banks;
    const QPoint row = table->visualRect(table->model()->index(2, 0)).center();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(wav)});
    for (const QEvent::Type type : {QEvent::DragEnter, QEvent::DragMove, QEvent::Drop}) {
        QDropEvent event(row, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier, type);
        QApplication::sendEvent(table->viewport(), &event);
    }
    QApplication::processEvents();
    EXPECT_EQ(ui.lineEdit_Samplename->text(), "sine.wav");
    windows.validateMenuItems();
    ui.action_Undo->trigger();
    EXPECT_NE(ui.lineEdit_Samplename->text(), "sine.wav");
    windows.validateMenuItems();
    ui.action_Redo->trigger();
    EXPECT_EQ(ui.lineEdit_Samplename->text(), "sine.wav");
    EXPECT_TRUE(windows.mainWindow()->isWindowModified());

    QApplication::processEvents();
    EXPECT_TRUE(windows.mainWindow()->grab().save(ORVANE_BINARY_DIR "/waveform-window.png"));
    answerNextMessageBox("Discard", question);
    windows.requestTermination();
}

TEST(WorkflowsOnTheDesktop, DropUndoRedoAndQuitAskingAboutTheChange)
{
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath("config").toLocal8Bit());
    // A second and a half of a decaying 220 Hz tone.
    std::vector<std::int16_t> sine(66150);
    for (std::size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<std::int16_t>(24000 * std::exp(-2.0 * i / 44100.0) * std::sin(2 * M_PI * 220 * i / 44100.0));
    const QString wav = folder.filePath("sine.wav");
    ASSERT_TRUE(TLWaveExport::write(wav.toStdString(), sine));

    char name[] = "OrvaneEditor";
    char* argv[] = {name, nullptr};
    int argc = 1;
    QString question;
    const int result = OrvaneApplicationMain(argc, argv, [&](KTQtEditorWindows& windows) {
        windows.mainWindow()->resize(1000, 640);
        QTimer::singleShot(0, windows.mainWindow(), [&] { drive(windows, wav, question); });
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(question, "Unsaved Changes");
}

} // namespace
