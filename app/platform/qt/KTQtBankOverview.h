#pragma once

#include "app/platform/KTBankOverview.h"

#include <QWidget>

#include <array>

class KTQtBankOverviewRow;
class QVBoxLayout;

// The seven banks at a glance beside the bank table, a row a bank lined up
// with the table's rows.
class KTQtBankOverview final : public QWidget, public KTBankOverview {
    Q_OBJECT

public:
    static constexpr int kBanks = 7;

    explicit KTQtBankOverview(QWidget* parent = nullptr);

    void setBank(int bank, const Bank& shown) override;
    // The rows start `top` pixels down and are rowHeight tall, as the table's.
    void setRowGeometry(int top, int rowHeight);
    const KTQtBankOverviewRow& row(int bank) const { return *mRows[static_cast<std::size_t>(bank)]; }

signals:
    // A bank was clicked: it should be selected.
    void bankClicked(int bank);

private:
    QVBoxLayout* mLayout;
    std::array<KTQtBankOverviewRow*, kBanks> mRows{};
};
