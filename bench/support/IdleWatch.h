#pragma once
// The moment a start-up child reports: its window exposed, its event queue run empty and what it
// was asked to paint painted. Shared by the start-up benchmark's children and the bare window in
// an executable of its own, so every side is timed to the same point.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdint>
#include <cstdio>
#include <ctime>

namespace benchsupport {

inline int64_t MonotonicNs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Writes the clock once the window is exposed and the queue has run empty, then ends the loop.
class CIdleWatch : public QObject
{
public:
    explicit CIdleWatch(QWidget& window)
    {
        if (QWindow* w = window.windowHandle(); w && w->isExposed())
            Settle();
        else if (w)
            w->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            Settle();
        }
        return false;
    }

private:
    void Settle()
    {
        // A zero timer runs once every event already queued has been handled. Layouts and paints
        // the window still has to do wait in the queue at a lower priority than the timer: they
        // are done before the clock is read, so a window that paints part of itself again counts
        // that paint.
        QTimer::singleShot(0, [] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
            std::printf("%lld\n", static_cast<long long>(MonotonicNs()));
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
};

// A bare Qt main window as large as the program's main window opens, so both paint and send the
// same area, reporting when it is idle.
inline int RunBareWindow(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QMainWindow window;
    window.resize(1100, 760);
    window.show();
    CIdleWatch watch(window);
    return qapp.exec();
}

} // namespace benchsupport
