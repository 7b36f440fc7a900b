#pragma once

#include "app/platform/KTProgressIndicator.h"

class QProgressBar;

// The bar counts whole milliseconds, so values in seconds keep their fractions.
class KTQtProgressIndicator final : public KTProgressIndicator {
public:
    explicit KTQtProgressIndicator(QProgressBar* bar) : mBar(bar) {}
    void setIndeterminate(bool indeterminate) override;
    void setDoubleValue(double value) override;
    double doubleValue() const override { return mValue; }
    void setMaxValue(double maximum) override;
    double maxValue() const override { return mMax; }
    void display() override;

private:
    void apply();

    QProgressBar* mBar;
    bool mIndeterminate = false;
    double mValue = 0.0;
    double mMax = 100.0;
};
