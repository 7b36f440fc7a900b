#pragma once

#include "app/platform/KTLabel.h"

#include <string>

class LabelDouble final : public KTLabel {
public:
    std::string stringValue() const override { return mText; }
    void setStringValue(const std::string& text) override { mText = text; }

    std::string mText;
};
