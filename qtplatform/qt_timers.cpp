#include "qt_timers.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace qx {

Timers::TimerId QtTimers::Start(std::chrono::milliseconds delay, std::function<void()> callback) {
    // Ids count up and skip 0 and any id still running should they ever wrap.
    do {
        lastId_ = lastId_ == std::numeric_limits<TimerId>::max() ? 1 : lastId_ + 1;
    } while (running_.contains(lastId_));
    const TimerId id = lastId_;

    auto* timer = new QTimer(&owner_);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [this, id, timer, callback = std::move(callback)]() mutable {
                         // Forgotten before the callback runs, so a Cancel of
                         // this id from inside the callback does nothing.
                         running_.erase(id);
                         const std::function<void()> run = std::move(callback);
                         timer->deleteLater();
                         if (run) run();
                     });
    running_.emplace(id, timer);
    timer->start(std::max(delay, std::chrono::milliseconds(0)));
    return id;
}

void QtTimers::Cancel(TimerId id) {
    const auto it = running_.find(id);
    if (it == running_.end()) return;
    QTimer* timer = it->second;
    running_.erase(it);
    timer->stop();
    delete timer;
}

}  // namespace qx
