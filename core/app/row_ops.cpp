#include "app/row_ops.h"

#include <algorithm>
#include <array>

namespace qx {
namespace {

constexpr int kNone = -1;
// For each channel afterwards, the channel it was before (kNone: empty).
using Arrangement = std::array<int, kChannelRows>;

Arrangement Unchanged() {
    Arrangement from{};
    for (int i = 0; i < kChannelRows; ++i) from[static_cast<std::size_t>(i)] = i;
    return from;
}

Channel EmptyChannel() {
    Channel channel;
    channel.blank = true;
    return channel;
}

// Valid channels, each once, in order.
std::vector<int> Sorted(const std::vector<int>& channels) {
    std::vector<int> sorted;
    for (const int c : channels) {
        if (c >= 0 && c < kChannelRows) sorted.push_back(c);
    }
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    return sorted;
}

void Rearrange(Codeplug& codeplug, const Arrangement& from) {
    std::array<Channel, kChannelRows> before;
    std::array<int, kChannelRows> to;
    to.fill(kNone);
    for (int i = 0; i < kChannelRows; ++i) before[static_cast<std::size_t>(i)] = codeplug.Memory(i);
    for (int i = 0; i < kChannelRows; ++i) {
        const int old = from[static_cast<std::size_t>(i)];
        codeplug.Memory(i) = old == kNone ? EmptyChannel() : before[static_cast<std::size_t>(old)];
        if (old != kNone) to[static_cast<std::size_t>(old)] = i;
    }
    for (int row = 1; row <= kRowCount; ++row) {
        Priority& priority = codeplug.Row(row).priority;
        if (priority.kind() != Priority::Kind::Channel) continue;
        const int now = to[static_cast<std::size_t>(priority.channel())];
        priority = now == kNone ? Priority() : Priority::OfChannel(now);
    }
}

bool Apply(Document& doc, StepKind kind, const Arrangement& from) {
    if (from == Unchanged()) return false;
    Codeplug next = doc.codeplug();
    Rearrange(next, from);
    if (next == doc.codeplug()) return false;
    doc.Change({kind}, [&next](Codeplug& codeplug) { codeplug = next; });
    return true;
}

}  // namespace

bool InsertChannel(Document& doc, int channel, Ui& ui) {
    if (channel < 0 || channel >= kChannelRows) return false;
    if (doc.codeplug().Memory(kChannelRows - 1).inUse &&
        ui.Ask(doc.texts.insertLosesLast, Buttons::YesNo) != Answer::Yes)
        return false;
    Arrangement from{};
    for (int i = 0; i < kChannelRows; ++i)
        from[static_cast<std::size_t>(i)] = i < channel ? i : (i == channel ? kNone : i - 1);
    return Apply(doc, StepKind::InsertChannel, from);
}

bool DeleteChannels(Document& doc, const std::vector<int>& channels) {
    const std::vector<int> gone = Sorted(channels);
    if (gone.empty()) return false;
    Arrangement from{};
    from.fill(kNone);
    std::size_t next = 0;
    for (int old = 0; old < kChannelRows; ++old) {
        if (!std::binary_search(gone.begin(), gone.end(), old)) from[next++] = old;
    }
    return Apply(doc, StepKind::DeleteChannels, from);
}

std::vector<int> MovedChannels(const std::vector<int>& channels, int delta) {
    std::vector<int> moved = Sorted(channels);
    for (int& c : moved) c += delta;
    return moved;
}

bool MoveChannels(Document& doc, const std::vector<int>& channels, int delta) {
    const std::vector<int> moving = Sorted(channels);
    if (moving.empty() || (delta != -1 && delta != 1)) return false;
    if (moving.front() + delta < 0 || moving.back() + delta >= kChannelRows) return false;
    // Each moving channel takes its new place; the channels not moving keep
    // their order in the places left.
    Arrangement from{};
    from.fill(kNone);
    for (const int c : moving) from[static_cast<std::size_t>(c + delta)] = c;
    std::size_t place = 0;
    for (int old = 0; old < kChannelRows; ++old) {
        if (std::binary_search(moving.begin(), moving.end(), old)) continue;
        while (from[place] != kNone) ++place;
        from[place] = old;
    }
    return Apply(doc, StepKind::MoveChannels, from);
}

bool ClearChannels(Document& doc, const std::vector<int>& channels, StepKind kind) {
    const std::vector<int> cleared = Sorted(channels);
    if (cleared.empty()) return false;
    Arrangement from = Unchanged();
    for (const int c : cleared) from[static_cast<std::size_t>(c)] = kNone;
    return Apply(doc, kind, from);
}

}  // namespace qx
