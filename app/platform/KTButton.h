#pragma once

#include <string>

// A push button: its enabled state, its title and the tip that says what it
// does or why it cannot.
class KTButton {
public:
    virtual ~KTButton() = default;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setToolTip(const std::string& text) = 0;
    virtual void setTitle(const std::string& title) = 0;
};
