#pragma once

#include <string>

// A pop-up list of titled items; an item's index is its insertion position.
class KTPopUpButton {
public:
    virtual ~KTPopUpButton() = default;
    virtual void removeAllItems() = 0;
    virtual void addItemWithTitle(const std::string& title) = 0;
    virtual void selectItemAtIndex(int index) = 0;
    // The selected item's index, or -1 when the list is empty.
    virtual int indexOfSelectedItem() const = 0;
};
