#pragma once

#include <string>

// A static line of text, UTF-8.
class KTLabel {
public:
    virtual ~KTLabel() = default;
    virtual std::string stringValue() const = 0;
    virtual void setStringValue(const std::string& text) = 0;
};
