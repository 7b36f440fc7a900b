#pragma once

#include "app/platform/KTWaveformView.h"
#include "app/platform/qt/KTWaveformViewport.h"
#include "device/TLBankSummary.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QScrollBar;

// The selected bank's sound: the smallest and largest sample of every pixel
// column, the sound's length up to its last non-zero sample, a playhead while
// it is heard, and the user's selection or cursor.
//
// Mouse: a drag selects, a click places the cursor, Shift+click extends.
// Keys: Left/Right move the cursor a column (with Alt a sample), Home/End to
// the bank's ends; with Shift they extend the selection instead; Escape clears
// it; Ctrl+A selects the whole bank. Zoom: Ctrl+wheel around the pointer,
// Ctrl+Plus (or Ctrl+=) and Ctrl+Minus around the selection or the view's
// centre, Ctrl+0 for the whole bank; the wheel alone scrolls a zoomed view.
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
    std::optional<TLSampleRange> selection() const override;
    // Not announced by selectionChanged, which is the user's.
    void setSelection(std::optional<TLSampleRange> range) override;
    std::size_t cursor() const override { return mCursor; }

    // The samples shown across the width: all of them unless zoomed in.
    TLSampleRange visibleRange() const { return mViewport.range(); }
    // The pixel column the playhead is drawn in, if it is shown.
    std::optional<int> playheadColumn() const;
    // Column x covers the samples from x * size / width up to (x + 1) * size / width.
    static std::vector<Column> columns(const std::vector<std::int16_t>& samples, int width);
    // The same for the samples first to first + visible.
    static std::vector<Column> columns(const std::vector<std::int16_t>& samples, std::size_t first,
                                       std::size_t visible, int width);
    // "30,000 samples, 0.68 s", or "Silent".
    QString lengthText() const;
    // "Selected 1,000 to 2,000: 1,000 samples, 22.68 ms", or "Cursor at 1,000 (22.68 ms)".
    QString selectionText() const;

    QSize sizeHint() const override;

public slots:
    void selectAll();
    void clearSelection();
    void zoomIn();
    void zoomOut();
    void zoomToWholeBank();

signals:
    // The user changed the selection or the cursor; finished is false while
    // the mouse drags, true when the mouse is released or a key is handled.
    void selectionChanged(bool finished);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What the cached columns were made for.
    struct ColumnsKey {
        TLSampleRange range;
        int width = -1;
        unsigned samplesVersion = 0;
        bool operator==(const ColumnsKey&) const = default;
    };

    bool handleKey(const QKeyEvent& event);
    bool handleMoveKey(const QKeyEvent& event);
    // The cursor (and both selection ends) go to the boundary.
    void placeCursor(std::size_t boundary);
    // The selection's moving end goes to the boundary; its other end stays.
    void extendTo(std::size_t boundary);
    void selectionWasChanged(bool finished);
    // Zooms by the factor around the selection's centre, or the view's.
    void zoomAroundSelection(double factor);
    void viewportWasChanged();
    QRect waveArea() const;
    const std::vector<Column>& visibleColumns();
    void paintBackground(QPainter& painter, const QRect& area) const;
    void paintWave(QPainter& painter, const QRect& area, const QRect& dirty);
    void paintMarks(QPainter& painter, const QRect& area) const;
    void paintLabel(QPainter& painter, const QRect& area) const;

    std::vector<std::int16_t> mSamples;
    unsigned mSamplesVersion = 0;
    std::optional<std::size_t> mPlayhead;
    TLBankSummary mSummary;
    KTWaveformViewport mViewport;
    QScrollBar* mScrollBar = nullptr;
    // The selection runs from the anchor to the active end, which keys and
    // drags move; equal ends select nothing.
    std::size_t mAnchor = 0;
    std::size_t mActive = 0;
    std::size_t mCursor = 0;
    // A press starts a drag, which selects once the pointer has moved from mPressX.
    bool mDragging = false;
    bool mMoved = false;
    int mPressX = 0;
    std::vector<Column> mColumns;
    ColumnsKey mColumnsKey;
};
