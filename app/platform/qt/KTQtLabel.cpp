#include "app/platform/qt/KTQtLabel.h"

#include <QLabel>

std::string KTQtLabel::stringValue() const
{
    return mLabel->text().toStdString();
}

void KTQtLabel::setStringValue(const std::string& text)
{
    mLabel->setText(QString::fromStdString(text));
}
