#include "app/platform/qt/KTQtTextField.h"

#include <QLineEdit>

std::string KTQtTextField::stringValue() const
{
    return mField->text().toStdString();
}

void KTQtTextField::setStringValue(const std::string& text)
{
    mField->setText(QString::fromStdString(text));
    mField->setCursorPosition(0);
}
