#pragma once

#include "device/TLFileOverview.h"

#include <QWidget>

#include <optional>
#include <vector>

// A whole file being imported from, drawn as its overview fills in, with the
// window that chooses what a bank takes of it. A drag moves the window; a
// click elsewhere centres it there. Left/Right move it a tenth of its length,
// Page Up/Page Down a whole length, Home/End to the file's ends. The window
// stays inside the file once the file's length is known.
class KTQtRegionOverview final : public QWidget {
    Q_OBJECT

public:
    explicit KTQtRegionOverview(QWidget* parent = nullptr);

    // The columns read so far; the rest of the file is drawn as unread.
    void setOverview(const TLFileOverview& overview);
    void setWindowLength(double seconds);
    // Not announced by windowMoved, which is the user's.
    void setWindowStart(double seconds);
    double windowStart() const { return mStart; }
    // The latest start that keeps the window inside the file; none while the file's length is unknown.
    std::optional<double> lastStart() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void windowMoved(double startSeconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Moves the window as the user asked, and says so.
    void moveWindow(double start);
    double clampedStart(double start) const;
    double secondsAt(double x) const;
    double pixelOf(double seconds) const;
    void describe();
    void paintColumns(QPainter& painter) const;

    std::vector<TLFileOverview::Column> mColumns;
    std::size_t mColumnsDone = 0;
    double mSeconds = 0.0;
    bool mLengthKnown = false;
    double mStart = 0.0;
    double mLength = 0.0;
    // While dragging: where in the window, in seconds from its start, the pointer holds it.
    std::optional<double> mGrip;
};
