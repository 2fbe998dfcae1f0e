// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a program started by the start-up harness tells it when its start-up ended: the moment
// its first paint of the watched widget in the finished state began and the moment control
// was back in the event loop after it, on the system-wide monotonic clock, on stdout.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>

namespace corvane {

inline constexpr int kGiveUpMs = 30000;

// Nanoseconds on the system-wide monotonic clock, comparable between processes.
inline long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Ends a child's measurement at the first paint of `widget` once `finished` holds: `report`
// runs once control is back in the event loop after that paint (the rest of that frame and
// of the handler that painted it included). The paint is the program's own; the watch only
// delivers it itself to see it end.
class FirstFinalPaint : public QObject {
public:
    FirstFinalPaint(QWidget* widget, std::function<bool()> finished, std::function<void()> report)
        : widget_(widget), finished_(std::move(finished)), report_(std::move(report)) {
        widget_->installEventFilter(this);
    }

    long long started = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != widget_ || event->type() != QEvent::Paint || !finished_())
            return false;
        started = MonotonicNs();
        widget_->removeEventFilter(this);
        QCoreApplication::sendEvent(widget_, event);
        QMetaObject::invokeMethod(this, report_, Qt::QueuedConnection);
        return true;
    }

private:
    QWidget* widget_;
    std::function<bool()> finished_;
    std::function<void()> report_;
};

inline void PrintMoments(long long filled, const QWidget& shown, int rows) {
    const long long painted = MonotonicNs();
    std::printf("filled_ns %lld painted_ns %lld rows %d viewport %dx%d\n", filled, painted, rows,
                shown.width(), shown.height());
    std::fflush(stdout);
}

// A message box (a file that does not load) would wait for a click that never comes, and a
// program that never paints its final state must not pass as a fast one.
inline void GiveUpLater() {
    QTimer::singleShot(kGiveUpMs, [] {
        std::fprintf(stderr, "start-up did not paint within %d ms\n", kGiveUpMs);
        std::_Exit(3);
    });
}

} // namespace corvane
