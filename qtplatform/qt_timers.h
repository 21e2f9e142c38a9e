// The core's one-shot timers as QTimers on the thread that runs the Qt event loop.
#pragma once

#include <QObject>
#include <QTimer>
#include <map>

#include "platform/timers.h"

namespace qx {

class QtTimers final : public Timers {
  public:
    QtTimers() = default;
    // Stops every timer still running; none of their callbacks is called.
    ~QtTimers() override = default;
    QtTimers(const QtTimers&) = delete;
    QtTimers& operator=(const QtTimers&) = delete;

    TimerId Start(std::chrono::milliseconds delay, std::function<void()> callback) override;
    void Cancel(TimerId id) override;

    std::size_t RunningCount() const { return running_.size(); }

  private:
    // Parent of every timer: destroying it stops and deletes them all,
    // including those whose deletion is still pending.
    QObject owner_;
    std::map<TimerId, QTimer*> running_;
    TimerId lastId_ = 0;
};

}  // namespace qx
