#include "link/simulated_link.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace qx {
namespace {

std::chrono::milliseconds WholeMilliseconds(std::chrono::microseconds span) {
    return std::chrono::ceil<std::chrono::milliseconds>(span);
}

}  // namespace

SimulatedLink::SimulatedLink(SimulatedRadio& radio, Timers& timers, int baud)
    : radio_(radio), timers_(timers), baud_(baud) {}

SimulatedLink::~SimulatedLink() {
    for (const Timers::TimerId id : pending_) timers_.Cancel(id);
}

std::string SimulatedLink::Open(const std::string& /*portName*/, const std::string& /*settings*/) {
    if (!openError_.empty()) {
        std::string error = std::move(openError_);
        openError_.clear();
        return error;
    }
    open_ = true;
    radio_.PortOpened();
    return "";
}

void SimulatedLink::Close() {
    for (const Timers::TimerId id : pending_) timers_.Cancel(id);
    pending_.clear();
    waiting_.clear();
    open_ = false;
}

void SimulatedLink::Disconnect() {
    // Pulling the cable of a closed port goes unnoticed, as with a real one.
    if (!open_) return;
    Close();
    if (events_ != nullptr) events_->OnLinkError("The simulated cable was disconnected.");
}

std::string SimulatedLink::Write(std::string_view bytes) {
    if (!open_) return "The port is not open.";
    bytesWritten_ += bytes.size();
    const std::vector<std::uint8_t> sent(bytes.begin(), bytes.end());
    std::vector<std::uint8_t> answer = radio_.Receive(sent);
    if (answer.empty()) return "";

    const auto delay = WholeMilliseconds(WireTime(bytes.size() + answer.size(), baud_));
    // The timer forgets its own id when it fires, so Close never cancels an
    // id the timers may have handed out again.
    auto id = std::make_shared<Timers::TimerId>(0);
    *id = timers_.Start(delay, [this, id, answer = std::move(answer)]() mutable {
        std::erase(pending_, *id);
        Arrive(std::move(answer));
    });
    pending_.push_back(*id);
    return "";
}

void SimulatedLink::Arrive(std::vector<std::uint8_t> bytes) {
    if (!open_) return;
    waiting_.insert(waiting_.end(), bytes.begin(), bytes.end());
    if (waiting_.size() < threshold_ || events_ == nullptr) return;
    // The callee may write again, and that may schedule more arrivals: the
    // waiting input is handed over before the call.
    const std::vector<std::uint8_t> delivered = std::exchange(waiting_, {});
    bytesDelivered_ += delivered.size();
    events_->OnBytes(delivered);
}

}  // namespace qx
