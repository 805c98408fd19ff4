#include "platform/qt/QtEventPump.h"

#include <QCoreApplication>
#include <utility>

namespace tess::qt {

QtEventPump::QtEventPump(Nanoseconds interval, TimeSource time, int callsPerCheck)
    : EventPump(callsPerCheck), interval_(interval), time_(std::move(time)), lastTurn_(now()) {}

QtEventPump::Nanoseconds QtEventPump::now() const {
    if (time_)
        return time_();
    return std::chrono::steady_clock::now().time_since_epoch();
}

void QtEventPump::doEvents() {
    ++turns_;
    QCoreApplication::processEvents();
    // Events were just processed: the next yield waits a full interval from here.
    lastTurn_ = now();
    restartCountdown();
}

void QtEventPump::yieldCheck() {
    if (now() - lastTurn_ < interval_)
        return;
    doEvents();
}

}  // namespace tess::qt
