#pragma once

// A progress bar showing a value between 0 and its maximum.
class KTProgressIndicator {
public:
    virtual ~KTProgressIndicator() = default;
    virtual void setIndeterminate(bool indeterminate) = 0;
    virtual void setDoubleValue(double value) = 0;
    virtual double doubleValue() const = 0;
    virtual void setMaxValue(double maximum) = 0;
    virtual double maxValue() const = 0;
    // Redraws the bar at once.
    virtual void display() = 0;
};
