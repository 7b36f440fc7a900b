#pragma once

#include <QObject>

#include <memory>
#include <vector>

class KTQtApplicationPlatform;
class KTQtUndoManager;
class KTQtButton;
class KTQtLabel;
class KTQtMatrix;
class KTQtPopUpButton;
class KTQtMenuItem;
class KTQtProgressIndicator;
class KTQtRecordSheet;
class KTQtTableView;
class KTQtTextField;
class KTQtWindow;
class OrvaneEditorController;
class QAction;
class QButtonGroup;
class QDialog;
class QLineEdit;
class QMainWindow;
class QMenu;

namespace Ui {
class KTQtMainWindow;
class KTQtProgressSheet;
class KTQtAboutWindow;
}

// The editor's windows loaded from their descriptions and wired to the
// controller: the nineteen outlets, the table's data source, the actions of
// buttons, fields and menu commands, menu validation, and the way out through
// the controller's termination answer.
class KTQtEditorWindows final : public QObject {
    Q_OBJECT

public:
    KTQtEditorWindows(OrvaneEditorController& controller, KTQtApplicationPlatform& application);
    ~KTQtEditorWindows() override;

    QMainWindow* mainWindow() const { return mMainWindow.get(); }
    QDialog* progressSheet() const { return mProgressSheet; }
    KTQtRecordSheet& recordSheet() const { return *mRecordSheet; }
    const Ui::KTQtMainWindow& mainUi() const { return *mMainUi; }

    // Shows the main window as the key window.
    void show();
    // Asks the controller whether the application may end and, if so, leaves
    // the event loop. Later actions are ignored.
    void requestTermination();
    bool terminated() const { return mTerminated; }
    // Enables every tagged menu command as the controller answers; Undo and
    // Redo also need a step to undo or redo.
    void validateMenuItems();
    KTQtUndoManager& undoManager() const { return *mUndoManager; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createOutlets();
    void connectActions();
    void connectNameField(QLineEdit* field, void (OrvaneEditorController::*action)(void*));
    void connectAction(QAction* action, void (OrvaneEditorController::*action_)(void*));
    void perform(void (OrvaneEditorController::*action)(void*));
    void connectEditMenu();
    void connectEditing();
    void fillRecentDisks();
    void addTransferSpeedMenu();
    bool isNameFieldWithoutUndo(QObject* watched) const;
    void restoreSettings();

    OrvaneEditorController& mController;
    KTQtApplicationPlatform& mApplication;
    bool mTerminated = false;

    std::unique_ptr<Ui::KTQtMainWindow> mMainUi;
    std::unique_ptr<Ui::KTQtProgressSheet> mProgressUi;
    std::unique_ptr<Ui::KTQtAboutWindow> mAboutUi;
    std::unique_ptr<QMainWindow> mMainWindow;
    QDialog* mProgressSheet;
    QDialog* mAboutWindow;
    KTQtRecordSheet* mRecordSheet;
    std::unique_ptr<KTQtMenuItem> mMenuItem_Record;
    QButtonGroup* mScopeGroup = nullptr;

    std::unique_ptr<KTQtButton> mButton_Cancel;
    std::unique_ptr<KTQtButton> mButton_OpenDisk;
    std::unique_ptr<KTQtButton> mButton_OpenSample;
    std::unique_ptr<KTQtButton> mButton_Play;
    std::unique_ptr<KTQtButton> mButton_Reset;
    std::unique_ptr<KTQtButton> mButton_Save;
    std::unique_ptr<KTQtButton> mButton_Send;
    std::unique_ptr<KTQtLabel> mLabel_ProgressStatus;
    std::unique_ptr<KTQtLabel> mLabel_Status;
    std::unique_ptr<KTQtUndoManager> mUndoManager;
    std::unique_ptr<KTQtLabel> mLabel_VersionString_AboutWindow;
    std::unique_ptr<KTQtLabel> mLabel_VersionString_MainWindow;
    std::unique_ptr<KTQtMatrix> mMatrix_SaveSendOption;
    std::unique_ptr<KTQtPopUpButton> mPopUp_MidiChannel;
    std::unique_ptr<KTQtPopUpButton> mPopUp_MidiPort;
    std::unique_ptr<KTQtProgressIndicator> mProgressIndicator;
    std::unique_ptr<KTQtTableView> mTableView;
    std::unique_ptr<KTQtTextField> mTextField_Bankname;
    std::unique_ptr<KTQtTextField> mTextField_Sample;
    std::unique_ptr<KTQtWindow> mWindow_About;
    std::unique_ptr<KTQtWindow> mWindow_Main;
    std::unique_ptr<KTQtWindow> mWindow_Progress;
};
