#pragma once

#include "app/platform/KTProgressIndicator.h"

class ProgressIndicatorDouble final : public KTProgressIndicator {
public:
    void setIndeterminate(bool indeterminate) override { mIndeterminate = indeterminate; }
    void setDoubleValue(double value) override { mValue = value; }
    double doubleValue() const override { return mValue; }
    void setMaxValue(double maximum) override { mMax = maximum; }
    double maxValue() const override { return mMax; }
    void display() override { ++mDisplayCalls; }

    bool mIndeterminate = true;
    double mValue = 0.0;
    double mMax = 100.0;
    int mDisplayCalls = 0;
};
