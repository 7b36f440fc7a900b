#include "app/platform/qt/KTQtBankOverview.h"

#include "app/platform/qt/KTQtBankOverviewRow.h"

#include <QVBoxLayout>

KTQtBankOverview::KTQtBankOverview(QWidget* parent)
    : QWidget(parent)
    , mLayout(new QVBoxLayout(this))
{
    setAccessibleName(tr("Overview of the banks"));
    mLayout->setContentsMargins(0, 0, 0, 0);
    mLayout->setSpacing(0);
    for (int bank = 0; bank < kBanks; ++bank) {
        auto* row = new KTQtBankOverviewRow(bank, this);
        connect(row, &KTQtBankOverviewRow::clicked, this, &KTQtBankOverview::bankClicked);
        mLayout->addWidget(row);
        mRows[static_cast<std::size_t>(bank)] = row;
    }
    mLayout->addStretch(1);
    setRowGeometry(0, 24);
}

void KTQtBankOverview::setBank(int bank, const Bank& shown)
{
    if (bank < 0 || bank >= kBanks || shown.samples == nullptr)
        return;
    mRows[static_cast<std::size_t>(bank)]->show(*shown.samples, shown.seconds,
                                                 QString::fromUtf8(shown.sampleName.data(),
                                                                   static_cast<qsizetype>(shown.sampleName.size())),
                                                 shown.unsaved);
}

void KTQtBankOverview::setRowGeometry(int top, int rowHeight)
{
    mLayout->setContentsMargins(0, top, 0, 0);
    for (KTQtBankOverviewRow* row : mRows)
        row->setFixedHeight(rowHeight);
}
