#include "ControllerFixture.h"

#include "app/platform/qt/KTQtApplicationPlatform.h"
#include "app/platform/qt/KTQtEditorWindows.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "ui_KTQtMainWindow.h"

#include <thread>

// Allocations that system libraries loaded by Qt keep until exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:libfontconfig.so\n"; }

namespace {

// The real Qt layer drawing off screen, its windows wired to a controller that
// runs against the MIDI ports double.
class QtEditor : public ControllerFixture {
protected:
    QtEditor() : mPlatform({{"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "57"}})
    {
        static int argc = 1;
        static char* argv[] = {const_cast<char*>("KTQtEditorWindowsTest"), nullptr};
        if (!qApp) // one application for the whole run, kept to the end
            setenv("QT_QPA_PLATFORM", "offscreen", 0), new QApplication(argc, argv);
        mController = std::make_unique<OrvaneEditorController>(mPlatform, mMidi, mClock, mFactory.data());
        mController->init();
        mWindows = std::make_unique<KTQtEditorWindows>(*mController, mPlatform);
        mController->awakeFromNib();
        mWindows->show();
    }
    void TearDown() override { mWindows.reset(), mController.reset(); }
    const Ui::KTQtMainWindow& ui() const { return mWindows->mainUi(); }
    QString shownName(int row) const { return ui().tableView_Banks->model()->index(row, 0).data().toString(); }
    int shownSelection() const { return ui().tableView_Banks->selectionModel()->selectedRows().value(0).row(); }

    KTQtApplicationPlatform mPlatform;
    std::unique_ptr<KTQtEditorWindows> mWindows;
};

TEST_F(QtEditor, TableShowsTheBanksAndKeepsItsSelectionAndTheFieldsStoreOnlyCommittedEdits)
{
    QTableView* table = ui().tableView_Banks;
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(shownName(row), QStringLiteral("Bank %1").arg(row + 1));
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

} // namespace
