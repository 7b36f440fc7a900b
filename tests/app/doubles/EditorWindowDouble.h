#pragma once

#include "app/OrvaneEditorController.h"
#include "app/platform/KTBankOverview.h"
#include "app/platform/KTButton.h"
#include "app/platform/KTLabel.h"
#include "app/platform/KTMatrix.h"
#include "app/platform/KTMenuItem.h"
#include "app/platform/KTPopUpButton.h"
#include "app/platform/KTProgressIndicator.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTTableViewDataSource.h"
#include "app/platform/KTTextField.h"
#include "app/platform/KTUndoManager.h"
#include "app/platform/KTWaveformView.h"
#include "app/platform/KTWindow.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ButtonDouble final : public KTButton {
public:
    bool isEnabled() const override { return mEnabled; }
    void setEnabled(bool enabled) override { mEnabled = enabled; }
    void setToolTip(const std::string& text) override { mToolTip = text; }
    void setTitle(const std::string& title) override { mTitle = title; }
    bool mEnabled = true;
    std::string mToolTip, mTitle;
};

// Keeps every text set, in order.
class LabelDouble final : public KTLabel {
public:
    std::string stringValue() const override { return mText; }
    void setStringValue(const std::string& text) override { mHistory.push_back(mText = text); }
    std::string mText;
    std::vector<std::string> mHistory;
};

class MatrixDouble final : public KTMatrix {
public:
    int selectedRow() const override { return mSelectedRow; }
    int mSelectedRow = 0;
};

class MenuItemDouble final : public KTMenuItem {
public:
    explicit MenuItemDouble(int tag) : mTag(tag) {}
    int tag() const override { return mTag; }
    void setToolTip(const std::string& text) override { mToolTip = text; }
    int mTag;
    std::string mToolTip;
};

class PopUpButtonDouble final : public KTPopUpButton {
public:
    void removeAllItems() override
    {
        mItems.clear();
        mSelected = -1;
    }
    void addItemWithTitle(const std::string& title) override
    {
        mItems.push_back(title);
        if (mSelected < 0)
            mSelected = 0;
    }
    void selectItemAtIndex(int index) override
    {
        if (index >= 0 && index < static_cast<int>(mItems.size()))
            mSelected = index;
    }
    int indexOfSelectedItem() const override { return mSelected; }
    std::vector<std::string> mItems;
    int mSelected = -1;
};

// Keeps every value and maximum set, in order.
class ProgressIndicatorDouble final : public KTProgressIndicator {
public:
    void setIndeterminate(bool) override {}
    void setDoubleValue(double value) override { mValueHistory.push_back(value); }
    double doubleValue() const override { return mValueHistory.empty() ? 0.0 : mValueHistory.back(); }
    void setMaxValue(double maximum) override { mMaxHistory.push_back(maximum); }
    double maxValue() const override { return mMaxHistory.empty() ? 100.0 : mMaxHistory.back(); }
    void display() override {}
    std::vector<double> mValueHistory;
    std::vector<double> mMaxHistory;
};

// A table that shows what its data source answered at the last reload.
class TableViewDouble final : public KTTableView {
public:
    int selectedRow() const override { return mSelectedRow; }
    void reloadData() override
    {
        ++mReloadCalls;
        mRows.clear();
        for (int row = 0; mDataSource && row < mDataSource->numberOfRowsInTableView(this); ++row)
            mRows.push_back(mDataSource->tableViewObjectValueForTableColumnRow(this, 0, row));
    }
    void selectRowIndexesByExtendingSelection(int row, bool) override
    {
        mSelectedRow = row;
        if (mDataSource)
            mDataSource->tableViewSelectionDidChange(nullptr);
    }
    // The user clicks a row.
    void userSelectsRow(int row) { selectRowIndexesByExtendingSelection(row, false); }

    KTTableViewDataSource* mDataSource = nullptr;
    std::vector<std::string> mRows;
    int mSelectedRow = -1;
    int mReloadCalls = 0;
};

// A text field whose action is called when the test commits an edit.
class TextFieldDouble final : public KTTextField {
public:
    std::string stringValue() const override { return mText; }
    void setStringValue(const std::string& text) override { mText = text; }
    // The user types text and commits the edit.
    void userCommits(const std::string& text)
    {
        mText = text;
        if (mAction)
            mAction();
    }
    std::string mText;
    std::function<void()> mAction;
};

class WindowDouble final : public KTWindow {
public:
    void center() override { ++mCenterCalls; }
    void makeKeyAndOrderFront(void*) override { mVisible = true; }
    void orderOut(void*) override { mVisible = false; }
    bool isVisible() const override { return mVisible; }
    void setTitleWithRepresentedFilename(const std::string& filename) override { mTitle = filename; }
    void setDocumentEdited(bool edited) override { mEdited = edited; }
    bool mVisible = false;
    bool mEdited = false;
    std::string mTitle;
    int mCenterCalls = 0;
};

// A linear history of steps; a step done after an undo drops the ones undone.
class UndoManagerDouble final : public KTUndoManager {
public:
    struct Step {
        std::string name;
        std::vector<TLBankSnapshot> before, after;
        Restore restore;
    };
    void registerStep(const std::string& actionName, std::vector<TLBankSnapshot> before,
                      std::vector<TLBankSnapshot> after, Restore restore) override
    {
        mSteps.resize(mDone);
        mSteps.push_back({actionName, std::move(before), std::move(after), std::move(restore)});
        ++mDone;
    }
    void undo()
    {
        --mDone;
        mSteps[mDone].restore(mSteps[mDone].before, true);
    }
    void redo()
    {
        mSteps[mDone].restore(mSteps[mDone].after, false);
        ++mDone;
    }
    std::vector<Step> mSteps;
    std::size_t mDone = 0;
};

// The unsaved mark the overview shows for each bank.
class BankOverviewDouble final : public KTBankOverview {
public:
    void setBank(int bank, const Bank& shown) override { mUnsaved.at(static_cast<std::size_t>(bank)) = shown.unsaved; }
    std::array<bool, 7> mUnsaved{};
};

class WaveformViewDouble final : public KTWaveformView {
public:
    void setSamples(const std::vector<std::int16_t>& samples) override { mSamples = samples; }
    void setPlayhead(std::optional<std::size_t> sample) override { mPlayheads.push_back(sample); }
    std::optional<TLSampleRange> selection() const override { return mSelection; }
    void setSelection(std::optional<TLSampleRange> range) override
    {
        mSelection = range && !range->empty() ? range : std::nullopt;
    }
    std::size_t cursor() const override { return mCursor; }
    std::vector<std::int16_t> mSamples;
    std::vector<std::optional<std::size_t>> mPlayheads;
    std::optional<TLSampleRange> mSelection;
    std::size_t mCursor = 0;
};

// The nineteen user-interface objects of the editor's windows as doubles, wired
// to a controller the way the window loader wires the real ones.
class EditorWindowDouble {
public:
    // Connects the outlets, the table's data source and the two name fields'
    // actions. The channel pop-up gets the 16 channels.
    void connect(OrvaneEditorController& controller)
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
        controller.mBankOverview = &mBankOverview;

        mTableView.mDataSource = &controller;
        mTextField_Bankname.mAction = [&controller] { controller.textfiledBanknameDidChange(nullptr); };
        mTextField_Sample.mAction = [&controller] { controller.textfieldSamplenameDidChange(nullptr); };

        mPopUp_MidiChannel.removeAllItems();
        for (int channel = 1; channel <= 16; ++channel)
            mPopUp_MidiChannel.addItemWithTitle(std::to_string(channel));
    }

    ButtonDouble mButton_Cancel, mButton_OpenDisk, mButton_OpenSample, mButton_Reset, mButton_Save, mButton_Send;
    ButtonDouble mButton_Play;
    LabelDouble mLabel_ProgressStatus, mLabel_VersionString_AboutWindow, mLabel_VersionString_MainWindow, mLabel_Status;
    MatrixDouble mMatrix_SaveSendOption;
    PopUpButtonDouble mPopUp_MidiChannel, mPopUp_MidiPort;
    ProgressIndicatorDouble mProgressIndicator;
    TableViewDouble mTableView;
    TextFieldDouble mTextField_Bankname, mTextField_Sample;
    WindowDouble mWindow_About, mWindow_Main, mWindow_Progress;
    UndoManagerDouble mUndoManager;
    WaveformViewDouble mWaveformView;
    BankOverviewDouble mBankOverview;
};
