#pragma once

// A push button. Only its enabled state is read or changed by the controller.
class KTButton {
public:
    virtual ~KTButton() = default;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};
