#pragma once

#include <QElapsedTimer>
#include <QWidget>

#include <cmath>

// An input level meter: a bar from -60 to 0 dBFS with the peak in figures,
// and CLIP held in sight for a second after the input clipped.
class KTQtLevelMeter final : public QWidget {
    Q_OBJECT

public:
    static constexpr double kFloorDbfs = -60.0;
    static constexpr int kClipHoldMilliseconds = 1000;

    explicit KTQtLevelMeter(QWidget* parent = nullptr);

    void showLevel(double peakDbfs, bool clipped);
    bool showsClip() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double mPeakDbfs = -INFINITY;
    QElapsedTimer mSinceClip;
};
