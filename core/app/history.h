// The undo history of a document: every change is one step holding the
// codeplug after it, and "modified" is whether the current codeplug differs
// from the one last saved, opened, read or written.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "codeplug/codeplug.h"

namespace qx {

// What a step did, for the Undo and Redo entries ("Undo: channel 5 Rx
// frequency"); the views turn it into words of the chosen language.
enum class StepKind : std::uint8_t {
    ChannelEdit,   // one field of one row; `row` and `field` say which
    ChannelOnOff,  // a row switched on or off
    Model,
    Options,
    AutoDialer,
    Dtmf,
    TwoTone,
    FiveTone,
    New,
    Open,
    Read,
    InsertChannel,
    DeleteChannels,
    MoveChannels,
    ClearChannels,
    ImportChannels,
    PasteChannels,
    CutChannels,
    FillChannels,  // one column over several rows; `row` and `field` say which was edited
    Other,
};

struct StepLabel {
    StepKind kind = StepKind::Other;
    int row = 0;
    ChannelField field = ChannelField::Name;
    friend bool operator==(const StepLabel&, const StepLabel&) = default;
};

class History {
  public:
    static constexpr std::size_t kDefaultLimit = 256;

    explicit History(Codeplug initial, std::size_t limit = kDefaultLimit);

    const Codeplug& Current() const { return states_[position_].codeplug; }

    // Makes `next` the current codeplug as one step. A codeplug equal to the
    // current one records nothing and returns false. Steps that were undone
    // are dropped; beyond the limit the oldest steps are forgotten.
    bool Commit(Codeplug next, StepLabel label);

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ + 1 < states_.size(); }
    // The step Undo would take back and the step Redo would do again.
    std::optional<StepLabel> UndoStep() const;
    std::optional<StepLabel> RedoStep() const;
    bool Undo();
    bool Redo();

    // The current codeplug is what the file or the radio now holds.
    void MarkClean() { clean_ = Current(); }
    // `stored` is what the file or the radio now holds (a write may end after
    // further edits).
    void MarkClean(const Codeplug& stored) { clean_ = stored; }
    bool Modified() const { return !clean_ || *clean_ != Current(); }
    std::size_t StepCount() const { return states_.size() - 1; }

  private:
    struct State {
        Codeplug codeplug;
        StepLabel label;  // the step that led here
    };
    std::deque<State> states_;
    std::size_t position_ = 0;
    std::size_t limit_;
    std::optional<Codeplug> clean_;
};

}  // namespace qx
