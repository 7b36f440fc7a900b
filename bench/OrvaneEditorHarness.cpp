// Runs the editor exactly as the program does for the start-up benchmark. When
// the main window is first exposed it prints "shown_us=<steady clock
// microseconds>" and quits with the Quit shortcut. Exits with the program's code.

#include "app/platform/qt/KTQtEditorWindows.h"
#include "app/platform/qt/OrvaneApplicationMain.h"

#include <QMainWindow>
#include <QTest>
#include <QTimer>
#include <QWindow>

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
    return OrvaneApplicationMain(argc, argv, [](KTQtEditorWindows& windows) {
        // Shown but not yet exposed: the server's expose event comes through the event loop.
        QMainWindow* main = windows.mainWindow();
        main->windowHandle()->installEventFilter(
            new FirstExposure(main, [main] { QTest::keyClick(main, Qt::Key_Q, Qt::ControlModifier); }));
    });
}
