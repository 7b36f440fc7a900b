#pragma once

#include "ApplicationPlatformDouble.h"
#include "EditorWindowDouble.h"
#include "KTRecordingMidiPlatform.h"
#include "KTVirtualClock.h"
#include "app/OrvaneEditorController.h"
#include "device/TLOrvane.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A controller started the way the program starts it, against doubles: created,
// init, outlets connected, awakeFromNib. Tests set the destinations and the
// information dictionary (and the recovery folder) before calling start(). Time is virtual; a background
// operation (the transmission worker) takes part in it while it runs.
class ControllerFixture : public ::testing::Test {
protected:
    ControllerFixture()
        : mFactory(TLOrvane::kBankCount * TLOrvane::kSamplesPerBank)
    {
        for (std::size_t i = 0; i < mFactory.size(); ++i)
            mFactory[i] = static_cast<std::int16_t>(i * 7);
        mApp.mBeforeBackgroundOperation = [this] { mClock.addActive(); };
        mApp.mAfterBackgroundOperation = [this] { mClock.removeActive(); };
    }
    ~ControllerFixture() override
    {
        // A test that failed half-way may leave the worker running: let every
        // pause pass so that it ends and can be joined.
        mClock.release();
        mController.reset();
    }

    void start()
    {
        // A new launch has a new window: the history of the last one is gone
        // (its steps call back into the controller they were made with).
        mWindow.mUndoManager = UndoManagerDouble{};
        mController = std::make_unique<OrvaneEditorController>(mApp, mMidi, mClock, mFactory.data());
        ASSERT_EQ(mController->init(), mController.get());
        if (!mRecoveryFolder.empty())
            mController->setRecoveryFolder(mRecoveryFolder);
        mWindow.connect(*mController);
        mController->awakeFromNib();
        // The event loop starts: what the start posted runs.
        mApp.runMainQueue();
    }

    TLOrvane& orvane() { return *mController->mOrvane; }

    // The user selects the bank's row and chooses the action; a panel it shows
    // is answered with `answer` (nothing: cancelled).
    void act(void (OrvaneEditorController::*action)(void*), int bank, std::optional<std::string> answer = {})
    {
        mWindow.mTableView.userSelectsRow(bank);
        mApp.mPanelAnswers.push_back(std::move(answer));
        (mController.get()->*action)(nullptr);
    }

    std::vector<std::int16_t> mFactory;
    ApplicationPlatformDouble mApp;
    KTVirtualClock mClock;
    KTRecordingMidiPlatform mMidi{mClock};
    EditorWindowDouble mWindow;
    std::unique_ptr<OrvaneEditorController> mController;
    // Where start() has the editor keep its recovery files; none when empty.
    std::string mRecoveryFolder;
};
