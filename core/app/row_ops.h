// Whole-channel editing of the memory channels 0..99: insert, delete, move
// and clear. Each is one undo step. A priority naming a channel that moves
// follows it; one naming a channel deleted or cleared is switched off, so it
// never names a channel it did not mean.
#pragma once

#include <vector>

#include "app/document.h"
#include "platform/ui.h"

namespace qx {

// An empty channel at `channel`; the following ones move down one. When
// channel 99 is in use it would be lost: `ui` is asked (Yes goes on).
// False when nothing changed.
bool InsertChannel(Document& doc, int channel, Ui& ui);
// The channels (0..99, any order) are removed and the following ones move
// up; the freed channels at the end are empty.
bool DeleteChannels(Document& doc, const std::vector<int>& channels);
// Every channel moves one place up (delta -1) or down (+1), past the
// neighbour that is not moving. False, changing nothing, when one would
// leave 0..99.
bool MoveChannels(Document& doc, const std::vector<int>& channels, int delta);
// The channels become empty and not in use; `kind` names the step (a cut
// clears what it copied).
bool ClearChannels(Document& doc, const std::vector<int>& channels,
                   StepKind kind = StepKind::ClearChannels);

// Where the channels are after MoveChannels: for following the selection.
std::vector<int> MovedChannels(const std::vector<int>& channels, int delta);

}  // namespace qx
