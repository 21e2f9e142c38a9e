#include "signalling/two_tone_dialog.h"

#include <optional>
#include <vector>

#include "signalling/two_tone.h"
#include "util/text.h"

namespace qx {
namespace {

struct PairEntry {
    const char* text;
    PairTones tones;
};

constexpr int kA = 0;
constexpr int kB = 1;
constexpr int kC = 2;
constexpr int kD = 3;
constexpr int kNone = -1;

constexpr std::array<PairEntry, 15> kPairs = {{
    {"A-B", {kA, kB}},
    {"A-C", {kA, kC}},
    {"A-D", {kA, kD}},
    {"B-A", {kB, kA}},
    {"B-C", {kB, kC}},
    {"B-D", {kB, kD}},
    {"C-A", {kC, kA}},
    {"C-B", {kC, kB}},
    {"C-D", {kC, kD}},
    {"D-A", {kD, kA}},
    {"D-B", {kD, kB}},
    {"D-C", {kD, kC}},
    {"Long A", {kA, kNone}},
    {"Long B", {kB, kNone}},
    {"Long C", {kC, kNone}},
}};

// Where a stored option points past its list, these entries are shown (and
// saved again on OK).
constexpr int kPairFallback = 0;
constexpr int kResponseFallback = 0;
constexpr std::array<int, 4> kTimeFallbacks = {0, 0, 5, 10};
// time1..time3 are stored in tenths of a second from 0.5 s; the list starts there.
constexpr int kTimeOffset = 5;

// The lookup goes by position, not by text: the response texts come from the
// language file and need not differ from each other.
void SelectOrFallback(ListControl& list, long long index, int fallback) {
    const bool inRange = index >= 0 && index < static_cast<long long>(list.entries.size());
    list.Select(inRange ? static_cast<int>(index) : fallback);
}

std::uint8_t SelectedOr(const ListControl& list, int fallback) {
    return static_cast<std::uint8_t>(list.SelectedOr(fallback));
}

// "0.5", "0.6", .. "10.0"
std::vector<std::string> TimeEntries() {
    std::vector<std::string> entries;
    for (int tenths = 5; tenths <= 100; ++tenths) {
        entries.push_back(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
    }
    return entries;
}

std::string CodeToneText(std::uint8_t high, std::uint8_t low, std::uint8_t tenths) {
    const ToneDivisor divisor{high, low, tenths};
    if (divisor.IsNoTone()) return "";
    return std::to_string(FrequencyOfDivisor(divisor, ToneUse::Code));
}

// A missing own tone is shown as about 1000 Hz rather than as no tone.
ToneDivisor OwnToneOrDefault(std::uint8_t high, std::uint8_t low, std::uint8_t tenths) {
    const ToneDivisor divisor{high, low, tenths};
    return divisor.IsNoTone() ? ToneDivisor{7, 51, 0} : divisor;
}

}  // namespace

PairTones TonesOfPair(int pairIndex) {
    if (pairIndex < 0 || pairIndex >= static_cast<int>(kPairs.size())) return {};
    return kPairs[static_cast<std::size_t>(pairIndex)].tones;
}

std::string TypeToneKey(const std::string& current, char32_t key) {
    return TypeKey(current, key, DigitKey, kToneTextMaxLength);
}

TwoToneDialog::TwoToneDialog(Document& doc, const LanguageTexts& lang)
    : doc_(doc), working_(doc.codeplug().signalling) {
    const auto text = [&lang](const char* key) { return lang.LanguageText("OPTION", key); };
    captions_.window = text("60051");
    captions_.tabs = {text("60043"), text("60044")};
    captions_.pairLabel = text("60049");
    captions_.responseLabel = text("60050");
    captions_.timeLabels = {text("60045"), text("60046"), text("60047"), text("60048")};
    const std::string toneLabel = text("60056");
    captions_.toneLabels = {toneLabel + "A", toneLabel + "B", toneLabel + "C", toneLabel + "D"};
    captions_.ok = text("60024");
    captions_.cancel = text("60025");

    for (const PairEntry& pair : kPairs) pairList_.entries.emplace_back(pair.text);
    responseList_.entries = {text("60057"), text("60058"), text("60059")};
    for (int k = 0; k < 3; ++k) timeLists_[k].entries = TimeEntries();
    timeLists_[3].entries = NumberList(0, 2000, 100);

    grid_[0] = {text("60053"), text("60054"), text("60055")};
    for (int row = 1; row < kTwoToneGridRows; ++row) grid_[row][0] = std::to_string(row - 1);

    const TwoToneSettings& s = working_.twoTone;
    for (int code = 0; code < kTwoToneCodeCount; ++code) ShowCode(code);

    SelectOrFallback(pairList_, s.pairIndex, kPairFallback);
    SelectOrFallback(responseList_, s.responseMode, kResponseFallback);
    SelectOrFallback(timeLists_[0], s.time1 - kTimeOffset, kTimeFallbacks[0]);
    SelectOrFallback(timeLists_[1], s.time2 - kTimeOffset, kTimeFallbacks[1]);
    SelectOrFallback(timeLists_[2], s.time3 - kTimeOffset, kTimeFallbacks[2]);
    SelectOrFallback(timeLists_[3], s.time4, kTimeFallbacks[3]);

    EnableTonesOfPair(pairList_.selected);
    const PairTones pair = TonesOfPair(pairList_.selected);
    const ToneDivisor tone1 = OwnToneOrDefault(s.tone1High, s.tone1Low, s.tone1Tenths);
    const ToneDivisor tone2 = OwnToneOrDefault(s.tone2High, s.tone2Low, s.tone2Tenths);
    tones_[pair.first].text = std::to_string(WholeHzOfDivisor(tone1, ToneUse::OwnPair));
    if (pair.second != kNone) {
        tones_[pair.second].text = std::to_string(WholeHzOfDivisor(tone2, ToneUse::OwnPair));
    }
}

void TwoToneDialog::ShowCode(int code) {
    const TwoToneCode& c = working_.twoTone.codes[code];
    auto& row = grid_[code + 1];
    row[1] = CodeToneText(c.tone1High, c.tone1Low, c.tone1Tenths);
    row[2] = row[1].empty() ? "" : CodeToneText(c.tone2High, c.tone2Low, c.tone2Tenths);
}

void TwoToneDialog::EnableTonesOfPair(int pairIndex) {
    for (ToneField& tone : tones_) tone.enabled = false;
    const PairTones pair = TonesOfPair(pairIndex);
    if (pair.first != kNone) tones_[pair.first].enabled = true;
    if (pair.second != kNone) tones_[pair.second].enabled = true;
}

void TwoToneDialog::ChoosePair(int index) {
    if (pairList_.Select(index)) EnableTonesOfPair(index);
}

void TwoToneDialog::SelectResponse(int index) { responseList_.Select(index); }

void TwoToneDialog::SelectTime(int k, int index) {
    if (k >= 0 && k < static_cast<int>(timeLists_.size())) timeLists_[k].Select(index);
}

void TwoToneDialog::SetToneText(int i, const std::string& text) {
    if (i >= 0 && i < kToneFieldCount) tones_[i].text = text;
}

void TwoToneDialog::LeaveTone(int i) {
    if (i >= 0 && i < kToneFieldCount) tones_[i].text = NormaliseToneText(tones_[i].text);
}

GridCell TwoToneDialog::EnterCell(int row, int column) {
    if (row < 1 || row > kTwoToneCodeCount || column < 1 || column > 2) return current_;
    GridCell target{row, column};
    if (target == current_ && editor_.visible) return current_;
    // Committing first lets a tone 1 just typed into this row count below.
    CommitCell();
    if (target.column == 2 && grid_[row][1].empty()) target.column = 1;
    current_ = target;
    editor_.text = grid_[row][target.column];
    editor_.visible = true;
    enteredText_ = editor_.text;
    return current_;
}

void TwoToneDialog::SetEditorText(const std::string& text) { editor_.text = text; }

void TwoToneDialog::CommitCell() {
    if (current_.row < 1 || current_.column < 1) return;
    if (editor_.text == enteredText_) return;
    auto& row = grid_[current_.row];
    TwoToneCode& code = working_.twoTone.codes[current_.row - 1];
    const std::optional<int> hz = ToneValue(editor_.text);
    row[current_.column] = hz ? std::to_string(*hz) : "";
    const ToneDivisor divisor = hz ? DivisorOfFrequency(*hz, ToneUse::Code) : ToneDivisor{};
    if (current_.column == 1) {
        if (divisor.IsNoTone()) {
            // Without tone 1 the code is empty, tone 2 included.
            code = TwoToneCode{};
            row[2].clear();
        } else {
            code.tone1High = divisor.high;
            code.tone1Low = divisor.low;
            code.tone1Tenths = divisor.tenths;
        }
    } else {
        code.tone2High = divisor.high;
        code.tone2Low = divisor.low;
        // A cleared tone 2 keeps its tenths digit: high and low 0 already mean no tone.
        if (!divisor.IsNoTone()) code.tone2Tenths = divisor.tenths;
    }
    editor_.text = row[current_.column];
    enteredText_ = editor_.text;
}

void TwoToneDialog::GridScrolled() {
    CommitCell();
    editor_.visible = false;
}

void TwoToneDialog::CancelCell() {
    editor_.text = enteredText_;
    editor_.visible = false;
}

void TwoToneDialog::Ok() {
    TwoToneSettings& s = working_.twoTone;
    s.responseMode = SelectedOr(responseList_, kResponseFallback);
    s.time4 = SelectedOr(timeLists_[3], kTimeFallbacks[3]);
    s.time3 = static_cast<std::uint8_t>(SelectedOr(timeLists_[2], kTimeFallbacks[2]) + kTimeOffset);
    s.time1 = static_cast<std::uint8_t>(SelectedOr(timeLists_[0], kTimeFallbacks[0]) + kTimeOffset);
    s.time2 = static_cast<std::uint8_t>(SelectedOr(timeLists_[1], kTimeFallbacks[1]) + kTimeOffset);

    for (ToneField& tone : tones_) tone.text = NormaliseToneText(tone.text);

    s.pairIndex = SelectedOr(pairList_, kPairFallback);
    const PairTones pair = TonesOfPair(s.pairIndex);
    const auto frequency = [this](int field) {
        return field == kNone ? 0 : ToneValue(tones_[field].text).value_or(kDefaultToneHz);
    };
    const ToneDivisor tone1 = DivisorOfFrequency(frequency(pair.first), ToneUse::OwnPair);
    s.tone1High = tone1.high;
    s.tone1Low = tone1.low;
    s.tone1Tenths = tone1.tenths;
    const int second = frequency(pair.second);
    const ToneDivisor tone2 =
        second > 0 ? DivisorOfFrequency(second, ToneUse::OwnPair) : ToneDivisor{};
    s.tone2High = tone2.high;
    s.tone2Low = tone2.low;
    s.tone2Tenths = tone2.tenths;

    CommitCell();

    doc_.Change(StepLabel{StepKind::TwoTone},
                [this](Codeplug& codeplug) { codeplug.signalling = working_; });
}

void TwoToneDialog::Cancel() { working_ = doc_.codeplug().signalling; }

}  // namespace qx
