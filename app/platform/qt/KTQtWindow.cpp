#include "app/platform/qt/KTQtWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

void KTQtWindow::center()
{
    QScreen* screen = mWindow->screen() ? mWindow->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize size = mWindow->isVisible() ? mWindow->frameSize() : mWindow->sizeHint().expandedTo(mWindow->size());
    mWindow->move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, screen->availableGeometry()).topLeft());
}

void KTQtWindow::makeKeyAndOrderFront(void*)
{
    mWindow->show();
    mWindow->raise();
    mWindow->activateWindow();
}

void KTQtWindow::orderOut(void*)
{
    mWindow->hide();
}

bool KTQtWindow::isVisible() const
{
    return mWindow->isVisible();
}

void KTQtWindow::setTitleWithRepresentedFilename(const std::string& filename)
{
    // "[*]" is where Qt shows the window's modified mark.
    mWindow->setWindowTitle(QString::fromStdString(filename) + QStringLiteral("[*]"));
}

void KTQtWindow::setDocumentEdited(bool edited)
{
    mWindow->setWindowModified(edited);
}
