#include "app/platform/qt/KTQtMatrix.h"

#include <QButtonGroup>

int KTQtMatrix::selectedRow() const
{
    const int id = mGroup->checkedId();
    return id < 0 ? 0 : id;
}
