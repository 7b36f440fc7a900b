#pragma once

#include <string>

// An editable one-line text field. Its text is exchanged whole, as UTF-8; the
// field reports a committed edit through the action it is wired to.
class KTTextField {
public:
    virtual ~KTTextField() = default;
    virtual std::string stringValue() const = 0;
    virtual void setStringValue(const std::string& text) = 0;
};
