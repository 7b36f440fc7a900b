#include "app/platform/qt/KTQtButton.h"

#include <QAbstractButton>

bool KTQtButton::isEnabled() const
{
    return mButton->isEnabled();
}

void KTQtButton::setEnabled(bool enabled)
{
    mButton->setEnabled(enabled);
}

void KTQtButton::setToolTip(const std::string& text)
{
    mButton->setToolTip(QString::fromStdString(text));
}

void KTQtButton::setTitle(const std::string& title)
{
    mButton->setText(QString::fromStdString(title));
}
