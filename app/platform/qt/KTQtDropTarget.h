#pragma once

#include <QObject>
#include <QString>

#include <functional>

class OrvaneEditorController;
class QDropEvent;
class QMainWindow;
class QTableView;

// Files dropped on the window: an audio file on a bank's row is imported into
// that bank, a disk anywhere on the window is opened. A bank's row dropped on
// another swaps the two banks. Other drops are refused.
class KTQtDropTarget final : public QObject {
public:
    // active says whether the controller still takes actions.
    KTQtDropTarget(OrvaneEditorController& controller, QMainWindow* window, QTableView* table,
                   std::function<bool()> active);

    static bool isDisk(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The one local file a drag carries, or an empty string.
    static QString droppedFile(const QDropEvent& event);
    // The bank row under the drop, -1 when the drop is not over a row.
    int rowAt(QObject* watched, const QDropEvent& event) const;
    // A bank row dragged within the table: swapped on the drop.
    bool takeBankDrag(QObject* watched, QDropEvent& drop);

    OrvaneEditorController& mController;
    QMainWindow* mWindow;
    QTableView* mTable;
    std::function<bool()> mActive;
};
