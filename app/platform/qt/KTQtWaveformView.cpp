#include "app/platform/qt/KTQtWaveformView.h"

#include "device/TLOrvane.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// How strongly the selection tints what lies under it; the waveform is drawn over the tint.
constexpr int kSelectionAlpha = 90;
// The length label's box hides most of the waveform under it.
constexpr int kLabelBoxAlpha = 225;
constexpr double kZoomStep = 2.0;
// A wheel notch scrolls a zoomed view by this part of what it shows.
constexpr double kScrollPerNotch = 0.125;

QString counted(std::size_t n)
{
    return QLocale(QLocale::English).toString(static_cast<qulonglong>(n));
}

QString milliseconds(std::size_t samples)
{
    return QString::number(static_cast<double>(samples) * 1000.0 / TLOrvane::kSampleRate, 'f', 2);
}

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

// `over` at `alpha` on top of `under`, as one opaque colour: filling with it
// costs far less than blending every pixel.
QColor blended(const QColor& under, const QColor& over, int alpha)
{
    const auto mix = [alpha](int low, int high) { return (low * (255 - alpha) + high * alpha + 127) / 255; };
    return QColor(mix(under.red(), over.red()), mix(under.green(), over.green()), mix(under.blue(), over.blue()));
}

} // namespace

KTQtWaveformView::KTQtWaveformView(QWidget* parent)
    : QWidget(parent)
    , mScrollBar(new QScrollBar(Qt::Horizontal, this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(96);
    setAccessibleName(tr("Waveform of the selected bank"));
    // The keys reach the view; the bar is for the mouse.
    mScrollBar->setFocusPolicy(Qt::NoFocus);
    mScrollBar->setAccessibleName(tr("Waveform position"));
    mScrollBar->hide();
    connect(mScrollBar, &QScrollBar::valueChanged, this, [this](int value) {
        mViewport.scrollTo(static_cast<std::size_t>(std::max(value, 0)));
        update();
    });
}

void KTQtWaveformView::setSamples(const std::vector<std::int16_t>& samples)
{
    mSamples = samples;
    ++mSamplesVersion;
    mSummary = TLBankSummary::of(mSamples);
    mViewport.setSamples(mSamples.size());
    for (std::size_t* boundary : {&mAnchor, &mActive, &mCursor})
        *boundary = std::min(*boundary, mSamples.size());
    viewportWasChanged();
    setAccessibleDescription(lengthText() + ". " + selectionText());
}

void KTQtWaveformView::setPlayhead(std::optional<std::size_t> sample)
{
    // Only the columns the playhead leaves and enters are painted again.
    const std::optional<int> before = playheadColumn();
    mPlayhead = sample;
    const std::optional<int> after = playheadColumn();
    if (before == after)
        return;
    for (const std::optional<int>& column : {before, after}) {
        if (column)
            update(*column - 1, 0, 3, height());
    }
}

std::optional<TLSampleRange> KTQtWaveformView::selection() const
{
    if (mAnchor == mActive)
        return std::nullopt;
    return TLSampleRange{std::min(mAnchor, mActive), std::max(mAnchor, mActive)};
}

void KTQtWaveformView::setSelection(std::optional<TLSampleRange> range)
{
    const std::size_t size = mSamples.size();
    if (range && std::min(range->begin, size) < std::min(range->end, size))
        mAnchor = range->begin, mActive = std::min(range->end, size);
    else
        mAnchor = mActive = mCursor;
    setAccessibleDescription(lengthText() + ". " + selectionText());
    update();
}

std::optional<int> KTQtWaveformView::playheadColumn() const
{
    if (!mPlayhead)
        return std::nullopt;
    return mViewport.columnOf(*mPlayhead);
}

std::vector<KTQtWaveformView::Column> KTQtWaveformView::columns(const std::vector<std::int16_t>& samples, int width)
{
    return columns(samples, 0, samples.size(), width);
}

std::vector<KTQtWaveformView::Column> KTQtWaveformView::columns(const std::vector<std::int16_t>& samples,
                                                                std::size_t first, std::size_t visible, int width)
{
    std::vector<Column> result(static_cast<std::size_t>(std::max(width, 0)));
    const std::size_t size = samples.size();
    for (std::size_t x = 0; x < result.size(); ++x) {
        const std::size_t begin = first + x * visible / result.size();
        const std::size_t end = std::min(size, std::max(begin + 1, first + (x + 1) * visible / result.size()));
        if (begin >= end)
            continue;
        const auto [low, high] = std::minmax_element(samples.begin() + static_cast<std::ptrdiff_t>(begin),
                                                     samples.begin() + static_cast<std::ptrdiff_t>(end));
        result[x] = {*low, *high};
    }
    return result;
}

QString KTQtWaveformView::lengthText() const
{
    if (mSummary.length == 0)
        return tr("Silent");
    return tr("%1 samples, %2 s").arg(counted(mSummary.length)).arg(mSummary.seconds(), 0, 'f', 2);
}

QString KTQtWaveformView::selectionText() const
{
    if (const std::optional<TLSampleRange> chosen = selection())
        return tr("Selected %1 to %2: %3 samples, %4 ms")
            .arg(counted(chosen->begin), counted(chosen->end), counted(chosen->size()), milliseconds(chosen->size()));
    return tr("Cursor at %1 (%2 ms)").arg(counted(mCursor), milliseconds(mCursor));
}

QSize KTQtWaveformView::sizeHint() const
{
    return {640, 140};
}

void KTQtWaveformView::selectAll()
{
    mAnchor = 0;
    mActive = mSamples.size();
    selectionWasChanged(true);
}

void KTQtWaveformView::clearSelection()
{
    mAnchor = mActive = mCursor;
    selectionWasChanged(true);
}

void KTQtWaveformView::zoomIn()
{
    zoomAroundSelection(kZoomStep);
}

void KTQtWaveformView::zoomOut()
{
    zoomAroundSelection(1.0 / kZoomStep);
}

void KTQtWaveformView::zoomToWholeBank()
{
    mViewport.showAll();
    viewportWasChanged();
}

bool KTQtWaveformView::event(QEvent* event)
{
    // The view's own Ctrl keys win over window shortcuts while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const int code = key.key();
        if ((key.modifiers() & Qt::ControlModifier)
            && (code == Qt::Key_A || code == Qt::Key_Plus || code == Qt::Key_Equal || code == Qt::Key_Minus
                || code == Qt::Key_0)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void KTQtWaveformView::keyPressEvent(QKeyEvent* event)
{
    if (mViewport.width() != width())
        mViewport.setWidth(width());
    if (!handleKey(*event))
        QWidget::keyPressEvent(event);
}

bool KTQtWaveformView::handleKey(const QKeyEvent& event)
{
    if (event.modifiers() & Qt::ControlModifier) {
        switch (event.key()) {
        case Qt::Key_A:
            selectAll();
            return true;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomIn();
            return true;
        case Qt::Key_Minus:
            zoomOut();
            return true;
        case Qt::Key_0:
            zoomToWholeBank();
            return true;
        default:
            return false;
        }
    }
    // Without a selection Escape is left to the window (a dialog closes).
    if (event.key() == Qt::Key_Escape && selection()) {
        clearSelection();
        return true;
    }
    return handleMoveKey(event);
}

bool KTQtWaveformView::handleMoveKey(const QKeyEvent& event)
{
    const bool extend = event.modifiers() & Qt::ShiftModifier;
    const std::size_t step = (event.modifiers() & Qt::AltModifier) ? 1 : mViewport.columnSamples();
    const std::optional<TLSampleRange> chosen = selection();
    std::size_t target = 0;
    switch (event.key()) {
    case Qt::Key_Left: // without Shift a selection collapses to its start
        target = !extend && chosen ? chosen->begin : mActive - std::min(mActive, step);
        break;
    case Qt::Key_Right:
        target = !extend && chosen ? chosen->end : std::min(mActive + step, mSamples.size());
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = mSamples.size();
        break;
    default:
        return false;
    }
    extend ? extendTo(target) : placeCursor(target);
    mViewport.reveal(target);
    viewportWasChanged();
    selectionWasChanged(true);
    return true;
}

void KTQtWaveformView::placeCursor(std::size_t boundary)
{
    mAnchor = mActive = mCursor = boundary;
}

void KTQtWaveformView::extendTo(std::size_t boundary)
{
    mActive = boundary;
}

void KTQtWaveformView::selectionWasChanged(bool finished)
{
    setAccessibleDescription(lengthText() + ". " + selectionText());
    update();
    emit selectionChanged(finished);
}

void KTQtWaveformView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (mViewport.width() != width())
        mViewport.setWidth(width());
    const std::size_t boundary = mViewport.boundaryAt(event->position().toPoint().x());
    (event->modifiers() & Qt::ShiftModifier) ? extendTo(boundary) : placeCursor(boundary);
    mPressX = event->position().toPoint().x();
    mDragging = true;
    mMoved = false;
    selectionWasChanged(false);
}

void KTQtWaveformView::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    // A click that wobbles a pixel or two places the cursor and selects nothing.
    if (!mDragging || (!mMoved && std::abs(x - mPressX) < QApplication::startDragDistance()))
        return;
    mMoved = true;
    const std::size_t boundary = mViewport.boundaryAt(x);
    extendTo(boundary);
    // Past either edge the view follows the pointer.
    mViewport.reveal(boundary);
    viewportWasChanged();
    selectionWasChanged(false);
}

void KTQtWaveformView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !mDragging)
        return QWidget::mouseReleaseEvent(event);
    mDragging = false;
    selectionWasChanged(true);
}

void KTQtWaveformView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const double notches = (angle.y() != 0 ? angle.y() : angle.x()) / 120.0;
    if (event->modifiers() & Qt::ControlModifier) {
        const int x = event->position().toPoint().x();
        mViewport.zoom(std::pow(kZoomStep, notches), mViewport.sampleAt(x), x);
    } else if (!mViewport.whole()) {
        const TLSampleRange shown = mViewport.range();
        const double moved = std::round(-notches * kScrollPerNotch * static_cast<double>(shown.size()));
        const double first = std::max(0.0, static_cast<double>(shown.begin) + moved);
        mViewport.scrollTo(static_cast<std::size_t>(first));
    } else {
        return event->ignore();
    }
    viewportWasChanged();
    event->accept();
}

void KTQtWaveformView::zoomAroundSelection(double factor)
{
    if (mViewport.width() != width())
        mViewport.setWidth(width());
    const TLSampleRange shown = mViewport.range();
    const std::optional<TLSampleRange> chosen = selection();
    const std::size_t centre = chosen ? chosen->begin + chosen->size() / 2 : shown.begin + shown.size() / 2;
    mViewport.zoom(factor, centre, mViewport.columnOf(centre).value_or(width() / 2));
    viewportWasChanged();
}

void KTQtWaveformView::viewportWasChanged()
{
    const TLSampleRange shown = mViewport.range();
    const QSignalBlocker quiet(mScrollBar);
    mScrollBar->setRange(0, static_cast<int>(mViewport.samples() - shown.size()));
    mScrollBar->setPageStep(static_cast<int>(shown.size()));
    mScrollBar->setSingleStep(static_cast<int>(std::max<std::size_t>(1, shown.size() / 16)));
    mScrollBar->setValue(static_cast<int>(shown.begin));
    mScrollBar->setHidden(mViewport.whole());
    update();
}

void KTQtWaveformView::resizeEvent(QResizeEvent*)
{
    const int barHeight = mScrollBar->sizeHint().height();
    mScrollBar->setGeometry(0, height() - barHeight, width(), barHeight);
    mViewport.setWidth(width());
    viewportWasChanged();
}

QRect KTQtWaveformView::waveArea() const
{
    return mScrollBar->isHidden() ? rect() : rect().adjusted(0, 0, 0, -mScrollBar->height());
}

const std::vector<KTQtWaveformView::Column>& KTQtWaveformView::visibleColumns()
{
    const ColumnsKey key{mViewport.range(), mViewport.width(), mSamplesVersion};
    if (key != mColumnsKey) {
        mColumns = columns(mSamples, key.range.begin, key.range.size(), key.width);
        mColumnsKey = key;
    }
    return mColumns;
}

void KTQtWaveformView::paintEvent(QPaintEvent* event)
{
    if (mViewport.width() != width())
        mViewport.setWidth(width());
    QPainter painter(this);
    const QRect area = waveArea();
    paintBackground(painter, area);
    paintWave(painter, area, event->rect() & area);
    paintMarks(painter, area);
    paintLabel(painter, area);
}

void KTQtWaveformView::paintBackground(QPainter& painter, const QRect& area) const
{
    const QPalette& colours = palette();
    // Past the sound's end the bank holds only silence: it is shaded.
    const int end = mSamples.empty() ? area.width()
                                     : static_cast<int>(std::max<std::int64_t>(mViewport.pixelOf(mSummary.length), 0));
    const QColor highlight = colours.color(QPalette::Highlight);
    const QColor sound = colours.color(QPalette::Base), silence = colours.color(QPalette::AlternateBase);
    const auto fill = [&](int left, int right, const QColor& colour) {
        if (left < right)
            painter.fillRect(QRect(left, area.top(), right - left, area.height()), colour);
    };
    fill(area.left(), end, sound);
    fill(end, area.right() + 1, silence);
    // The selection tints both, under the waveform.
    if (const std::optional<TLSampleRange> chosen = selection()) {
        const auto left = static_cast<int>(mViewport.pixelOf(chosen->begin));
        const int right = std::max(left + 1, static_cast<int>(mViewport.pixelOf(chosen->end)));
        fill(left, std::min(right, end), blended(sound, highlight, kSelectionAlpha));
        fill(std::max(left, end), right, blended(silence, highlight, kSelectionAlpha));
    }
    painter.setPen(colours.color(QPalette::Mid));
    const int middle = area.top() + area.height() / 2;
    painter.drawLine(area.left(), middle, area.right(), middle);
}

void KTQtWaveformView::paintWave(QPainter& painter, const QRect& area, const QRect& dirty)
{
    const std::vector<Column>& shown = visibleColumns();
    const double middle = area.top() + area.height() / 2.0;
    const double scale = (area.height() / 2.0 - 2.0) / 32768.0;
    const auto y = [&](int value) { return static_cast<int>(std::lround(middle - value * scale)); };
    QList<QLine> lines;
    const int last = std::min(dirty.right(), static_cast<int>(shown.size()) - 1);
    lines.reserve(std::max(last - dirty.left() + 1, 0));
    for (int x = std::max(dirty.left(), 0); x <= last; ++x) {
        const Column& column = shown[static_cast<std::size_t>(x)];
        const Column& before = shown[static_cast<std::size_t>(std::max(x - 1, 0))];
        // Reaching to the column before joins the trace where it jumps between samples.
        const int low = std::min<int>(column.min, before.max);
        const int high = std::max<int>(column.max, before.min);
        lines.append(QLine(x, y(high), x, y(low)));
    }
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawLines(lines);
}

void KTQtWaveformView::paintMarks(QPainter& painter, const QRect& area) const
{
    const QPalette& colours = palette();
    const TLSampleRange shown = mViewport.range();
    if (!selection() && mCursor >= shown.begin && mCursor <= shown.end) {
        const int x = std::clamp(static_cast<int>(mViewport.pixelOf(mCursor)), 0, area.width() - 1);
        painter.setPen(QPen(withAlpha(colours.color(QPalette::Text), 160), 1, Qt::DashLine));
        painter.drawLine(x, area.top(), x, area.bottom());
    }
    if (const std::optional<int> playhead = playheadColumn()) {
        painter.setPen(colours.color(QPalette::Text));
        painter.drawLine(*playhead, area.top(), *playhead, area.bottom());
    }
    if (hasFocus()) {
        painter.setPen(colours.color(QPalette::Highlight));
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
}

void KTQtWaveformView::paintLabel(QPainter& painter, const QRect& area) const
{
    // On a box of the background colour the label reads over any waveform, in any palette.
    const QString text = lengthText();
    const QFontMetrics metrics = fontMetrics();
    const QRect box(area.left() + 4, area.top() + 4, metrics.horizontalAdvance(text) + 8, metrics.height() + 2);
    painter.fillRect(box, withAlpha(palette().color(QPalette::Base), kLabelBoxAlpha));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(box.adjusted(4, 1, -4, -1), Qt::AlignLeft | Qt::AlignVCenter, text);
}
