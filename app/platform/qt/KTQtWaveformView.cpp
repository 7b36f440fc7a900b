#include "app/platform/qt/KTQtWaveformView.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>

KTQtWaveformView::KTQtWaveformView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(96);
    setAccessibleName(tr("Waveform of the selected bank"));
}

void KTQtWaveformView::setSamples(const std::vector<std::int16_t>& samples)
{
    mSamples = samples;
    mSummary = TLBankSummary::of(mSamples);
    mColumnsWidth = -1;
    setAccessibleDescription(lengthText());
    update();
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

std::optional<int> KTQtWaveformView::playheadColumn() const
{
    if (!mPlayhead || mSamples.empty())
        return std::nullopt;
    return static_cast<int>(static_cast<double>(*mPlayhead) * width() / static_cast<double>(mSamples.size()));
}

std::vector<KTQtWaveformView::Column> KTQtWaveformView::columns(const std::vector<std::int16_t>& samples, int width)
{
    std::vector<Column> result(static_cast<std::size_t>(std::max(width, 0)));
    const std::size_t size = samples.size();
    for (std::size_t x = 0; x < result.size() && size > 0; ++x) {
        const std::size_t first = x * size / result.size();
        const std::size_t end = std::max(first + 1, (x + 1) * size / result.size());
        const auto [low, high] = std::minmax_element(samples.begin() + static_cast<std::ptrdiff_t>(first),
                                                     samples.begin() + static_cast<std::ptrdiff_t>(end));
        result[x] = {*low, *high};
    }
    return result;
}

QString KTQtWaveformView::lengthText() const
{
    if (mSummary.length == 0)
        return tr("Silent");
    return tr("%1 samples, %2 s")
        .arg(QLocale(QLocale::English).toString(static_cast<qulonglong>(mSummary.length)))
        .arg(mSummary.seconds(), 0, 'f', 2);
}

QSize KTQtWaveformView::sizeHint() const
{
    return {640, 140};
}

void KTQtWaveformView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    const int width = this->width();
    const double middle = height() / 2.0;
    const double scale = (height() / 2.0 - 2.0) / 32768.0;
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(QPointF(0, middle), QPointF(width, middle));

    if (mColumnsWidth != width) {
        mColumns = columns(mSamples, width);
        mColumnsWidth = width;
    }
    // Past the sound's end the bank holds only silence: shade it.
    if (!mSamples.empty()) {
        const int end = static_cast<int>(static_cast<double>(mSummary.length) * width / mSamples.size());
        painter.fillRect(QRect(end, 0, width - end, height()), colours.color(QPalette::AlternateBase));
    }
    painter.setPen(colours.color(QPalette::Highlight));
    for (int x = 0; x < static_cast<int>(mColumns.size()); ++x) {
        const Column& column = mColumns[static_cast<std::size_t>(x)];
        painter.drawLine(QPointF(x + 0.5, middle - column.max * scale), QPointF(x + 0.5, middle - column.min * scale));
    }
    if (const std::optional<int> playhead = playheadColumn()) {
        painter.setPen(colours.color(QPalette::Text));
        painter.drawLine(QPointF(*playhead + 0.5, 0), QPointF(*playhead + 0.5, height()));
    }
    painter.setPen(colours.color(QPalette::Text));
    painter.drawText(rect().adjusted(6, 4, -6, -4), Qt::AlignTop | Qt::AlignLeft, lengthText());
}
