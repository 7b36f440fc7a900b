#pragma once

#include "app/platform/KTWindow.h"

class WindowDouble final : public KTWindow {
public:
    void center() override { ++mCenterCalls; }
    void makeKeyAndOrderFront(void*) override
    {
        mVisible = true;
        mIsKey = true;
        ++mOrderFrontCalls;
    }
    void orderOut(void*) override
    {
        mVisible = false;
        mIsKey = false;
    }
    bool isVisible() const override { return mVisible; }

    bool mVisible = false;
    bool mIsKey = false;
    int mCenterCalls = 0;
    int mOrderFrontCalls = 0;
};
