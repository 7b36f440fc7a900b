#pragma once

#include "app/platform/KTPopUpButton.h"

#include <string>
#include <vector>

class PopUpButtonDouble final : public KTPopUpButton {
public:
    void removeAllItems() override
    {
        mItems.clear();
        mSelected = -1;
    }
    void addItemWithTitle(const std::string& title) override
    {
        mItems.push_back(title);
        if (mSelected < 0)
            mSelected = 0;
    }
    void selectItemAtIndex(int index) override
    {
        if (index >= 0 && index < numberOfItems())
            mSelected = index;
    }
    int indexOfSelectedItem() const override { return mSelected; }
    int numberOfItems() const override { return static_cast<int>(mItems.size()); }
    std::string itemTitleAtIndex(int index) const override { return mItems.at(static_cast<std::size_t>(index)); }

    std::vector<std::string> mItems;
    int mSelected = -1;
};
