#pragma once

#include "ButtonDouble.h"
#include "LabelDouble.h"
#include "MatrixDouble.h"
#include "PopUpButtonDouble.h"
#include "ProgressIndicatorDouble.h"
#include "TableViewDouble.h"
#include "TextFieldDouble.h"
#include "WindowDouble.h"

class OrvaneEditorController;

// The nineteen user-interface objects of the editor's windows as doubles, wired
// to a controller the way the window loader wires the real ones.
class EditorWindowDouble {
public:
    // Connects the outlets, the table's data source and the two name fields'
    // actions. The channel pop-up gets the 16 channels.
    void connect(OrvaneEditorController& controller);

    ButtonDouble mButton_Cancel;
    ButtonDouble mButton_OpenDisk;
    ButtonDouble mButton_OpenSample;
    ButtonDouble mButton_Reset;
    ButtonDouble mButton_Save;
    ButtonDouble mButton_Send;
    LabelDouble mLabel_ProgressStatus;
    LabelDouble mLabel_VersionString_AboutWindow;
    LabelDouble mLabel_VersionString_MainWindow;
    MatrixDouble mMatrix_SaveSendOption;
    PopUpButtonDouble mPopUp_MidiChannel;
    PopUpButtonDouble mPopUp_MidiPort;
    ProgressIndicatorDouble mProgressIndicator;
    TableViewDouble mTableView;
    TextFieldDouble mTextField_Bankname;
    TextFieldDouble mTextField_Sample;
    WindowDouble mWindow_About;
    WindowDouble mWindow_Main;
    WindowDouble mWindow_Progress;
};
