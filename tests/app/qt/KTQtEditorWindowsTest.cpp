#include "ControllerFixture.h"

#include "app/platform/qt/KTQtApplicationPlatform.h"
#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/KTQtWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "ui_KTQtMainWindow.h"

#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

// Allocations that system libraries loaded by Qt keep until exit.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}

namespace {

// One application for the whole run, drawing off screen.
QApplication& application()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "KTQtEditorWindowsTest";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The real Qt windows wired to a controller that runs against the MIDI ports
// double.
class QtEditor : public ControllerFixture {
protected:
    QtEditor() : mPlatform({{"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "57"}}) { application(); }

    void startQt()
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
    QString shownName(int row) const
    {
        const QAbstractItemModel* model = ui().tableView_Banks->model();
        return model->data(model->index(row, 0), Qt::DisplayRole).toString();
    }

    KTQtApplicationPlatform mPlatform;
    std::unique_ptr<KTQtEditorWindows> mWindows;
};

TEST_F(QtEditor, TableShowsTheBankNamesAndAClickFillsTheFields)
{
    startQt();
    ASSERT_EQ(ui().tableView_Banks->model()->rowCount(), 7);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(shownName(row), QStringLiteral("Bank %1").arg(row + 1));
    EXPECT_EQ(ui().tableView_Banks->selectionModel()->selectedRows().value(0).row(), 0);
    EXPECT_EQ(ui().lineEdit_Bankname->text(), "Bank 1");
    EXPECT_EQ(ui().lineEdit_Samplename->text(), QString::fromStdString(orvane().mSampleNames[0][0]));
    EXPECT_EQ(ui().label_Version->text(), "Version 2.1");

    QTableView* table = ui().tableView_Banks;
    const QRect cell = table->visualRect(table->model()->index(3, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(mController->mTableView->selectedRow(), 3);
    EXPECT_EQ(ui().lineEdit_Bankname->text(), "Bank 4");
}

TEST_F(QtEditor, CommittingAnEditRenamesTheBankInTheTable)
{
    startQt();
    mController->mTableView->selectRowIndexesByExtendingSelection(2, false);
    QLineEdit* field = ui().lineEdit_Bankname;
    field->selectAll();
    QTest::keyClicks(field, "Ch");
    field->insert(QString::fromUtf8("\u0153")); // typed through an input method
    QTest::keyClicks(field, "ur");
    EXPECT_EQ(orvane().mBankNames[2], "Bank 3") << "nothing is stored before the edit is committed";
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(orvane().mBankNames[2], "Ch\xC5\x93ur");
    EXPECT_EQ(shownName(2), QString::fromUtf8("Chœur"));

    QLineEdit* sample = ui().lineEdit_Samplename;
    sample->selectAll();
    QTest::keyClicks(sample, "Breath");
    QTest::keyClick(sample, Qt::Key_Return);
    EXPECT_EQ(orvane().mSampleNames[2][0], "Breath");
    EXPECT_EQ(shownName(2), QString::fromUtf8("Chœur"));
}

TEST_F(QtEditor, TheTableKeepsItsSelectionAndAnUneditedFieldTheStoredBytes)
{
    startQt();
    orvane().setBankName("Bad \xFF name", 1);
    mController->mTableView->selectRowIndexesByExtendingSelection(1, false);
    emit ui().lineEdit_Bankname->editingFinished();
    EXPECT_EQ(orvane().mBankNames[1], "Bad \xFF name");

    ui().tableView_Banks->selectionModel()->clearSelection();
    EXPECT_EQ(ui().tableView_Banks->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_EQ(mController->mTableView->selectedRow(), 1);
}

TEST_F(QtEditor, SendButtonFollowsTheDestinations)
{
    startQt();
    EXPECT_FALSE(ui().pushButton_Send->isEnabled());
    ASSERT_EQ(ui().comboBox_MidiPort->count(), 1);
    EXPECT_EQ(ui().comboBox_MidiPort->itemText(0), "no output ports detected");

    mMidi.mDestinations = {{"UM-ONE", "UM-ONE MIDI 1"}, {"Orvane", "In"}};
    ui().pushButton_Rescan->click();
    EXPECT_TRUE(ui().pushButton_Send->isEnabled());
    ASSERT_EQ(ui().comboBox_MidiPort->count(), 2);
    EXPECT_EQ(ui().comboBox_MidiPort->itemText(1), "Orvane: In");
    EXPECT_EQ(ui().comboBox_MidiPort->currentIndex(), 0);
}

TEST_F(QtEditor, MenuCommandsAreDisabledWhileTransmittingBeforeTheShortcutIsMatched)
{
    mMidi.mDestinations = {{"UM-ONE", "UM-ONE MIDI 1"}};
    startQt();
    mWindows->validateMenuItems();
    ASSERT_TRUE(ui().action_OpenDisk->isEnabled());
    ASSERT_TRUE(ui().action_Send->isEnabled());

    mController->mIdleState = false;
    QTest::keyClick(ui().tableView_Banks, Qt::Key_O, Qt::ControlModifier);
    EXPECT_FALSE(ui().action_OpenDisk->isEnabled());
    EXPECT_FALSE(ui().action_OpenSample->isEnabled());
    EXPECT_FALSE(ui().action_Save->isEnabled());
    EXPECT_FALSE(ui().action_Reset->isEnabled());
    EXPECT_FALSE(ui().action_Send->isEnabled());
    EXPECT_TRUE(ui().action_About->isEnabled());
    EXPECT_TRUE(ui().action_Rescan->isEnabled());
    EXPECT_TRUE(ui().action_Quit->isEnabled());

    mController->mIdleState = true;
    emit ui().menu_File->aboutToShow();
    EXPECT_TRUE(ui().action_OpenDisk->isEnabled());
}

TEST_F(QtEditor, QuitAsksTheControllerAndIgnoresLaterActions)
{
    startQt();
    ui().action_Quit->trigger();
    EXPECT_TRUE(mWindows->terminated());
    EXPECT_EQ(mController->mOrvane, nullptr);
    EXPECT_EQ(mMidi.mClientDisposals, 1);
    ui().action_Reset->trigger(); // must not reach the destroyed store
    QCoreApplication::processEvents();
}

class QtPlatform : public ::testing::Test {
protected:
    QtPlatform() : mPlatform(std::map<std::string, std::string>{}) { application(); }

    KTQtApplicationPlatform mPlatform;
};

TEST_F(QtPlatform, AlertShowsExactlyTheGivenButtonsAndAnswersByButton)
{
    QStringList titles;
    QTimer::singleShot(0, [&titles] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), "Different Banks!");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        for (QAbstractButton* button : box->buttons())
            titles << button->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == "NO")
                button->click();
    });
    EXPECT_EQ(mPlatform.runCriticalAlertPanel("Different Banks!", "message", "YES", "NO", ""), 0);
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"NO", "YES"}));

    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(mPlatform.runInformationalAlertPanel("MIDI Environment did change!", "", "OK", "", ""), 1);
}

TEST_F(QtPlatform, EndingASheetCallsItsDidEndOnce)
{
    QMainWindow main;
    QDialog dialog(&main);
    KTQtWindow mainWindow(&main);
    KTQtWindow sheet(&dialog);
    main.show();
    int calls = 0;
    KTWindow* endedSheet = nullptr;
    mPlatform.beginSheetModalForWindow(sheet, mainWindow, [&](KTWindow* ended, int, void*) {
        ++calls;
        endedSheet = ended;
    }, nullptr);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
    EXPECT_TRUE(mPlatform.hasSheet());
    mPlatform.endSheet(mainWindow);
    EXPECT_EQ(calls, 0) << "a window that is not the sheet ends nothing";
    mPlatform.endSheet(sheet);
    mPlatform.endSheet(sheet);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(endedSheet, &sheet);
    EXPECT_FALSE(mPlatform.hasSheet());
}

TEST_F(QtPlatform, MainQueueRunsBlocksFromAnyThreadOnTheMainThreadInOrder)
{
    std::vector<int> order;
    std::vector<bool> onMain;
    std::thread poster([&] {
        for (int i = 0; i < 5; ++i)
            mPlatform.postToMainQueue([&, i] {
                order.push_back(i);
                onMain.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
            });
    });
    poster.join();
    EXPECT_TRUE(order.empty()) << "posted blocks run later, from the event loop";
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(onMain, std::vector<bool>(5, true));
}

} // namespace
