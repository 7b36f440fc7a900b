#pragma once

#include "app/platform/KTLabel.h"

class QLabel;

class KTQtLabel final : public KTLabel {
public:
    explicit KTQtLabel(QLabel* label) : mLabel(label) {}
    std::string stringValue() const override;
    void setStringValue(const std::string& text) override;

private:
    QLabel* mLabel;
};
