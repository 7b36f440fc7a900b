#pragma once

#include "app/platform/KTPopUpButton.h"

class QComboBox;

class KTQtPopUpButton final : public KTPopUpButton {
public:
    explicit KTQtPopUpButton(QComboBox* box) : mBox(box) {}
    void removeAllItems() override;
    void addItemWithTitle(const std::string& title) override;
    void selectItemAtIndex(int index) override;
    int indexOfSelectedItem() const override;

private:
    QComboBox* mBox;
};
