#pragma once

#include "app/platform/KTTextField.h"

class QLineEdit;

class KTQtTextField final : public KTTextField {
public:
    explicit KTQtTextField(QLineEdit* field) : mField(field) {}
    std::string stringValue() const override;
    // Bytes that are not valid UTF-8 show as replacement characters.
    void setStringValue(const std::string& text) override;

private:
    QLineEdit* mField;
};
