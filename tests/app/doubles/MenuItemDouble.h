#pragma once

#include "app/platform/KTMenuItem.h"

class MenuItemDouble final : public KTMenuItem {
public:
    explicit MenuItemDouble(int tag) : mTag(tag) {}
    int tag() const override { return mTag; }

    int mTag;
};
