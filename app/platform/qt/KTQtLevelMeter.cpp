#include "app/platform/qt/KTQtLevelMeter.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

KTQtLevelMeter::KTQtLevelMeter(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(tr("Input level"));
    setMinimumHeight(22);
}

void KTQtLevelMeter::showLevel(double peakDbfs, bool clipped)
{
    mPeakDbfs = peakDbfs;
    if (clipped) {
        mSinceClip.start();
        // Painted again when the hold is over, also if no level comes.
        QTimer::singleShot(kClipHoldMilliseconds + 10, this, [this] { update(); });
    }
    setAccessibleDescription(std::isfinite(peakDbfs) ? tr("%1 dBFS").arg(peakDbfs, 0, 'f', 1) : tr("silent"));
    update();
}

bool KTQtLevelMeter::showsClip() const
{
    return mSinceClip.isValid() && mSinceClip.elapsed() < kClipHoldMilliseconds;
}

QSize KTQtLevelMeter::sizeHint() const
{
    return {320, 24};
}

void KTQtLevelMeter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    const QString clip = tr("CLIP");
    const int textWidth = fontMetrics().horizontalAdvance(QStringLiteral("-60.0 dBFS ")) +
                          fontMetrics().horizontalAdvance(clip) + 8;
    const QRect bar = rect().adjusted(2, 4, -textWidth, -4);
    const double level = std::isfinite(mPeakDbfs) ? std::clamp(1.0 - mPeakDbfs / kFloorDbfs, 0.0, 1.0) : 0.0;
    painter.fillRect(QRect(bar.left(), bar.top(), static_cast<int>(bar.width() * level), bar.height()),
                     showsClip() ? QColor(Qt::red) : colours.color(QPalette::Highlight));
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    painter.setPen(colours.color(QPalette::Text));
    const QString peak = std::isfinite(mPeakDbfs) ? tr("%1 dBFS").arg(mPeakDbfs, 0, 'f', 1) : tr("silent");
    const QRect text = rect().adjusted(bar.right() + 6, 0, 0, 0);
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, showsClip() ? peak + " " + clip : peak);
}
