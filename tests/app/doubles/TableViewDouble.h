#pragma once

#include "app/platform/KTTableView.h"
#include "app/platform/KTTableViewDataSource.h"

#include <string>
#include <vector>

// A table that shows what its data source answered at the last reload.
class TableViewDouble final : public KTTableView {
public:
    int selectedRow() const override { return mSelectedRow; }
    void reloadData() override
    {
        ++mReloadCalls;
        mRows.clear();
        if (!mDataSource)
            return;
        const int count = mDataSource->numberOfRowsInTableView(this);
        for (int row = 0; row < count; ++row)
            mRows.push_back(mDataSource->tableViewObjectValueForTableColumnRow(this, 0, row));
    }
    void selectRowIndexesByExtendingSelection(int row, bool) override
    {
        mSelectedRow = row;
        if (mDataSource)
            mDataSource->tableViewSelectionDidChange(nullptr);
    }

    // The user clicks a row.
    void userSelectsRow(int row) { selectRowIndexesByExtendingSelection(row, false); }

    KTTableViewDataSource* mDataSource = nullptr;
    std::vector<std::string> mRows;
    int mSelectedRow = -1;
    int mReloadCalls = 0;
};
