#pragma once

// A single-selection table that asks its data source for its rows. The layer
// never leaves it without a selected row once one has been selected.
class KTTableView {
public:
    virtual ~KTTableView() = default;
    // The selected row, or -1 before any row has been selected.
    virtual int selectedRow() const = 0;
    // Asks the data source again for the number of rows and every row's text.
    virtual void reloadData() = 0;
    // Selects the row; without extend the previous selection is replaced.
    // The data source hears of the change as a selection change.
    virtual void selectRowIndexesByExtendingSelection(int row, bool extend) = 0;
};
