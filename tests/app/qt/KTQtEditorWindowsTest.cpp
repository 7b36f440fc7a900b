// The real Qt layer drawing off screen, its windows wired to a controller that
// runs against the MIDI ports double; and the Qt layer's own parts: waveform
// columns, the save panel's final name, the undo stack and the title's modified
// mark, a drop on a bank row, plain-text alerts and unique mnemonics.

#include "ControllerFixture.h"

#include "app/platform/qt/KTQtApplicationPlatform.h"
#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/KTQtRecordSheet.h"
#include "app/platform/qt/KTQtSavePath.h"
#include "app/platform/qt/KTQtSettings.h"
#include "app/platform/qt/KTQtUndoManager.h"
#include "app/platform/qt/KTQtWaveformView.h"
#include "KTScriptedAudioInput.h"
#include "app/platform/qt/KTQtTableModel.h"
#include "device/TLAudibleSound.h"
#include "device/TLSoundOperations.h"
#include "device/TLRecording.h"
#include "device/TLWaveExport.h"

#include <QApplication>
#include <QDropEvent>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "ui_KTQtMainWindow.h"

#include <fstream>
#include <thread>

// Allocations that system libraries loaded by Qt keep until exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:libfontconfig.so\n"; }

namespace {

// One application for the whole run, kept to the end; the user's settings stay untouched.
void application()
{
    static QTemporaryDir settings;
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("KTQtEditorWindowsTest"), nullptr};
    if (!qApp)
        setenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit().constData(), 1),
            setenv("QT_QPA_PLATFORM", "offscreen", 0), new QApplication(argc, argv);
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

    // Drawn: column x at pixel x, here the sound above the centre line, and the playhead over both.
    QPalette colours;
    colours.setColor(QPalette::Mid, Qt::green), colours.setColor(QPalette::Text, Qt::red);
    colours.setColor(QPalette::Highlight, Qt::blue);
    view.setPalette(colours), view.resize(100, 200);
    for (std::size_t i = 0; i < bank.size() / 2; ++i)
        bank[i] = i % 2 ? 30000 : 10000;
    view.setSamples(bank), view.setPlayhead(bank.size() / 4);
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixelColor(49, 65), QColor(Qt::blue)) << "the sound's last column";
    EXPECT_EQ(image.pixelColor(24, 100), QColor(Qt::green)) << "the centre line";
    EXPECT_EQ(image.pixelColor(25, 30), QColor(Qt::red)) << "the playhead";
}

TEST(QtSavePanel, TheTypeIsAddedBeforeTheReplaceQuestion)
{
    QTemporaryDir folder;
    std::ofstream(folder.filePath("foo.mid").toStdString()) << "old";
    const QString base = folder.path() + '/';
    const struct {
        QString typed, asked;
        bool replace;
        std::optional<QString> path;
    } cases[] = {
        {"foo", "foo.mid", false, std::nullopt},
        {"foo", "foo.mid", true, "foo.mid"},
        {"FOO.MID", "", true, "FOO.MID"},
        {"Drums v1.2", "", false, "Drums v1.2.mid"},
        {"song.midi", "", false, "song.midi"},
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

class QtEditor : public ControllerFixture {
protected:
    QtEditor() : mPlatform({{"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "57"}})
    {
        application();
        mController = std::make_unique<OrvaneEditorController>(mPlatform, mMidi, mClock, mFactory.data());
        mController->init();
        mWindows = std::make_unique<KTQtEditorWindows>(*mController, mPlatform);
        mController->awakeFromNib();
        mWindows->show();
    }
    // Blocks the controller posted run before it goes, never on the next test's.
    void TearDown() override
    {
        QCoreApplication::processEvents();
        mWindows.reset(), mController.reset();
    }
    const Ui::KTQtMainWindow& ui() const { return mWindows->mainUi(); }
    QString shownName(int row) const { return ui().tableView_Banks->model()->index(row, 0).data().toString(); }
    int shownSelection() const { return ui().tableView_Banks->selectionModel()->selectedRows().value(0).row(); }

    KTQtApplicationPlatform mPlatform;
    std::unique_ptr<KTQtEditorWindows> mWindows;
};

TEST_F(QtEditor, TableShowsTheBanksAndKeepsItsSelectionAndTheFieldsStoreOnlyCommittedEdits)
{
    QTableView* table = ui().tableView_Banks;
    for (int row = 0; row < 7; ++row) // each name, and the row's number
        EXPECT_EQ(shownName(row) + table->model()->headerData(row, Qt::Vertical).toString(), QString("Bank %1%1").arg(row + 1));
    EXPECT_EQ(shownSelection(), 0);
    EXPECT_EQ(ui().label_Version->text(), "Version 2.1");
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(3, 0)).center());
    EXPECT_EQ(ui().lineEdit_Bankname->text(), "Bank 4");
    table->selectionModel()->clearSelection();
    EXPECT_EQ(shownSelection(), 3);

    orvane().setBankName("Bad \xFF name", 1);
    mController->mTableView->selectRowIndexesByExtendingSelection(1, false);
    QLineEdit* field = ui().lineEdit_Bankname;
    emit field->editingFinished();
    EXPECT_EQ(orvane().mBankNames[1], "Bad \xFF name") << "an unedited field keeps the stored bytes";
    field->selectAll();
    QTest::keyClicks(field, "Ch");
    field->insert(QString::fromUtf8("\u0153ur")); // typed through an input method
    EXPECT_EQ(orvane().mBankNames[1], "Bad \xFF name") << "nothing is stored before the edit is committed";
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(orvane().mBankNames[1], "Ch\xC5\x93ur");
    EXPECT_EQ(shownName(1), QString::fromUtf8("Chœur"));
    ui().lineEdit_Samplename->selectAll();
    QTest::keyClicks(ui().lineEdit_Samplename, "Breath");
    QTest::keyClick(ui().lineEdit_Samplename, Qt::Key_Return);
    EXPECT_EQ(orvane().mSampleNames[1][0], "Breath");
    // Ctrl+Z undoes the field's typing, then, with none left, the last step.
    QTest::keyClicks(ui().lineEdit_Samplename, "x");
    QTest::keyClick(ui().lineEdit_Samplename, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ui().lineEdit_Samplename->text(), "Breath");
    QTest::keyClick(ui().lineEdit_Samplename, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(orvane().mSampleNames[1][0], "Sample 1 (in Bank 2)");
}

// From the window's minimum size up, no control covers another.
TEST_F(QtEditor, NoWidgetOverlapsAnother)
{
    QMainWindow& window = *mWindows->mainWindow();
    QList<QWidget*> controls;
    for (QWidget* widget : window.findChildren<QWidget*>())
        if (QRegularExpression("^(pushButton|lineEdit|tableView|comboBox|label|radioButton|groupBox)_|^(waveformView|"
                               "bankOverview)$").match(widget->objectName()).hasMatch())
            controls << widget;
    // A window is never made smaller than its minimum size: 1 x 1 gives that.
    for (const QSize size : {QSize(1, 1), QSize(700, 520), QSize(860, 560), QSize(1200, 800)}) {
        window.resize(size);
        QApplication::processEvents();
        for (QWidget* a : controls)
            for (QWidget* b : controls) {
                const QRect left(a->mapTo(&window, QPoint()), a->size()), right(b->mapTo(&window, QPoint()), b->size());
                const bool nested = a == b || a->isAncestorOf(b) || b->isAncestorOf(a);
                EXPECT_TRUE(nested || !a->isVisible() || !b->isVisible() || !left.intersects(right))
                    << a->objectName().toStdString() << " covers " << b->objectName().toStdString() << " at "
                    << window.width() << "x" << window.height();
            }
    }
}

TEST_F(QtEditor, SendFollowsTheDestinationsAndMenusTheIdleStateBeforeAShortcutMatches)
{
    EXPECT_FALSE(ui().pushButton_Send->isEnabled());
    EXPECT_EQ(ui().comboBox_MidiPort->itemText(0), "no output ports detected");
    mMidi.mDestinations = {{"UM-ONE", "UM-ONE MIDI 1"}, {"Orvane", "In"}};
    ui().pushButton_Rescan->click();
    EXPECT_TRUE(ui().pushButton_Send->isEnabled());
    EXPECT_EQ(ui().comboBox_MidiPort->itemText(1), "Orvane: In");

    mController->mIdleState = false;
    QTest::keyClick(ui().tableView_Banks, Qt::Key_O, Qt::ControlModifier);
    EXPECT_FALSE(ui().action_OpenDisk->isEnabled());
    EXPECT_TRUE(ui().action_About->isEnabled());
    mController->mIdleState = true;
    emit ui().menu_File->aboutToShow();
    EXPECT_TRUE(ui().action_OpenDisk->isEnabled());
    QString panel;
    QTimer::singleShot(0, mWindows->mainWindow(), [&panel] {
        if (QWidget* modal = QApplication::activeModalWidget())
            panel = modal->windowTitle(), modal->close();
    });
    ui().action_OpenSample->trigger();
    EXPECT_EQ(panel, "Import Sample into Bank 1");
    ui().action_Send->trigger(); // its transmission is queued, and dropped by the quit
    EXPECT_FALSE(mController->mIdleState);
    mController->mIdleState = true; // the quit is tested on an idle editor

    ui().action_Quit->trigger();
    EXPECT_EQ(mController->mOrvane, nullptr);
    EXPECT_EQ(mMidi.calls("clientDispose").size(), 1u);
    ui().action_Reset->trigger(); // must not reach the destroyed store
}

TEST_F(QtEditor, AlertsShowTheTextsPlainAndExactlyTheGivenButtonsAndAnswerByButton)
{
    struct Case { QMessageBox::Icon icon; const char* alternate; const char* other; QString click; int answer; };
    for (const Case& c : {Case{QMessageBox::Critical, "NO", "", "NO", 0}, Case{QMessageBox::Information, "", "", "", 1},
                          Case{QMessageBox::Critical, "NO", "Later", "Later", -1}}) {
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), c.icon);
            for (QLabel* label : box->findChildren<QLabel*>())
                if (label->textFormat() == Qt::PlainText && !label->text().isEmpty())
                    shown << label->text();
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* button : box->buttons())
                shown << button->text(), chosen = button->text() == c.click ? button : chosen;
            chosen ? chosen->click() : QTest::keyClick(box, Qt::Key_Return);
        });
        const auto run = c.icon == QMessageBox::Critical ? &KTQtApplicationPlatform::runCriticalAlertPanel
                                                         : &KTQtApplicationPlatform::runInformationalAlertPanel;
        EXPECT_EQ((mPlatform.*run)("Different <i>Banks</i>!", "<b>x</b>\nline", "YES", c.alternate, c.other), c.answer);
        QStringList expected{"Different <i>Banks</i>!", "<b>x</b>\nline", "YES", c.alternate, c.other};
        shown.sort(), expected.removeAll(""), expected.sort();
        EXPECT_EQ(shown.join('|').toStdString(), expected.join('|').toStdString());
    }
}

TEST_F(QtEditor, ASheetEndsOnceAndTheMainQueueRunsBlocksFromAnyThreadOnTheMainThreadInOrder)
{
    KTWindow& sheet = *mController->mWindow_Progress;
    KTWindow& main = *mController->mWindow_Main;
    std::vector<KTWindow*> ended;
    mPlatform.beginSheetModalForWindow(sheet, main, [&](KTWindow* window, int, void*) { ended.push_back(window); }, {});
    EXPECT_TRUE(mWindows->progressSheet()->isVisible());
    EXPECT_EQ(mWindows->progressSheet()->windowModality(), Qt::WindowModal);
    mPlatform.endSheet(main); // not the sheet: ends nothing
    mPlatform.endSheet(sheet);
    mPlatform.endSheet(sheet);
    EXPECT_EQ(ended, std::vector<KTWindow*>{&sheet});

    std::vector<int> order;
    std::thread([&] {
        for (int i = 0; i < 5; ++i)
            mPlatform.postToMainQueue([&, i] { order.push_back(QThread::currentThread() == qApp->thread() ? i : -1); });
    }).join();
    EXPECT_TRUE(order.empty()) << "posted blocks run later, from the event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(QtEditor, StepsUndoRedoAndMarkTheTitleUpToTheirLimit)
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
    EXPECT_FALSE(ui().action_Undo->isEnabled());
    ui().action_Redo->trigger();
    EXPECT_EQ(ui().lineEdit_Bankname->text(), "9");
    EXPECT_TRUE(window.isWindowModified());
    // Back to what no disk needs to hold: the mark goes.
    ui().lineEdit_Bankname->setText("Bank 2");
    ui().lineEdit_Bankname->setModified(true);
    emit ui().lineEdit_Bankname->editingFinished();
    EXPECT_FALSE(window.isWindowModified());
}

TEST_F(QtEditor, AudioDroppedOnARowImportsIntoThatBank)
{
    QTemporaryDir folder;
    const QString wav = folder.filePath("drop.wav");
    ASSERT_TRUE(TLWaveExport::write(wav.toStdString(), std::vector<std::int16_t>(500, 1200)));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(wav)});
    QWidget* viewport = ui().tableView_Banks->viewport();
    const QPoint row4 = ui().tableView_Banks->visualRect(ui().tableView_Banks->model()->index(4, 0)).center();
    // No file or two files are refused; a drag onto row 0 is taken.
    QMimeData text, two;
    text.setText(wav), two.setUrls({QUrl::fromLocalFile(wav), QUrl::fromLocalFile(wav)});
    const QPoint row0 = ui().tableView_Banks->visualRect(ui().tableView_Banks->model()->index(0, 0)).center();
    for (const auto& [mime, at, type] : {std::tuple{&text, row4, QEvent::DragEnter}, {&two, row4, QEvent::DragEnter},
                                         {&data, row0, QEvent::DragEnter}, {&data, row0, QEvent::DragMove}}) {
        QDropEvent event(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier, type);
        QApplication::sendEvent(viewport, &event);
        EXPECT_EQ(event.isAccepted(), mime == &data);
    }
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

// Bank > Record... records through the recorder into the selected bank, placed
// as an import is; without a usable input the item says why.
TEST_F(QtEditor, TheRecordSheetRecordsTheInputIntoTheSelectedBank)
{
    KTScriptedAudioInput input;
    KTAudioRecorder recorder(input);
    // 20 levels' worth, 0.40 s; past it the input brings nothing.
    for (std::size_t i = 0; i < 20 * KTAudioRecorder::kLevelFrames; ++i)
        input.mSignal.push_back(static_cast<std::int16_t>(i * 7 - 9000));
    const auto waitFor = [](const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i)
            QTest::qWait(10);
        return done();
    };
    mController->setAudioInput(input, recorder);
    input.mOpenFailure = "no sound card";
    mController->rescan(nullptr);
    mWindows->validateMenuItems();
    EXPECT_FALSE(ui().action_Record->isEnabled());
    EXPECT_EQ(ui().action_Record->toolTip(), "No sound input: ALSA device \"scripted\" could not be opened (no sound card)");
    input.mOpenFailure.clear();
    mController->rescan(nullptr);
    ui().tableView_Banks->selectRow(4);
    mWindows->validateMenuItems();
    ui().action_Record->trigger();
    KTQtRecordSheet& sheet = mWindows->recordSheet();
    ASSERT_TRUE(sheet.isVisible());
    sheet.recordButton().click();
    ASSERT_TRUE(waitFor([&] { return sheet.state().text().startsWith("Recording: 0.40 s"); }));
    sheet.stopButton().click();
    ASSERT_TRUE(waitFor([&] { return !sheet.isVisible(); }));
    TLOrvane expected(mFactory.data());
    TLRecording::store(expected, 4, input.mSignal, 0);
    EXPECT_EQ(orvane().mSamples[4], expected.mSamples[4]);
    EXPECT_TRUE(orvane().mSampleNames[4][0].starts_with("Recording "));
    mWindows->validateMenuItems();
    ui().action_Undo->trigger();
    EXPECT_EQ(orvane().mSamples[4][100], mFactory[4 * TLOrvane::kSamplesPerBank + 100]) << "one step";
    TearDown(); // before the input and the recorder go
}

// Editing by keyboard: a selection made with keys, a fade and a normalise
// (undone each), a copy pasted into another bank, two rows swapped by a drag,
// and redo; each bank against what the core's operations make of it.
TEST_F(QtEditor, EditingBanksByKeyboardAndByDraggingRows)
{
    KTQtWaveformView* view = ui().waveformView;
    ui().tableView_Banks->selectRow(1);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Home);
    for (int column = 0; column < 40; ++column)
        QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    const TLSampleRange chosen = view->selection().value();
    ASSERT_GT(chosen.size(), 0u);
    const auto step = [this](QAction* action, const char* undo, TLSoundOperations::Bank expected) {
        const TLSoundOperations::Bank before = orvane().mSamples[1];
        action->trigger();
        EXPECT_EQ(orvane().mSamples[1], expected) << undo;
        mWindows->validateMenuItems();
        EXPECT_EQ(ui().action_Undo->text(), undo);
        ui().action_Undo->trigger();
        EXPECT_EQ(orvane().mSamples[1], before) << undo;
    };
    TLSoundOperations::Bank faded = orvane().mSamples[1];
    TLSoundOperations::fadeIn(faded, chosen);
    step(ui().action_FadeIn, "&Undo Fade In Bank 2", faded);
    TLSoundOperations::Bank normalised = orvane().mSamples[1];
    TLSoundOperations::normalize(normalised, chosen, -6.0);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        dialog->setDoubleValue(-6.0), dialog->accept();
    });
    step(ui().action_Normalize, "&Undo Normalize Bank 2", normalised);

    ui().action_Copy->trigger();
    ui().tableView_Banks->selectRow(3);
    TLSoundOperations::Bank pasted = orvane().mSamples[3];
    TLSoundOperations::paste(pasted, {0, 0}, TLAudibleSound::samplesOf(orvane().mSamples[1], chosen));
    mWindows->validateMenuItems();
    ui().action_Paste->trigger();
    EXPECT_EQ(orvane().mSamples[3], pasted);

    QTableView* table = ui().tableView_Banks;
    QMimeData row;
    row.setData(KTQtTableModel::kBankMimeType, "3");
    for (const QEvent::Type type : {QEvent::DragEnter, QEvent::Drop}) {
        QDropEvent drop(table->visualRect(table->model()->index(0, 0)).center(), Qt::MoveAction, &row,
                        Qt::LeftButton, Qt::NoModifier, type);
        QApplication::sendEvent(table->viewport(), &drop);
    }
    QApplication::processEvents();
    const std::vector<std::int16_t> first = orvane().mSamples[0];
    EXPECT_EQ(first, pasted);
    mWindows->validateMenuItems();
    EXPECT_EQ(ui().action_Undo->text(), "&Undo Swap Bank 4 and Bank 1");
    ui().action_Undo->trigger();
    EXPECT_EQ(orvane().mSamples[3], pasted);
    mWindows->validateMenuItems();
    ui().action_Redo->trigger();
    EXPECT_EQ(orvane().mSamples[0], pasted);
}

TEST_F(QtEditor, MnemonicsAreUnique)
{
    QStringList texts, keys;
    // The main window's own; its dialogs have mnemonics of their own.
    QMainWindow* window = mWindows->mainWindow();
    for (const QLabel* label : window->findChildren<QLabel*>())
        texts << (label->window() == window ? label->text() : QString());
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        texts << (button->window() == window ? button->text() : QString());
    for (const QAction* menu : ui().menuBar->actions())
        texts << menu->text();
    for (const QString& text : texts)
        if (const QRegularExpressionMatch mnemonic = QRegularExpression("&([^&])").match(text); mnemonic.hasMatch())
            keys << mnemonic.captured(1).toUpper();
    EXPECT_EQ(keys.size(), 17); // 5 menus, 6 buttons, 2 radio buttons, 4 field labels
    EXPECT_EQ(keys.removeDuplicates(), 0) << texts.join(", ").toStdString();
}

} // namespace

TEST_F(QtEditor, ResamplingChannelAndRecentDisksAreRememberedForTheNextWindow)
{
    for (const char* path : {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "f"})
        mPlatform.noteRecentDocument(path);
    EXPECT_EQ(KTQtSettings::recentDisks().join(""), "fkjihgedcb") << "the last first, each once, ten at most";
    ui().radioButton_AllBanks->click();
    EXPECT_EQ(mController->mMatrix_SaveSendOption->selectedRow(), 1) << "all banks";
    ui().action_HighQualityResampling->trigger();
    ui().comboBox_MidiChannel->setCurrentIndex(9);
    emit ui().comboBox_MidiChannel->activated(9);
    EXPECT_TRUE(mController->highQualityResampling());
    mWindows.reset();
    mWindows = std::make_unique<KTQtEditorWindows>(*mController, mPlatform);
    EXPECT_TRUE(ui().action_HighQualityResampling->isChecked());
    EXPECT_TRUE(ui().radioButton_AllBanks->isChecked());
    EXPECT_EQ(ui().comboBox_MidiChannel->currentIndex(), 9);
    ui().action_HighQualityResampling->trigger();
    EXPECT_FALSE(mController->highQualityResampling());
    EXPECT_FALSE(ui().action_HighQualityResampling->isChecked());
}
