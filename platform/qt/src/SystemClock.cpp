#include "platform/qt/SystemClock.h"

#include <QDateTime>
#include <chrono>

namespace tess::qt {

std::uint32_t SystemClock::tickCount() const {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

DateTime SystemClock::now() const {
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime tm = t.time();
    return DateTime{d.year(), d.month(), d.day(), tm.hour(), tm.minute(), tm.second(), tm.msec()};
}

}  // namespace tess::qt
