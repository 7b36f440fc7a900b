#include "app/platform/qt/KTQtMenuItem.h"

#include <QAction>
#include <QVariant>

int KTQtMenuItem::tag() const
{
    return mAction->property("tag").toInt();
}

void KTQtMenuItem::setToolTip(const std::string& text)
{
    mAction->setToolTip(QString::fromStdString(text));
    mAction->setStatusTip(QString::fromStdString(text));
}
