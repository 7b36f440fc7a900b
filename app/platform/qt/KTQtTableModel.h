#pragma once

#include <QAbstractTableModel>

class KTTableView;
class KTTableViewDataSource;

// The table's rows as its data source answers them, asked afresh on every
// reload; the model keeps no copy of the names.
class KTQtTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    KTQtTableModel(KTTableViewDataSource& dataSource, KTTableView& table, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // A row dragged onto another swaps the two banks: rows carry their number.
    static constexpr char kBankMimeType[] = "application/x-orvane-bank";
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // Asks the data source again for the number of rows and every row.
    void reload();

private:
    KTTableViewDataSource& mDataSource;
    KTTableView& mTable;
    int mRows = 0;
};
