#include "app/platform/qt/KTQtMenuItem.h"

#include <QAction>
#include <QVariant>

int KTQtMenuItem::tag() const
{
    return mAction->property("tag").toInt();
}
