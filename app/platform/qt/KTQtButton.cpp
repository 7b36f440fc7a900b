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
