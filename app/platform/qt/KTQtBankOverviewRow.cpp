#include "app/platform/qt/KTQtBankOverviewRow.h"

#include <QMouseEvent>
#include <QPainter>

KTQtBankOverviewRow::KTQtBankOverviewRow(int bank, QWidget* parent)
    : QWidget(parent)
    , mBank(bank)
{
    setMinimumWidth(kWaveformWidth + 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void KTQtBankOverviewRow::show(const std::vector<std::int16_t>& samples, double seconds, const QString& sampleName,
                               bool unsaved)
{
    if (samples != mSamples) {
        mSamples = samples;
        mColumns = KTQtWaveformView::columns(mSamples, kWaveformWidth);
    }
    mSeconds = seconds;
    mSampleName = sampleName;
    mUnsaved = unsaved;
    setAccessibleName(text());
    setToolTip(text());
    update();
}

QString KTQtBankOverviewRow::text() const
{
    const QString length = mSeconds > 0.0 ? tr("%1 s").arg(mSeconds, 0, 'f', 2) : tr("silent");
    const QString text = tr("Bank %1: %2, %3").arg(mBank + 1).arg(length, mSampleName);
    return mUnsaved ? tr("%1, unsaved").arg(text) : text;
}

void KTQtBankOverviewRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(mBank % 2 ? QPalette::AlternateBase : QPalette::Base));
    const int h = height();
    // The unsaved mark, then the waveform, the length and the name.
    if (mUnsaved) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(colours.color(QPalette::Highlight));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(8, h / 2.0), 3.5, 3.5);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    const int left = 18;
    const double middle = h / 2.0;
    const double scale = (h / 2.0 - 3.0) / 32768.0;
    painter.setPen(colours.color(QPalette::Highlight));
    for (std::size_t x = 0; x < mColumns.size(); ++x)
        painter.drawLine(QPointF(left + x + 0.5, middle - mColumns[x].max * scale),
                         QPointF(left + x + 0.5, middle - mColumns[x].min * scale));
    painter.setPen(colours.color(QPalette::Text));
    const QRect textArea = rect().adjusted(left + kWaveformWidth + 8, 0, -4, 0);
    const QString length = mSeconds > 0.0 ? tr("%1 s").arg(mSeconds, 0, 'f', 2) : tr("silent");
    const int lengthWidth = fontMetrics().horizontalAdvance(QStringLiteral("0.00 s ")) + 4;
    painter.drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft, length);
    const QRect nameArea = textArea.adjusted(lengthWidth, 0, 0, 0);
    painter.drawText(nameArea, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(mSampleName, Qt::ElideMiddle, nameArea.width()));
}

void KTQtBankOverviewRow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked(mBank);
}
