#include "app/platform/qt/KTQtPopUpButton.h"

#include <QComboBox>

void KTQtPopUpButton::removeAllItems()
{
    mBox->clear();
}

void KTQtPopUpButton::addItemWithTitle(const std::string& title)
{
    mBox->addItem(QString::fromStdString(title));
}

void KTQtPopUpButton::selectItemAtIndex(int index)
{
    mBox->setCurrentIndex(index);
}

int KTQtPopUpButton::indexOfSelectedItem() const
{
    return mBox->currentIndex();
}
