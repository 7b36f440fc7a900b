#include "app/platform/qt/KTQtTableView.h"

#include "app/platform/KTTableViewDataSource.h"
#include "app/platform/qt/KTQtTableModel.h"

#include <QItemSelectionModel>
#include <QTableView>

KTQtTableView::KTQtTableView(QTableView* view, KTTableViewDataSource& dataSource)
    : mView(view)
    , mDataSource(dataSource)
    , mModel(new KTQtTableModel(dataSource, *this, view))
{
    mView->setModel(mModel);
    mView->setSelectionMode(QAbstractItemView::SingleSelection);
    mView->setSelectionBehavior(QAbstractItemView::SelectRows);
    mView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QObject::connect(mView->selectionModel(), &QItemSelectionModel::selectionChanged, mView,
                     [this] { selectionChanged(); });
}

int KTQtTableView::selectedRow() const
{
    return mSelectedRow;
}

void KTQtTableView::reloadData()
{
    mModel->reload();
}

void KTQtTableView::selectRowIndexesByExtendingSelection(int row, bool)
{
    // Single selection: the new row always replaces the old one.
    if (row < 0 || row >= mModel->rowCount())
        return;
    mView->setCurrentIndex(mModel->index(row, 0));
    mView->selectRow(row);
}

void KTQtTableView::selectionChanged()
{
    const QModelIndexList rows = mView->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        if (mSelectedRow >= 0 && mSelectedRow < mModel->rowCount())
            mView->selectRow(mSelectedRow);
        return;
    }
    const int row = rows.first().row();
    if (row == mSelectedRow)
        return;
    mSelectedRow = row;
    mDataSource.tableViewSelectionDidChange(nullptr);
}
