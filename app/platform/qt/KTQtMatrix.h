#pragma once

#include "app/platform/KTMatrix.h"

class QButtonGroup;

// The radio buttons of a group, row i being the button with id i.
class KTQtMatrix final : public KTMatrix {
public:
    explicit KTQtMatrix(QButtonGroup* group) : mGroup(group) {}
    int selectedRow() const override;

private:
    QButtonGroup* mGroup;
};
