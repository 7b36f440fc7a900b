#pragma once

#include "app/platform/KTButton.h"

class QAbstractButton;

class KTQtButton final : public KTButton {
public:
    explicit KTQtButton(QAbstractButton* button) : mButton(button) {}
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    void setToolTip(const std::string& text) override;
    void setTitle(const std::string& title) override;

private:
    QAbstractButton* mButton;
};
