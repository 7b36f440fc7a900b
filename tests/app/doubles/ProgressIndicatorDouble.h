#pragma once

#include "app/platform/KTProgressIndicator.h"

#include <vector>

class ProgressIndicatorDouble final : public KTProgressIndicator {
public:
    void setIndeterminate(bool indeterminate) override { mIndeterminate = indeterminate; }
    void setDoubleValue(double value) override
    {
        mValue = value;
        mValueHistory.push_back(value);
    }
    double doubleValue() const override { return mValue; }
    void setMaxValue(double maximum) override
    {
        mMax = maximum;
        mMaxHistory.push_back(maximum);
    }
    double maxValue() const override { return mMax; }
    void display() override { ++mDisplayCalls; }

    bool mIndeterminate = true;
    double mValue = 0.0;
    double mMax = 100.0;
    int mDisplayCalls = 0;
    // Every value and maximum set, in order.
    std::vector<double> mValueHistory;
    std::vector<double> mMaxHistory;
};
