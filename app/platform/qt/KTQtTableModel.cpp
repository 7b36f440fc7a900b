#include "app/platform/qt/KTQtTableModel.h"

#include <QMimeData>

#include "app/platform/KTTableViewDataSource.h"

KTQtTableModel::KTQtTableModel(KTTableViewDataSource& dataSource, KTTableView& table, QObject* parent)
    : QAbstractTableModel(parent)
    , mDataSource(dataSource)
    , mTable(table)
    , mRows(dataSource.numberOfRowsInTableView(&table))
{
}

int KTQtTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int KTQtTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant KTQtTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= mRows)
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return QString::fromStdString(mDataSource.tableViewObjectValueForTableColumnRow(&mTable, index.column(), index.row()));
}

QVariant KTQtTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return tr("Bank name");
    return section + 1;
}

void KTQtTableModel::reload()
{
    const int rows = mDataSource.numberOfRowsInTableView(&mTable);
    if (rows != mRows) {
        beginResetModel();
        mRows = rows;
        endResetModel();
        return;
    }
    if (mRows > 0)
        emit dataChanged(index(0, 0), index(mRows - 1, columnCount() - 1));
}

Qt::ItemFlags KTQtTableModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList KTQtTableModel::mimeTypes() const
{
    return {QString::fromLatin1(kBankMimeType)};
}

QMimeData* KTQtTableModel::mimeData(const QModelIndexList& indexes) const
{
    if (indexes.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kBankMimeType), QByteArray::number(indexes.front().row()));
    return data;
}
