// The Qt layer's own parts of the editor as a document, off screen: waveform
// columns, the undo stack and the title's modified mark, a drop on a bank row,
// the save panel's final name, plain-text alerts and unique mnemonics.

#include "ControllerFixture.h"
#include "app/platform/qt/KTQtApplicationPlatform.h"
#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/KTQtSavePath.h"
#include "app/platform/qt/KTQtUndoManager.h"
#include "app/platform/qt/KTQtWaveformView.h"
#include "device/TLWaveExport.h"
#include "ui_KTQtMainWindow.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <fstream>

namespace {

QApplication& application()
{
    static QTemporaryDir settings; // the user's settings stay untouched
    setenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit().constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "KTQtDocumentTest";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

using Column = KTQtWaveformView::Column;

TEST(QtWaveform, KnownSamplesGiveKnownColumns)
{
    const struct {
        std::vector<std::int16_t> samples;
        int width;
        std::vector<Column> columns;
    } cases[] = {
        {{1, -2, 3, -4, 5, -6, 7, -8}, 4, {{-2, 1}, {-4, 3}, {-6, 5}, {-8, 7}}},
        {{1, -2, 3, -4, 5, -6, 7, -8}, 3, {{-2, 1}, {-4, 5}, {-8, 7}}},
        {{100, -100}, 4, {{100, 100}, {100, 100}, {-100, -100}, {-100, -100}}},
        {{}, 2, {{0, 0}, {0, 0}}},
        {{32767, -32768}, 0, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KTQtWaveformView::columns(c.samples, c.width), c.columns) << c.width;
    application();
    KTQtWaveformView view;
    std::vector<std::int16_t> bank(TLOrvane::kSamplesPerBank, 0);
    bank[29999] = -1;
    view.setSamples(bank);
    EXPECT_EQ(view.lengthText(), "30,000 samples, 0.68 s");
    view.setSamples(std::vector<std::int16_t>(10, 0));
    EXPECT_EQ(view.lengthText(), "Silent");
}

TEST(QtSavePanel, TheTypeIsAddedBeforeTheReplaceQuestion)
{
    QTemporaryDir folder;
    std::ofstream(folder.filePath("foo.mid").toStdString()) << "old";
    const QString base = folder.path() + '/';
    const struct {
        QString typed;
        bool replace;
        QString asked;
        std::optional<QString> path;
    } cases[] = {
        {"foo", false, "foo.mid", std::nullopt},
        {"foo", true, "foo.mid", "foo.mid"},
        {"FOO.MID", true, "", "FOO.MID"},
        {"Drums v1.2", false, "", "Drums v1.2.mid"},
        {"song.midi", false, "", "song.midi"},
    };
    for (const auto& c : cases) {
        QString asked;
        const auto path = KTQtSavePath::confirmed(base + c.typed, {"mid", "midi"}, [&](const QString& existing) {
            asked = existing.mid(base.size());
            return c.replace;
        });
        EXPECT_EQ(asked, c.asked) << c.typed.toStdString();
        EXPECT_EQ(path, c.path ? std::optional(base + *c.path) : std::nullopt) << c.typed.toStdString();
    }
}

class QtDocument : public ControllerFixture {
protected:
    QtDocument() : mPlatform({}) { application(); }
    void SetUp() override
    {
        mController = std::make_unique<OrvaneEditorController>(mPlatform, mMidi, mClock, mFactory.data());
        mController->init();
        mWindows = std::make_unique<KTQtEditorWindows>(*mController, mPlatform);
        mController->awakeFromNib();
        mWindows->show();
    }
    void TearDown() override
    {
        mWindows.reset();
        mController.reset();
    }
    const Ui::KTQtMainWindow& ui() const { return mWindows->mainUi(); }

    KTQtApplicationPlatform mPlatform;
    std::unique_ptr<KTQtEditorWindows> mWindows;
};

TEST_F(QtDocument, StepsUndoRedoAndMarkTheTitleUpToTheirLimit)
{
    QMainWindow& window = *mWindows->mainWindow();
    EXPECT_EQ(window.windowTitle(), "Untitled[*]");
    EXPECT_FALSE(window.isWindowModified());
    ui().tableView_Banks->selectRow(1);
    for (int step = 1; step <= 40; ++step) {
        ui().lineEdit_Bankname->setText(QString::number(step));
        ui().lineEdit_Bankname->setModified(true);
        emit ui().lineEdit_Bankname->editingFinished();
    }
    EXPECT_TRUE(window.isWindowModified());
    QUndoStack& stack = mWindows->undoManager().stack();
    EXPECT_EQ(stack.count(), KTQtUndoManager::kSteps);
    mWindows->validateMenuItems();
    EXPECT_EQ(ui().action_Undo->text(), "&Undo Rename Bank");
    for (int undone = 0; undone < 40; ++undone)
        ui().action_Undo->trigger();
    EXPECT_EQ(orvane().mBankNames[1], "8") << "the oldest steps are gone";
    mWindows->validateMenuItems();
    ui().action_Redo->trigger();
    EXPECT_EQ(ui().lineEdit_Bankname->text(), "9");
    mController->mUndoManager->markSaved();
    EXPECT_FALSE(window.isWindowModified());
}

TEST_F(QtDocument, AudioDroppedOnARowImportsIntoThatBank)
{
    QTemporaryDir folder;
    const QString wav = folder.filePath("drop.wav");
    ASSERT_TRUE(TLWaveExport::write(wav.toStdString(), std::vector<std::int16_t>(500, 1200)));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(wav)});
    QWidget* viewport = ui().tableView_Banks->viewport();
    const QPoint row4 = ui().tableView_Banks->visualRect(ui().tableView_Banks->model()->index(4, 0)).center();
    for (const QEvent::Type type : {QEvent::DragEnter, QEvent::Drop}) {
        QDropEvent event(row4, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier, type);
        QApplication::sendEvent(viewport, &event);
        EXPECT_TRUE(event.isAccepted());
    }
    QApplication::processEvents();
    EXPECT_EQ(orvane().mSampleNames[4][0], "drop.wav");
    EXPECT_EQ(orvane().mSamples[4][100], 1200);
    EXPECT_EQ(ui().tableView_Banks->currentIndex().row(), 4);
    EXPECT_TRUE(mWindows->mainWindow()->isWindowModified());
}

TEST_F(QtDocument, AlertsShowNamesAsPlainTextAndMnemonicsAreUnique)
{
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        auto* label = box->findChild<QLabel*>("qt_msgbox_informativelabel");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        shown = label->text();
        box->done(0);
    });
    mPlatform.runCriticalAlertPanel("Different Banks!", "bank: \"<Kick>\" <b>x</b>\nnext", "YES", "NO", "");
    EXPECT_EQ(shown, "bank: \"<Kick>\" <b>x</b>\nnext");

    QStringList texts;
    for (const QLabel* label : mWindows->mainWindow()->findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : mWindows->mainWindow()->findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QAction* menu : ui().menuBar->actions())
        texts << menu->text();
    QStringList keys;
    for (const QString& text : texts) {
        const QRegularExpressionMatch mnemonic = QRegularExpression("&([^&])").match(text);
        if (mnemonic.hasMatch())
            keys << mnemonic.captured(1).toUpper();
    }
    EXPECT_EQ(keys.size(), 17); // 5 menus, 6 buttons, 2 radio buttons, 4 field labels
    EXPECT_EQ(keys.removeDuplicates(), 0) << texts.join(", ").toStdString();
}

} // namespace
