#pragma once

#include "app/platform/KTButton.h"

class ButtonDouble final : public KTButton {
public:
    bool isEnabled() const override { return mEnabled; }
    void setEnabled(bool enabled) override
    {
        mEnabled = enabled;
        ++mSetEnabledCalls;
    }

    bool mEnabled = true;
    int mSetEnabledCalls = 0;
};
