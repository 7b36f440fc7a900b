#pragma once

#include "app/platform/KTMatrix.h"

class MatrixDouble final : public KTMatrix {
public:
    int selectedRow() const override { return mSelectedRow; }

    int mSelectedRow = 0;
};
