// Runs the editor exactly as the program does and drives it the way a user
// would. When the main window is first exposed it prints
// "shown_us=<steady clock microseconds>"; given a folder, it then saves the
// main and about windows there as main-window.png and about-window.png; then
// it quits with the Quit shortcut. Exits with the program's code, or 1 when a
// picture could not be taken.
//   usage: OrvaneEditorHarness [FOLDER]

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"

#include <QAction>
#include <QDialog>
#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "ui_KTQtMainWindow.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

// Prints the moment the watched window is first exposed and then calls
// `shown` from the event loop.
class FirstExposure final : public QObject {
public:
    FirstExposure(QObject* parent, std::function<void()> shown) : QObject(parent), mShown(std::move(shown)) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!mShown || event->type() != QEvent::Expose || !static_cast<QWindow*>(watched)->isExposed())
            return false;
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("shown_us=%lld\n", (long long)std::chrono::duration_cast<std::chrono::microseconds>(now).count());
        std::fflush(stdout);
        QTimer::singleShot(0, this, std::exchange(mShown, nullptr));
        return false;
    }

private:
    std::function<void()> mShown;
};

} // namespace

int main(int argc, char** argv)
{
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int programArgc = 1;
    bool failed = false;
    const int result = OrvaneApplicationMain(programArgc, argv, [&](KTQtEditorWindows& windows) {
        // Shown but not yet exposed: the server's expose event comes through the event loop.
        QMainWindow* main = windows.mainWindow();
        main->windowHandle()->installEventFilter(new FirstExposure(main, [&windows, main, &folder, &failed] {
            QDialog* about = windows.aboutWindow();
            if (!folder.isEmpty()) {
                failed = !main->grab().save(folder + "/main-window.png");
                windows.mainUi().action_About->trigger();
                failed |= !QTest::qWaitForWindowExposed(about) || !about->grab().save(folder + "/about-window.png");
                about->hide();
                main->activateWindow();
                failed |= !QTest::qWaitForWindowActive(main);
            }
            QTest::keyClick(main, Qt::Key_Q, Qt::ControlModifier);
        }));
    });
    return result != 0 ? result : int(failed);
}
