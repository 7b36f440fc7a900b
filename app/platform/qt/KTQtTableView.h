#pragma once

#include "app/platform/KTTableView.h"

class KTQtTableModel;
class KTTableViewDataSource;
class QTableView;

// A single-row-selection table filled by its data source. Once a row has been
// selected the table never goes without one: a click that would clear the
// selection selects the previous row again.
class KTQtTableView final : public KTTableView {
public:
    KTQtTableView(QTableView* view, KTTableViewDataSource& dataSource);
    int selectedRow() const override;
    void reloadData() override;
    void selectRowIndexesByExtendingSelection(int row, bool extend) override;

    KTQtTableModel* model() const { return mModel; }

private:
    void selectionChanged();

    QTableView* mView;
    KTTableViewDataSource& mDataSource;
    KTQtTableModel* mModel;
    int mSelectedRow = -1;
};
