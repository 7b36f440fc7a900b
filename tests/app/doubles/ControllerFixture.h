#pragma once

#include "ApplicationPlatformDouble.h"
#include "EditorWindowDouble.h"
#include "MidiPortsDouble.h"
#include "app/OrvaneEditorController.h"
#include "device/TLOrvane.h"
#include "midiout/KTClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

// A clock whose time moves only when something sleeps on it.
class StepClock final : public KTClock {
public:
    Duration now() const override { return mNow; }
    void sleepFor(Duration duration) override { mNow += duration; }

    Duration mNow{0};
};

// A controller started the way the program starts it, against doubles: created,
// init, outlets connected, awakeFromNib. Tests set the destinations and the
// information dictionary before calling start().
class ControllerFixture : public ::testing::Test {
protected:
    ControllerFixture()
        : mFactory(TLOrvane::kBankCount * TLOrvane::kSamplesPerBank)
    {
        for (std::size_t i = 0; i < mFactory.size(); ++i)
            mFactory[i] = static_cast<std::int16_t>(i * 7);
    }

    void start()
    {
        mController = std::make_unique<OrvaneEditorController>(mApp, mMidi, mClock, mFactory.data());
        ASSERT_EQ(mController->init(), mController.get());
        mWindow.connect(*mController);
        mController->awakeFromNib();
    }

    TLOrvane& orvane() { return *mController->mOrvane; }

    std::vector<std::int16_t> mFactory;
    ApplicationPlatformDouble mApp;
    MidiPortsDouble mMidi;
    StepClock mClock;
    EditorWindowDouble mWindow;
    std::unique_ptr<OrvaneEditorController> mController;
};
