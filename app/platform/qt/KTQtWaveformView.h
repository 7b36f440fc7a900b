#pragma once

#include "app/platform/KTWaveformView.h"
#include "device/TLBankSummary.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

// The selected bank's sound: the smallest and largest sample of every pixel
// column, the sound's length up to its last non-zero sample, and a playhead
// while it is heard.
class KTQtWaveformView final : public QWidget, public KTWaveformView {
    Q_OBJECT

public:
    struct Column {
        std::int16_t min = 0;
        std::int16_t max = 0;
        bool operator==(const Column&) const = default;
    };

    explicit KTQtWaveformView(QWidget* parent = nullptr);

    void setSamples(const std::vector<std::int16_t>& samples) override;
    void setPlayhead(std::optional<std::size_t> sample) override;
    // The pixel column the playhead is drawn in, if there is one.
    std::optional<int> playheadColumn() const;
    // Column x covers the samples from x * size / width up to (x + 1) * size / width.
    static std::vector<Column> columns(const std::vector<std::int16_t>& samples, int width);
    // "30,000 samples, 0.68 s", or "Silent".
    QString lengthText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::int16_t> mSamples;
    std::optional<std::size_t> mPlayhead;
    TLBankSummary mSummary;
    // The columns for mColumnsWidth, made again when the width changes.
    std::vector<Column> mColumns;
    int mColumnsWidth = -1;
};
