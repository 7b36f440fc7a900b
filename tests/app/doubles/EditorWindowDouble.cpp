#include "EditorWindowDouble.h"

#include "app/OrvaneEditorController.h"

#include <string>

void EditorWindowDouble::connect(OrvaneEditorController& controller)
{
    controller.mButton_Cancel = &mButton_Cancel;
    controller.mButton_OpenDisk = &mButton_OpenDisk;
    controller.mButton_OpenSample = &mButton_OpenSample;
    controller.mButton_Reset = &mButton_Reset;
    controller.mButton_Save = &mButton_Save;
    controller.mButton_Send = &mButton_Send;
    controller.mButton_Play = &mButton_Play;
    controller.mLabel_ProgressStatus = &mLabel_ProgressStatus;
    controller.mLabel_VersionString_AboutWindow = &mLabel_VersionString_AboutWindow;
    controller.mLabel_VersionString_MainWindow = &mLabel_VersionString_MainWindow;
    controller.mMatrix_SaveSendOption = &mMatrix_SaveSendOption;
    controller.mPopUp_MidiChannel = &mPopUp_MidiChannel;
    controller.mPopUp_MidiPort = &mPopUp_MidiPort;
    controller.mProgressIndicator = &mProgressIndicator;
    controller.mTableView = &mTableView;
    controller.mTextField_Bankname = &mTextField_Bankname;
    controller.mTextField_Sample = &mTextField_Sample;
    controller.mWindow_About = &mWindow_About;
    controller.mWindow_Main = &mWindow_Main;
    controller.mWindow_Progress = &mWindow_Progress;
    controller.mLabel_Status = &mLabel_Status;
    controller.mUndoManager = &mUndoManager;
    controller.mWaveformView = &mWaveformView;

    mTableView.mDataSource = &controller;
    mTextField_Bankname.mAction = [&controller] { controller.textfiledBanknameDidChange(nullptr); };
    mTextField_Sample.mAction = [&controller] { controller.textfieldSamplenameDidChange(nullptr); };

    mPopUp_MidiChannel.removeAllItems();
    for (int channel = 1; channel <= 16; ++channel)
        mPopUp_MidiChannel.addItemWithTitle(std::to_string(channel));
}
