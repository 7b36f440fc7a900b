// Runs the editor exactly as the program does and drives it from outside, the
// way a user would: waits until the main window is on screen, optionally saves
// screenshots of the main and about windows, prints when the window was first
// shown, and quits with the Quit shortcut. The exit code is the program's.
//
// Options (this harness only; the program itself takes none):
//   --screenshot PATH        main window as PNG
//   --about-screenshot PATH  about window as PNG
//   --report-shown           print "shown_us=<steady clock microseconds>"

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "ui_KTQtMainWindow.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string screenshot;
    std::string aboutScreenshot;
    bool reportShown = false;
};

// Notes the moment the window is first exposed and runs the rest once.
class ExposeWatcher final : public QObject {
public:
    ExposeWatcher(KTQtEditorWindows& windows, Options options)
        : QObject(windows.mainWindow())
        , mWindows(windows)
        , mOptions(std::move(options))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && !mDone) {
            auto* window = static_cast<QWindow*>(watched);
            if (window->isExposed()) {
                mDone = true;
                mShown = std::chrono::steady_clock::now();
                QTimer::singleShot(0, this, [this] { afterShown(); });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void afterShown()
    {
        QMainWindow* main = mWindows.mainWindow();
        if (!mOptions.screenshot.empty())
            main->grab().save(QString::fromStdString(mOptions.screenshot), "PNG");
        if (!mOptions.aboutScreenshot.empty()) {
            mWindows.mainUi().action_About->trigger();
            if (!QTest::qWaitForWindowExposed(mWindows.aboutWindow()))
                std::fprintf(stderr, "the about window did not appear\n");
            mWindows.aboutWindow()->grab().save(QString::fromStdString(mOptions.aboutScreenshot), "PNG");
            mWindows.aboutWindow()->hide();
            main->activateWindow();
            if (!QTest::qWaitForWindowActive(main))
                std::fprintf(stderr, "the main window did not become active again\n");
        }
        if (mOptions.reportShown) {
            const auto us = std::chrono::duration_cast<std::chrono::microseconds>(mShown.time_since_epoch());
            std::printf("shown_us=%lld\n", static_cast<long long>(us.count()));
            std::fflush(stdout);
        }
        QTest::keyClick(main, Qt::Key_Q, Qt::ControlModifier);
    }

    KTQtEditorWindows& mWindows;
    Options mOptions;
    bool mDone = false;
    std::chrono::steady_clock::time_point mShown;
};

} // namespace

int main(int argc, char** argv)
{
    Options options;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            options.screenshot = argv[++i];
        else if (std::strcmp(argv[i], "--about-screenshot") == 0 && i + 1 < argc)
            options.aboutScreenshot = argv[++i];
        else if (std::strcmp(argv[i], "--report-shown") == 0)
            options.reportShown = true;
        else
            rest.push_back(argv[i]);
    }
    int restCount = static_cast<int>(rest.size());
    rest.push_back(nullptr);

    return OrvaneApplicationMain(restCount, rest.data(), [&options](KTQtEditorWindows& windows) {
        auto* watcher = new ExposeWatcher(windows, options);
        QWindow* handle = windows.mainWindow()->windowHandle();
        handle->installEventFilter(watcher);
        if (handle->isExposed())
            QCoreApplication::postEvent(handle, new QExposeEvent(QRegion(QRect(QPoint(), handle->size()))));
    });
}
