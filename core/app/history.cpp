#include "app/history.h"

#include <utility>

namespace qx {

History::History(Codeplug initial, std::size_t limit) : limit_(limit < 1 ? 1 : limit) {
    states_.push_back({std::move(initial), StepLabel{}});
    MarkClean();
}

bool History::Commit(Codeplug next, StepLabel label) {
    if (next == Current()) return false;
    states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(position_) + 1, states_.end());
    states_.push_back({std::move(next), label});
    while (states_.size() > limit_ + 1) states_.pop_front();
    position_ = states_.size() - 1;
    return true;
}

std::optional<StepLabel> History::UndoStep() const {
    if (!CanUndo()) return std::nullopt;
    return states_[position_].label;
}

std::optional<StepLabel> History::RedoStep() const {
    if (!CanRedo()) return std::nullopt;
    return states_[position_ + 1].label;
}

bool History::Undo() {
    if (!CanUndo()) return false;
    --position_;
    return true;
}

bool History::Redo() {
    if (!CanRedo()) return false;
    ++position_;
    return true;
}

}  // namespace qx
