#include "app/platform/qt/KTQtRegionOverview.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kWindowAlpha = 90;
constexpr int kWindowPixels = 4;
constexpr double kKeyStep = 0.1;

} // namespace

KTQtRegionOverview::KTQtRegionOverview(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Whole file, with the part to import"));
    describe();
}

void KTQtRegionOverview::setOverview(const TLFileOverview& overview)
{
    mColumns = overview.columns;
    mColumnsDone = overview.columnsDone;
    mSeconds = overview.seconds();
    mLengthKnown = overview.status == TLFileOverview::Status::Imported && overview.sampleRate > 0.0;
    mStart = clampedStart(mStart);
    describe();
    update();
}

void KTQtRegionOverview::setWindowLength(double seconds)
{
    mLength = std::max(seconds, 0.0);
    mStart = clampedStart(mStart);
    describe();
    update();
}

void KTQtRegionOverview::setWindowStart(double seconds)
{
    mStart = clampedStart(seconds);
    describe();
    update();
}

std::optional<double> KTQtRegionOverview::lastStart() const
{
    if (!mLengthKnown)
        return std::nullopt;
    return std::max(0.0, mSeconds - mLength);
}

double KTQtRegionOverview::clampedStart(double start) const
{
    return std::clamp(start, 0.0, lastStart().value_or(std::max(start, 0.0)));
}

QSize KTQtRegionOverview::sizeHint() const
{
    return {640, 140};
}

QSize KTQtRegionOverview::minimumSizeHint() const
{
    return {200, 64};
}

void KTQtRegionOverview::moveWindow(double start)
{
    const double moved = clampedStart(start);
    if (moved == mStart)
        return;
    setWindowStart(moved);
    emit windowMoved(mStart);
}

double KTQtRegionOverview::secondsAt(double x) const
{
    return width() > 0 ? x * mSeconds / width() : 0.0;
}

double KTQtRegionOverview::pixelOf(double seconds) const
{
    return mSeconds > 0.0 ? seconds * width() / mSeconds : 0.0;
}

void KTQtRegionOverview::describe()
{
    setAccessibleDescription(tr("From %1 s to %2 s of %3 s")
                                 .arg(mStart, 0, 'f', 3)
                                 .arg(mStart + std::min(mLength, mLengthKnown ? mSeconds - mStart : mLength), 0, 'f', 3)
                                 .arg(mSeconds, 0, 'f', 3));
}

void KTQtRegionOverview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const double at = secondsAt(event->position().x());
    const bool inside = at >= mStart && at < mStart + mLength;
    mGrip = inside ? at - mStart : mLength / 2.0;
    moveWindow(at - *mGrip);
}

void KTQtRegionOverview::mouseMoveEvent(QMouseEvent* event)
{
    if (mGrip)
        moveWindow(secondsAt(event->position().x()) - *mGrip);
}

void KTQtRegionOverview::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        mGrip.reset();
}

void KTQtRegionOverview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        return moveWindow(mStart - kKeyStep * mLength);
    case Qt::Key_Right:
        return moveWindow(mStart + kKeyStep * mLength);
    case Qt::Key_PageUp:
        return moveWindow(mStart - mLength);
    case Qt::Key_PageDown:
        return moveWindow(mStart + mLength);
    case Qt::Key_Home:
        return moveWindow(0.0);
    case Qt::Key_End:
        return moveWindow(lastStart().value_or(mStart));
    default:
        return QWidget::keyPressEvent(event);
    }
}

void KTQtRegionOverview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    // What is not read yet is shaded.
    if (!mColumns.empty() && mColumnsDone < mColumns.size()) {
        const int read = static_cast<int>(mColumnsDone * static_cast<std::size_t>(width()) / mColumns.size());
        painter.fillRect(QRect(read, 0, width() - read, height()), colours.color(QPalette::AlternateBase));
    }
    QColor tint = colours.color(QPalette::Highlight);
    tint.setAlpha(kWindowAlpha);
    // However long the file, the window stays a few pixels wide and in sight.
    const int left = static_cast<int>(std::floor(pixelOf(mStart)));
    const int span = std::max(kWindowPixels, static_cast<int>(std::ceil(pixelOf(mStart + mLength))) - left);
    const QRect window(std::clamp(left, 0, std::max(width() - span, 0)), 0, span, height());
    painter.fillRect(window, tint);
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(0, height() / 2, width(), height() / 2);
    paintColumns(painter);
    painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
    painter.drawRect(window.adjusted(1, 1, -1, -1));
    if (hasFocus()) {
        painter.setPen(colours.color(QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void KTQtRegionOverview::paintColumns(QPainter& painter) const
{
    const std::size_t count = mColumns.size();
    const auto pixels = static_cast<std::size_t>(width());
    if (count == 0 || pixels == 0)
        return;
    const double middle = height() / 2.0;
    const double scale = (height() / 2.0 - 2.0) / 32768.0;
    QList<QLine> lines;
    for (std::size_t x = 0; x < pixels; ++x) {
        const std::size_t first = x * count / pixels;
        const std::size_t end = std::min(mColumnsDone, std::max(first + 1, (x + 1) * count / pixels));
        if (first >= end)
            break;
        int low = mColumns[first].min, high = mColumns[first].max;
        for (std::size_t c = first + 1; c < end; ++c)
            low = std::min<int>(low, mColumns[c].min), high = std::max<int>(high, mColumns[c].max);
        const int x0 = static_cast<int>(x);
        lines.append(QLine(x0, static_cast<int>(std::lround(middle - high * scale)), x0,
                           static_cast<int>(std::lround(middle - low * scale))));
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.drawLines(lines);
}
