#pragma once

#include "app/platform/KTLabel.h"

#include <string>
#include <vector>

class LabelDouble final : public KTLabel {
public:
    std::string stringValue() const override { return mText; }
    void setStringValue(const std::string& text) override
    {
        mText = text;
        mHistory.push_back(text);
    }

    std::string mText;
    // Every text set, in order.
    std::vector<std::string> mHistory;
};
