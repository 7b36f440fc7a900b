#include "app/platform/qt/KTQtDropTarget.h"

#include "app/OrvaneEditorController.h"
#include "app/platform/qt/KTQtTableModel.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMainWindow>
#include <QMimeData>
#include <QTableView>
#include <QTimer>

KTQtDropTarget::KTQtDropTarget(OrvaneEditorController& controller, QMainWindow* window, QTableView* table,
                               std::function<bool()> active)
    : QObject(window)
    , mController(controller)
    , mWindow(window)
    , mTable(table)
    , mActive(std::move(active))
{
    mWindow->setAcceptDrops(true);
    mTable->viewport()->setAcceptDrops(true);
    mWindow->installEventFilter(this);
    mTable->viewport()->installEventFilter(this);
}

bool KTQtDropTarget::isDisk(const QString& path)
{
    const QString type = QFileInfo(path).suffix().toLower();
    return type == QLatin1String("mid") || type == QLatin1String("midi");
}

QString KTQtDropTarget::droppedFile(const QDropEvent& event)
{
    const QList<QUrl> urls = event.mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return {};
    return urls.front().toLocalFile();
}

int KTQtDropTarget::rowAt(QObject* watched, const QDropEvent& event) const
{
    if (watched != mTable->viewport())
        return -1;
    return mTable->indexAt(event.position().toPoint()).row();
}

bool KTQtDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto& drop = static_cast<QDropEvent&>(*event);
    if (drop.mimeData()->hasFormat(QString::fromLatin1(KTQtTableModel::kBankMimeType)))
        return takeBankDrag(watched, drop);
    const QString path = droppedFile(drop);
    const int row = rowAt(watched, drop);
    const bool disk = isDisk(path);
    // Over the table, a drag may still move onto a row.
    const bool possible = disk || (type == QEvent::DragEnter ? watched == mTable->viewport() : row >= 0);
    if (path.isEmpty() || !mActive() || !possible) {
        drop.ignore();
        return true;
    }
    drop.acceptProposedAction();
    if (type == QEvent::Drop) {
        // The drag ends first; the import or load may ask questions.
        QTimer::singleShot(0, this, [this, path, row, disk] {
            if (!mActive())
                return;
            if (disk)
                mController.openDiskAtPath(path.toStdString());
            else
                mController.importSampleAtPathIntoBank(path.toStdString(), row);
        });
    }
    return true;
}

bool KTQtDropTarget::takeBankDrag(QObject* watched, QDropEvent& drop)
{
    const int row = rowAt(watched, drop);
    bool number = false;
    const int from = drop.mimeData()->data(QString::fromLatin1(KTQtTableModel::kBankMimeType)).toInt(&number);
    if (!mActive() || !number || (drop.type() != QEvent::DragEnter && row < 0)) {
        drop.ignore();
        return true;
    }
    drop.setDropAction(Qt::MoveAction);
    drop.accept();
    if (drop.type() == QEvent::Drop && row != from)
        QTimer::singleShot(0, this, [this, from, row] {
            if (mActive())
                mController.swapBanks(from, row);
        });
    return true;
}
