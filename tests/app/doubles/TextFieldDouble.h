#pragma once

#include "app/platform/KTTextField.h"

#include <functional>
#include <string>

// A text field whose action is called when the test commits an edit.
class TextFieldDouble final : public KTTextField {
public:
    std::string stringValue() const override { return mText; }
    void setStringValue(const std::string& text) override { mText = text; }

    // The user types text and commits the edit.
    void userCommits(const std::string& text)
    {
        mText = text;
        if (mAction)
            mAction();
    }

    std::string mText;
    std::function<void()> mAction;
};
