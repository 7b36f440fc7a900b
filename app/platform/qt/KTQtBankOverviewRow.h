#pragma once

#include "app/platform/qt/KTQtWaveformView.h"

#include <QWidget>

#include <cstdint>
#include <vector>

// One bank in the overview: an unsaved mark, a small waveform, the length of
// its sound and its first sample's name, with the same as its accessible text.
// A click asks for the bank.
class KTQtBankOverviewRow final : public QWidget {
    Q_OBJECT

public:
    KTQtBankOverviewRow(int bank, QWidget* parent);

    // Draws the small waveform again only when the samples differ.
    void show(const std::vector<std::int16_t>& samples, double seconds, const QString& sampleName, bool unsaved);
    QString text() const;

signals:
    void clicked(int bank);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    static constexpr int kWaveformWidth = 72;

    int mBank;
    std::vector<std::int16_t> mSamples;
    std::vector<KTQtWaveformView::Column> mColumns;
    double mSeconds = 0.0;
    QString mSampleName;
    bool mUnsaved = false;
};
