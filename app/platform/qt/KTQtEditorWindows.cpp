#include "app/platform/qt/KTQtEditorWindows.h"

#include "app/OrvaneEditorController.h"
#include "app/platform/qt/KTQtApplicationPlatform.h"
#include "app/platform/qt/KTQtBankOverview.h"
#include "app/platform/qt/KTQtButton.h"
#include "app/platform/qt/KTQtDropTarget.h"
#include "app/platform/qt/KTQtLabel.h"
#include "app/platform/qt/KTQtMatrix.h"
#include "app/platform/qt/KTQtMenuItem.h"
#include "app/platform/qt/KTQtPopUpButton.h"
#include "app/platform/qt/KTQtSettings.h"
#include "app/platform/qt/KTQtProgressIndicator.h"
#include "app/platform/qt/KTQtRecordSheet.h"
#include "app/platform/qt/KTQtTableView.h"
#include "app/platform/qt/KTQtTextField.h"
#include "app/platform/qt/KTQtUndoManager.h"
#include "app/platform/qt/KTQtWaveformView.h"
#include "app/platform/qt/KTQtWindow.h"
#include "ui_KTQtAboutWindow.h"
#include "ui_KTQtMainWindow.h"
#include "ui_KTQtProgressSheet.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QHeaderView>
#include <QMainWindow>
#include <QShortcut>
#include <QStatusBar>

KTQtEditorWindows::KTQtEditorWindows(OrvaneEditorController& controller, KTQtApplicationPlatform& application)
    : mController(controller)
    , mApplication(application)
    , mMainUi(std::make_unique<Ui::KTQtMainWindow>())
    , mProgressUi(std::make_unique<Ui::KTQtProgressSheet>())
    , mAboutUi(std::make_unique<Ui::KTQtAboutWindow>())
    , mMainWindow(std::make_unique<QMainWindow>())
    , mProgressSheet(new QDialog(mMainWindow.get()))
    , mAboutWindow(new QDialog(mMainWindow.get()))
    , mRecordSheet(new KTQtRecordSheet(mMainWindow.get()))
    , mUndoManager(std::make_unique<KTQtUndoManager>())
{
    mMainUi->setupUi(mMainWindow.get());
    mProgressUi->setupUi(mProgressSheet);
    mAboutUi->setupUi(mAboutWindow);
    mApplication.setMainWindow(mMainWindow.get());

    mScopeGroup = new QButtonGroup(mMainWindow.get());
    mScopeGroup->addButton(mMainUi->radioButton_SelectedBank, 0);
    mScopeGroup->addButton(mMainUi->radioButton_AllBanks, 1);

    createOutlets();
    connectActions();
    connectEditMenu();
    restoreSettings();
    new KTQtDropTarget(mController, mMainWindow.get(), mMainUi->tableView_Banks, [this] { return !mTerminated; });

    QTableView* table = mMainUi->tableView_Banks;
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A bank clicked in the overview is selected as in the table; the
    // overview's rows follow the table's.
    connect(mMainUi->bankOverview, &KTQtBankOverview::bankClicked, table,
            [table](int bank) { table->selectRow(bank); });
    table->installEventFilter(this);
    table->setDragEnabled(true);
    table->setDragDropMode(QAbstractItemView::DragDrop);
    table->setDefaultDropAction(Qt::MoveAction);

    mMainWindow->installEventFilter(this);
    qApp->installEventFilter(this);
}

KTQtEditorWindows::~KTQtEditorWindows()
{
    qApp->removeEventFilter(this);
    mApplication.setMainWindow(nullptr);
    // The controller outlives the windows; it must not reach widgets that are gone.
    mController.mButton_Cancel = nullptr;
    mController.mButton_OpenDisk = nullptr;
    mController.mButton_OpenSample = nullptr;
    mController.mButton_Play = nullptr;
    mController.mButton_Reset = nullptr;
    mController.mButton_Save = nullptr;
    mController.mButton_Send = nullptr;
    mController.mLabel_ProgressStatus = nullptr;
    mController.mLabel_VersionString_AboutWindow = nullptr;
    mController.mLabel_VersionString_MainWindow = nullptr;
    mController.mMatrix_SaveSendOption = nullptr;
    mController.mPopUp_MidiChannel = nullptr;
    mController.mPopUp_MidiPort = nullptr;
    mController.mProgressIndicator = nullptr;
    mController.mTableView = nullptr;
    mController.mTextField_Bankname = nullptr;
    mController.mTextField_Sample = nullptr;
    mController.mWindow_About = nullptr;
    mController.mWindow_Main = nullptr;
    mController.mWindow_Progress = nullptr;
    mController.mLabel_Status = nullptr;
    mController.mUndoManager = nullptr;
    mController.mWaveformView = nullptr;
    mController.mBankOverview = nullptr;
    mController.mMenuItem_Record = nullptr;
    mController.mRecordSheet = nullptr;
}

void KTQtEditorWindows::createOutlets()
{
    const Ui::KTQtMainWindow& ui = *mMainUi;
    mButton_Cancel = std::make_unique<KTQtButton>(mProgressUi->pushButton_Cancel);
    mButton_OpenDisk = std::make_unique<KTQtButton>(ui.pushButton_OpenDisk);
    mButton_OpenSample = std::make_unique<KTQtButton>(ui.pushButton_OpenSample);
    mButton_Play = std::make_unique<KTQtButton>(ui.pushButton_Play);
    mButton_Reset = std::make_unique<KTQtButton>(ui.pushButton_Reset);
    mButton_Save = std::make_unique<KTQtButton>(ui.pushButton_Save);
    mButton_Send = std::make_unique<KTQtButton>(ui.pushButton_Send);
    mLabel_ProgressStatus = std::make_unique<KTQtLabel>(mProgressUi->label_ProgressStatus);
    mLabel_VersionString_AboutWindow = std::make_unique<KTQtLabel>(mAboutUi->label_VersionString);
    mLabel_VersionString_MainWindow = std::make_unique<KTQtLabel>(ui.label_Version);
    mMatrix_SaveSendOption = std::make_unique<KTQtMatrix>(mScopeGroup);
    mPopUp_MidiChannel = std::make_unique<KTQtPopUpButton>(ui.comboBox_MidiChannel);
    mPopUp_MidiPort = std::make_unique<KTQtPopUpButton>(ui.comboBox_MidiPort);
    mProgressIndicator = std::make_unique<KTQtProgressIndicator>(mProgressUi->progressBar);
    mTableView = std::make_unique<KTQtTableView>(ui.tableView_Banks, mController);
    mTextField_Bankname = std::make_unique<KTQtTextField>(ui.lineEdit_Bankname);
    mTextField_Sample = std::make_unique<KTQtTextField>(ui.lineEdit_Samplename);
    mWindow_About = std::make_unique<KTQtWindow>(mAboutWindow);
    mWindow_Main = std::make_unique<KTQtWindow>(mMainWindow.get());
    mWindow_Progress = std::make_unique<KTQtWindow>(mProgressSheet);

    mController.mButton_Cancel = mButton_Cancel.get();
    mController.mButton_OpenDisk = mButton_OpenDisk.get();
    mController.mButton_OpenSample = mButton_OpenSample.get();
    mController.mButton_Play = mButton_Play.get();
    mController.mButton_Reset = mButton_Reset.get();
    mController.mButton_Save = mButton_Save.get();
    mController.mButton_Send = mButton_Send.get();
    mController.mLabel_ProgressStatus = mLabel_ProgressStatus.get();
    mController.mLabel_VersionString_AboutWindow = mLabel_VersionString_AboutWindow.get();
    mController.mLabel_VersionString_MainWindow = mLabel_VersionString_MainWindow.get();
    mController.mMatrix_SaveSendOption = mMatrix_SaveSendOption.get();
    mController.mPopUp_MidiChannel = mPopUp_MidiChannel.get();
    mController.mPopUp_MidiPort = mPopUp_MidiPort.get();
    mController.mProgressIndicator = mProgressIndicator.get();
    mController.mTableView = mTableView.get();
    mController.mTextField_Bankname = mTextField_Bankname.get();
    mController.mTextField_Sample = mTextField_Sample.get();
    mController.mWindow_About = mWindow_About.get();
    mController.mWindow_Main = mWindow_Main.get();
    mController.mWindow_Progress = mWindow_Progress.get();

    auto* status = new QLabel(mMainWindow.get());
    status->setTextFormat(Qt::PlainText);
    mMainWindow->statusBar()->addWidget(status, 1);
    mLabel_Status = std::make_unique<KTQtLabel>(status);
    mController.mLabel_Status = mLabel_Status.get();
    mController.mUndoManager = mUndoManager.get();
    mController.mWaveformView = ui.waveformView;
    mController.mBankOverview = ui.bankOverview;
    mMenuItem_Record = std::make_unique<KTQtMenuItem>(ui.action_Record);
    mController.mMenuItem_Record = mMenuItem_Record.get();
    mController.mRecordSheet = mRecordSheet;
}

void KTQtEditorWindows::connectActions()
{
    const Ui::KTQtMainWindow& ui = *mMainUi;
    using C = OrvaneEditorController;
    const std::pair<QAbstractButton*, void (C::*)(void*)> buttons[] = {
        {ui.pushButton_OpenDisk, &C::openDisk}, {ui.pushButton_OpenSample, &C::openSample},
        {ui.pushButton_Save, &C::save},         {ui.pushButton_Reset, &C::reset},
        {ui.pushButton_Send, &C::send},         {ui.pushButton_Rescan, &C::rescan},
        {ui.pushButton_Play, &C::play},         {mProgressUi->pushButton_Cancel, &C::cancel},
    };
    for (const auto& [button, action] : buttons)
        connect(button, &QAbstractButton::clicked, this, [this, action = action] { perform(action); });

    connectAction(ui.action_OpenDisk, &C::openDisk);
    connectAction(ui.action_OpenSample, &C::openSample);
    connectAction(ui.action_Record, &C::record);
    connectAction(ui.action_ImportRegion, &C::importRegion);
    connectEditing();
    connectAction(ui.action_Save, &C::save);
    connectAction(ui.action_SaveDocument, &C::saveDocument);
    connectAction(ui.action_ExportWave, &C::exportBankAsWave);
    connectAction(ui.action_Reset, &C::reset);
    connectAction(ui.action_Send, &C::send);
    connectAction(ui.action_Rescan, &C::rescan);
    connect(ui.action_HighQualityResampling, &QAction::triggered, this, [this] {
        perform(&C::toggleHighQualityResampling);
        mMainUi->action_HighQualityResampling->setChecked(mController.highQualityResampling());
    });
    connectAction(ui.action_About, &C::orderFrontAboutWindow);
    connect(ui.action_Quit, &QAction::triggered, this, [this] { requestTermination(); });

    // Space plays or stops anywhere in the window but in the name fields, which
    // take it as text. Not the button's own shortcut: a new title resets that.
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), mMainWindow.get());
    connect(space, &QShortcut::activated, this, [this] { perform(&C::play); });

    connectNameField(ui.lineEdit_Bankname, &C::textfiledBanknameDidChange);
    connectNameField(ui.lineEdit_Samplename, &C::textfieldSamplenameDidChange);

    // Escape or the window's close button on the sheet mean Cancel.
    connect(mProgressSheet, &QDialog::rejected, this, [this] { perform(&C::cancel); });

    connect(ui.comboBox_MidiPort, &QComboBox::activated, this, [this] { perform(&C::midiPortDidChange); });
    addTransferSpeedMenu();
    connect(ui.menu_OpenRecent, &QMenu::aboutToShow, this, [this] { fillRecentDisks(); });

    for (QMenu* menu : {ui.menu_File, ui.menu_Edit, ui.menu_Bank, ui.menu_Process, ui.menu_Midi, ui.menu_Help})
        connect(menu, &QMenu::aboutToShow, this, [this] { validateMenuItems(); });
}

// The waveform's selection, the clipboard, the sound operations and the bank
// table's drags.
void KTQtEditorWindows::connectEditing()
{
    const Ui::KTQtMainWindow& ui = *mMainUi;
    using C = OrvaneEditorController;
    const std::pair<QAction*, void (C::*)(void*)> actions[] = {
        {ui.action_Cut, &C::cut},           {ui.action_Copy, &C::copy},         {ui.action_Paste, &C::paste},
        {ui.action_Delete, &C::deleteSelection}, {ui.action_CopyBank, &C::copyBank}, {ui.action_PasteBank, &C::pasteBank},
        {ui.action_Crop, &C::crop},         {ui.action_Silence, &C::silence},   {ui.action_Gain, &C::gain},
        {ui.action_Normalize, &C::normalize}, {ui.action_FadeIn, &C::fadeIn},  {ui.action_FadeOut, &C::fadeOut},
        {ui.action_Reverse, &C::reverse},   {ui.action_RemoveDc, &C::removeDcOffset},
        {ui.action_TrimSilence, &C::trimSilence},
    };
    for (const auto& [action, perform] : actions)
        connectAction(action, perform);
    KTQtWaveformView* view = ui.waveformView;
    connect(ui.action_SelectAll, &QAction::triggered, view, &KTQtWaveformView::selectAll);
    connect(ui.action_ZoomIn, &QAction::triggered, view, &KTQtWaveformView::zoomIn);
    connect(ui.action_ZoomOut, &QAction::triggered, view, &KTQtWaveformView::zoomOut);
    connect(ui.action_ZoomWholeBank, &QAction::triggered, view, &KTQtWaveformView::zoomToWholeBank);
    connect(view, &KTQtWaveformView::selectionChanged, this, [this](bool finished) {
        if (!mTerminated)
            mController.waveformSelectionDidChange(finished);
    });
    ui.action_SnapToZeroCrossings->setChecked(mController.snapToZeroCrossings());
    connect(ui.action_SnapToZeroCrossings, &QAction::triggered, this, [this] {
        perform(&OrvaneEditorController::toggleSnapToZeroCrossings);
        mMainUi->action_SnapToZeroCrossings->setChecked(mController.snapToZeroCrossings());
    });
}

void KTQtEditorWindows::connectEditMenu()
{
    QUndoStack& stack = mUndoManager->stack();
    const auto step = [this, &stack](bool undo) {
        if (mTerminated || !mController.isIdle())
            return;
        undo ? stack.undo() : stack.redo();
    };
    connect(mMainUi->action_Undo, &QAction::triggered, this, [step] { step(true); });
    connect(mMainUi->action_Redo, &QAction::triggered, this, [step] { step(false); });
    // Ctrl+Z in a name field undoes its typing; once the field has none of
    // its own left, it undoes the banks' last step, as Edit > Undo does.
    for (QLineEdit* field : {mMainUi->lineEdit_Bankname, mMainUi->lineEdit_Samplename})
        field->installEventFilter(this);
}

// MIDI > Transfer Speed: the line rate, or slower for interfaces that lose
// bytes at full rate; the choice is the controller's, remembered.
void KTQtEditorWindows::addTransferSpeedMenu()
{
    QMenu* menu = mMainUi->menu_Midi->addMenu(tr("Transfer &Speed"));
    menu->setToolTipsVisible(true);
    auto* group = new QActionGroup(menu);
    for (const unsigned speed : OrvaneEditorController::kTransferSpeeds) {
        QAction* action = menu->addAction(speed == 100 ? tr("&Line Rate") : tr("&%1%").arg(speed));
        action->setToolTip(tr("Send slower than the MIDI line for interfaces that lose bytes at its full rate"));
        action->setCheckable(true);
        action->setChecked(speed == mController.transferSpeed());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, speed] {
            if (!mTerminated)
                mController.setTransferSpeed(speed);
        });
    }
}

void KTQtEditorWindows::fillRecentDisks()
{
    QMenu* menu = mMainUi->menu_OpenRecent;
    menu->clear();
    for (const QString& path : KTQtSettings::recentDisks()) {
        connect(menu->addAction(QFileInfo(path).fileName()), &QAction::triggered, this, [this, path] {
            if (!mTerminated)
                mController.openDiskAtPath(path.toStdString());
        });
        menu->actions().back()->setToolTip(path);
    }
    menu->setToolTipsVisible(true);
    if (menu->isEmpty())
        menu->addAction(tr("No Recent Disks"))->setEnabled(false);
}

void KTQtEditorWindows::restoreSettings()
{
    mMainUi->action_HighQualityResampling->setChecked(mController.highQualityResampling());
    QComboBox* channel = mMainUi->comboBox_MidiChannel;
    bool valid = false;
    const int index = KTQtSettings::value(QStringLiteral("MidiChannel")).toInt(&valid);
    if (valid && index >= 0 && index < channel->count())
        channel->setCurrentIndex(index);
    connect(channel, &QComboBox::activated, this,
            [](int chosen) { KTQtSettings::setValue(QStringLiteral("MidiChannel"), chosen); });
    // Selected bank or all banks, as the user left it.
    if (QAbstractButton* scope = mScopeGroup->button(KTQtSettings::value(QStringLiteral("SaveSendScope")).toInt()))
        scope->setChecked(true);
    connect(mScopeGroup, &QButtonGroup::idClicked, this,
            [](int chosen) { KTQtSettings::setValue(QStringLiteral("SaveSendScope"), chosen); });
}

void KTQtEditorWindows::connectAction(QAction* action, void (OrvaneEditorController::*action_)(void*))
{
    connect(action, &QAction::triggered, this, [this, action_] { perform(action_); });
}

void KTQtEditorWindows::connectNameField(QLineEdit* field, void (OrvaneEditorController::*action)(void*))
{
    // An edit is committed with Enter or by leaving the field; leaving a field
    // that was not edited writes nothing back.
    connect(field, &QLineEdit::editingFinished, this, [this, field, action] {
        if (!field->isModified())
            return;
        field->setModified(false);
        perform(action);
        // The committed name is a step of the banks now: the field's own undo
        // starts afresh, so Ctrl+Z next undoes that step, not the typing.
        const int cursor = field->cursorPosition();
        field->setText(field->text());
        field->setCursorPosition(cursor);
    });
}

void KTQtEditorWindows::perform(void (OrvaneEditorController::*action)(void*))
{
    if (mTerminated)
        return;
    (mController.*action)(this);
}

void KTQtEditorWindows::validateMenuItems()
{
    for (QAction* action : mMainWindow->findChildren<QAction*>()) {
        const KTQtMenuItem item(action);
        if (item.tag() != 0)
            action->setEnabled(!mTerminated && mController.validateMenuItem(item));
    }
    const QUndoStack& stack = mUndoManager->stack();
    mMainUi->action_Undo->setEnabled(mMainUi->action_Undo->isEnabled() && stack.canUndo());
    mMainUi->action_Redo->setEnabled(mMainUi->action_Redo->isEnabled() && stack.canRedo());
    mMainUi->action_Undo->setText(stack.canUndo() ? tr("&Undo %1").arg(stack.undoText()) : tr("&Undo"));
    mMainUi->action_Redo->setText(stack.canRedo() ? tr("&Redo %1").arg(stack.redoText()) : tr("&Redo"));
}

void KTQtEditorWindows::show()
{
    const QByteArray geometry = KTQtSettings::bytes(QStringLiteral("WindowGeometry"));
    if (!geometry.isEmpty())
        mMainWindow->restoreGeometry(geometry);
    mWindow_Main->makeKeyAndOrderFront(nullptr);
    mMainUi->tableView_Banks->setFocus();
}

void KTQtEditorWindows::requestTermination()
{
    if (mTerminated)
        return;
    if (mController.applicationShouldTerminate(this) != 1)
        return;
    mTerminated = true;
    KTQtSettings::setValue(QStringLiteral("WindowGeometry"), mMainWindow->saveGeometry());
    mAboutWindow->hide();
    mProgressSheet->hide();
    QCoreApplication::quit();
}

bool KTQtEditorWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mMainUi->tableView_Banks && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        QTableView* table = mMainUi->tableView_Banks;
        mMainUi->bankOverview->setRowGeometry(table->frameWidth() + table->horizontalHeader()->height(),
                                              table->verticalHeader()->defaultSectionSize());
    }
    if (event->type() == QEvent::KeyPress && isNameFieldWithoutUndo(watched)
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        mMainUi->action_Undo->trigger();
        return true;
    }
    // Shortcuts are matched after this event: refresh the enabled states first.
    if (event->type() == QEvent::ShortcutOverride)
        validateMenuItems();
    if (watched == mMainWindow.get() && event->type() == QEvent::Close && !mTerminated) {
        event->ignore();
        requestTermination();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool KTQtEditorWindows::isNameFieldWithoutUndo(QObject* watched) const
{
    const bool nameField = watched == mMainUi->lineEdit_Bankname || watched == mMainUi->lineEdit_Samplename;
    return nameField && !static_cast<QLineEdit*>(watched)->isUndoAvailable();
}
