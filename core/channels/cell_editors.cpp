#include "channels/cell_editors.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "app/channel_ops.h"
#include "app/list_control.h"
#include "codeplug/defaults.h"
#include "codeplug/step_rounding.h"
#include "codeplug/value_lists.h"
#include "files/project_codec.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

// Grid columns 2..16 show the record's fields 2..16.
constexpr bool SameNumber(Column column, ProjectField field) {
    return static_cast<int>(column) == static_cast<int>(field);
}
static_assert(SameNumber(kColName, kFieldName) && SameNumber(kColStep, kFieldStep) &&
              SameNumber(kColRxFreq, kFieldRxFrequency) && SameNumber(kColShift, kFieldShift) &&
              SameNumber(kColOptSignal, kFieldSignalKind));

const std::vector<std::string> kOffOn = {"off", "on"};
const std::vector<std::string> kToneKinds = {"off", "CTCSS", "DCS"};
const std::vector<std::string> kDtmfCodes = {"C0", "C1", "C2", "C3", "C4", "C5", "C6", "CP"};
const std::vector<std::string> kPttIdModes = {"OFF", "BOT", "EOT", "BOTH"};
const std::vector<std::string> kDtmfAniModes = {"OFF", "ON"};

const std::vector<std::string>& NumberedCodes() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> l;
        for (int i = 0; i < 100; ++i) l.push_back(std::to_string(i));
        return l;
    }();
    return list;
}

bool IsLiveRow(const Document& doc, int row) {
    return row == kCallRow || row == kVfoRow || doc.codeplug().Row(row).inUse;
}

// The row the commits change: the open row edit, or one begun on the current cell.
Channel& Edited(Document& doc) {
    if (!doc.EditingRow()) doc.BeginRowEdit(doc.currentRow);
    return doc.EditedChannel();
}

Tone& EditedTone(Document& doc) {
    Channel& channel = Edited(doc);
    return doc.currentColumn == kColTxTone ? channel.txTone : channel.rxTone;
}

EditorView TextEditor(const std::string& name, const std::string& text, int maxLength) {
    return EditorView{EditorKind::Text, name, -1, {}, text, maxLength};
}

// A list editor opens on the cell's own value, so leaving it without a choice
// keeps the cell as it was.
EditorView ListEditor(const std::string& name, std::vector<std::string> entries,
                      const std::string& current) {
    std::string shown = ListItemMatchOrFirst(entries, current);
    return EditorView{EditorKind::List, name, -1, std::move(entries), std::move(shown), 0};
}

EditorView CodeList(const std::string& name, int index, const std::vector<std::string>& entries,
                    std::optional<std::uint8_t> position) {
    return EditorView{
        EditorKind::List, name, index, entries, ListItemOrFirst(entries, position.value_or(0)), 0};
}

std::string ToneKindOf(const Tone& tone) {
    switch (tone.kind()) {
        case Tone::Kind::Ctcss:
            return "CTCSS";
        case Tone::Kind::Dcs:
            return "DCS";
        default:
            return "off";
    }
}

// Whether a cell of a row has an editor: the VFO has no name, and channel 99,
// PL, PH, the call channel and the VFO no scan skip.
bool HasEditor(int row, int column) {
    if (column == kColName) return row <= kCallRow;
    if (column == kColScanSkip) return row <= kChannelRows - 1;
    return column > kColStatus && column <= kColOptSignal;
}

EditorView OpenEditor(Document& doc, int row, int column) {
    if (!HasEditor(row, column)) return {};
    const std::string cell = CellText(doc, row, column);
    const Channel& channel = doc.ShownRow(row);
    switch (column) {
        case kColName:
            doc.gridNotice = NameLeftText(doc.texts, cell);
            return TextEditor("TxtName", cell, kNameMaxLength);
        case kColStep:
            return ListEditor("ComboRef", StepList(), cell);
        case kColRxFreq:
            return TextEditor("TxtRxFreq", cell, kFrequencyMaxLength);
        case kColTxFreq:
            return TextEditor("TxtTxFreq", cell, kFrequencyMaxLength);
        case kColRxTone:
            return ListEditor("ComboCTCSSDCS", kToneKinds, ToneKindOf(channel.rxTone));
        case kColTxTone:
            return ListEditor("ComboCTCSSDCS", kToneKinds, ToneKindOf(channel.txTone));
        case kColBandwidth:
            return ListEditor("ComboWN", {doc.texts.wide, doc.texts.narrow}, cell);
        case kColPacMode:
            return ListEditor("ComboPACMOD", kOffOn, cell);
        case kColDcsDetect:
            return ListEditor("ComboDCSDET", kOffOn, cell);
        case kColScanSkip:
            return ListEditor("ComboSCNSkp", {doc.texts.scanSkipOff, doc.texts.scanSkipOn}, cell);
        case kColPriority: {
            std::vector<std::string> entries = PriorityList(doc);
            std::string shown = "off";
            for (const auto& entry : entries) {
                if (entry.substr(0, entry.find(':')) == cell) shown = entry;
            }
            return EditorView{EditorKind::List, "ComboPRI", -1, std::move(entries), shown, 0};
        }
        case kColBcl:
            return ListEditor("ComboBCL", kOffOn, cell);
        case kColAni:
            return ListEditor("ComboANI", kOffOn, cell);
        case kColShift:
            return ListEditor("ComboShift", kOffOn, cell);
        case kColOptSignal:  // a type the radio does not offer shows "None"
            return ListEditor("ComboOptSignal", doc.optSignalList, cell);
        default:
            return {};
    }
}

// A new step puts the row's frequencies on its grid.
void SetStep(Channel& channel, Step step) {
    channel.step = step;
    channel.rx = channel.rx.RoundedTo(step);
    channel.tx = channel.tx.RoundedTo(step);
}

// A new Rx: a repeater keeps its offset when the moved Tx is one the radio
// can send; otherwise Tx follows Rx as on a simplex row.
void MoveRx(Channel& channel, Frequency rx, int model) {
    const Offset offset = channel.tx - channel.rx;
    channel.rx = rx;
    if (offset.hz != 0 && rx.Hz() + offset.hz >= 0) {
        const Frequency moved = (rx + offset).RoundedTo(channel.step);
        if (CheckTxFreq(model, moved.ToString()).inBand) {
            channel.tx = moved;
            return;
        }
    }
    if (CheckTxFreq(model, rx.ToString()).inBand) channel.tx = rx;
}

// A frequency on the grid of `step`, kept as it is when it already is.
Frequency OnStep(Frequency frequency, Step step) {
    const Frequency rounded = frequency.RoundedTo(step);
    return rounded.Hz() == frequency.Hz() ? frequency : rounded;
}

// Row `to` takes the value `from` has in the grid column, as an editor
// choosing it on `to` would set it.
void TakeColumn(Channel& to, const Channel& from, int column, int model) {
    switch (column) {
        case kColName:
            to.name = from.name;
            break;
        case kColStep:
            SetStep(to, from.step);
            break;
        case kColRxFreq:
            MoveRx(to, OnStep(from.rx, to.step), model);
            break;
        case kColTxFreq:
            to.tx = OnStep(from.tx, to.step);
            break;
        case kColRxTone:
            to.rxTone = from.rxTone;
            break;
        case kColTxTone:
            to.txTone = from.txTone;
            break;
        case kColBandwidth:
            to.bandwidth = from.bandwidth;
            break;
        case kColPacMode:
            to.pacMode = from.pacMode;
            break;
        case kColDcsDetect:
            to.dcsDetect = from.dcsDetect;
            break;
        case kColScanSkip:
            to.scanSkip = from.scanSkip;
            break;
        case kColPriority:
            to.priority = from.priority;
            break;
        case kColBcl:
            to.bcl = from.bcl;
            break;
        case kColAni:
            to.ani = from.ani;
            break;
        case kColShift:
            to.shift = from.shift;
            break;
        case kColOptSignal:
            to.signal = from.signal;
            break;
        default:
            break;
    }
}

// The entry rounded to the row's step, or nullopt after telling the user why
// it cannot be taken (not a number, outside the model's band). A refused
// entry on a row not in use drops the row edit, so the row stays off.
std::optional<Frequency> AcceptFrequency(Document& doc, const std::string& text, Ui& ui, bool rx) {
    doc.gridNotice.clear();
    const auto refuse = [&](const std::string& message) -> std::optional<Frequency> {
        if (doc.EditingRow() && !IsLiveRow(doc, doc.EditedRow())) doc.CancelRowEdit();
        ui.ShowMessage(message);
        return std::nullopt;
    };
    if (!IsNumeric(text)) return refuse(doc.texts.Message(9005));
    const BandCheck check = rx ? CheckRxFreq(doc.model(), text) : CheckTxFreq(doc.model(), text);
    if (!check.inBand) return refuse(doc.texts.Message(rx ? 9006 : 9009) + check.rangeText);
    const Step step = Edited(doc).step;
    const auto stored = Frequency::Parse(AdjustRxFreqByStep(text, StepText(step)));
    const auto typed = Frequency::Parse(text);
    if (stored && typed && stored->Hz() != typed->Hz()) {
        // The typed value as the grid shows frequencies: "146.94" as "146.9400".
        const Frequency shown = Frequency::FromHz(typed->Hz(), std::max(4, typed->Decimals()));
        doc.gridNotice = FillPlaceholders(doc.texts.gridRounded,
                                          {shown.ToString(), StepText(step), stored->ToString()});
    }
    return stored;
}

}  // namespace

ChannelField FieldOfColumn(int column) {
    if (column < kColName || column > kColOptSignal) return ChannelField::Name;
    return static_cast<ChannelField>(column - kColName);
}

std::string CellText(const Document& doc, int row, int column) {
    if (row < 1 || row > kRowCount) return {};
    const Channel& channel = doc.ShownRow(row);
    if (column == kColLabel) {
        if (row <= kChannelRows) return std::to_string(row - 1);
        return row == kPlRow ? "PL" : row == kPhRow ? "PH" : row == kCallRow ? "C" : "V";
    }
    const bool special = row >= kCallRow;
    if (column == kColStatus) {
        if (special) return {};
        return channel.inUse ? doc.texts.active : doc.texts.inactive;
    }
    if (!special && !channel.inUse) return kInactiveCell;
    // The grid shows the file's texts, but the language's words for the
    // bandwidth and scan skip; grid columns 2..16 are the record's fields.
    switch (column) {
        case kColBandwidth:
            return channel.bandwidth == Bandwidth::Narrow ? doc.texts.narrow : doc.texts.wide;
        case kColScanSkip:
            return channel.scanSkip ? doc.texts.scanSkipOn : doc.texts.scanSkipOff;
        default:
            return ProjectFieldText(channel, column);
    }
}

EditorView CellClicked(Document& doc, int row, int column) {
    if (row < 1 || row > kRowCount || column < 0 || column > kColOptSignal) return {};
    doc.CancelRowEdit();
    doc.currentRow = row;
    doc.currentColumn = column;
    if (column == kColStatus && row <= kPhRow) ToggleRowStatus(doc, row);
    if (!IsLiveRow(doc, row)) return {};
    return OpenCellEditor(doc, row, column);
}

EditorView OpenCellEditor(Document& doc, int row, int column) {
    if (row < 1 || row > kRowCount || column <= kColStatus || column > kColOptSignal) return {};
    doc.CancelRowEdit();
    doc.currentRow = row;
    doc.currentColumn = column;
    // The editor opens on the working copy, so a row not in use shows the
    // values it would have when switched on.
    doc.BeginRowEdit(row);
    if (!IsLiveRow(doc, row)) PutInUse(doc.EditedChannel(), doc.model());
    EditorView view = OpenEditor(doc, row, column);
    if (view.kind == EditorKind::None) doc.CancelRowEdit();
    return view;
}

EditorView CellEntered(Document& doc, int row, int column) {
    if (column == kColStatus) return CellClicked(doc, row, column);
    return OpenCellEditor(doc, row, column);
}

bool StartsCellEdit(char32_t key) { return key >= 0x20 && key != 0x7f; }

void EndCellEdit(Document& doc) {
    if (doc.currentColumn == kColName) doc.gridNotice.clear();
    doc.EndRowEdit(FieldOfColumn(doc.currentColumn));
}

void EndCellEditOver(Document& doc, const std::vector<int>& rows) {
    const int source = doc.EditedRow();
    const int column = doc.currentColumn;
    std::vector<int> others;
    for (const int row : rows) {
        if (row != source && row >= 1 && row <= kRowCount && IsLiveRow(doc, row) &&
            HasEditor(row, column) && std::find(others.begin(), others.end(), row) == others.end())
            others.push_back(row);
    }
    // An editor left as it opened fills nothing: a selection made to copy
    // must not change the rows it covers.
    if (!doc.EditingRow() || others.empty() || doc.EditedChannel() == doc.codeplug().Row(source)) {
        EndCellEdit(doc);
        return;
    }
    if (column == kColName) doc.gridNotice.clear();
    const Channel from = doc.EditedChannel();
    doc.Change({StepKind::FillChannels, source, FieldOfColumn(column)}, [&](Codeplug& codeplug) {
        codeplug.Row(source) = from;
        for (const int row : others) TakeColumn(codeplug.Row(row), from, column, codeplug.model);
    });
}

void CancelCellEdit(Document& doc) {
    if (doc.currentColumn == kColName) doc.gridNotice.clear();
    doc.CancelRowEdit();
    doc.codeListsShown = false;
}

void GridScrolled(Document& doc) { doc.codeListsShown = false; }

void ToggleRowStatus(Document& doc, int row) {
    if (row < 1 || row > kPhRow) return;
    SetRowInUse(doc, row, !doc.codeplug().Row(row).inUse);
}

std::string FilterName(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (IsNameChar(c) && out.size() < static_cast<std::size_t>(kNameMaxLength)) out += c;
    }
    return out;
}

std::string TypeNameKey(const std::string& current, char32_t key) {
    if (IsIgnoredKey(key)) return current;
    char c = static_cast<char>(key);
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return FilterName(current + c);
}

std::string CommitName(Document& doc, const std::string& text) {
    Channel& channel = Edited(doc);
    channel.name = FilterName(text);
    doc.gridNotice = NameLeftText(doc.texts, channel.name);
    return channel.name;
}

std::string NameLeftText(const DocumentTexts& texts, const std::string& name) {
    const auto left = kNameMaxLength - std::min<int>(kNameMaxLength, static_cast<int>(name.size()));
    if (left == 1) return texts.gridNameLeftOne;
    return FillPlaceholders(texts.gridNameLeft, {std::to_string(left)});
}

void ChooseStep(Document& doc, const std::string& text) {
    SetStep(Edited(doc), ParseStep(text).value_or(Step::k5));
}

void LeaveStep(Document& doc, const std::string& text) {
    if (const auto step = ParseStep(text)) Edited(doc).step = *step;
}

void CommitRxFreq(Document& doc, const std::string& text, Ui& ui) {
    // An editor left as it opened changes nothing: visiting the Rx cell must
    // not overwrite the Tx frequency.
    if (text == Edited(doc).rx.ToString()) {
        doc.gridNotice.clear();
        return;
    }
    if (const auto value = AcceptFrequency(doc, text, ui, true)) {
        MoveRx(Edited(doc), *value, doc.model());
    }
}

void CommitTxFreq(Document& doc, const std::string& text, Ui& ui) {
    if (text == Edited(doc).tx.ToString()) {
        doc.gridNotice.clear();
        return;
    }
    if (const auto value = AcceptFrequency(doc, text, ui, false)) Edited(doc).tx = *value;
}

EditorView ChooseToneKind(Document& doc, const std::string& kind) {
    const Tone& tone = EditedTone(doc);
    const std::string value = ToneKindOf(tone) == kind ? tone.Value() : std::string();
    if (kind == "CTCSS") return ListEditor("ComboCTCSS", CtcssList(), value);
    if (kind == "DCS") return ListEditor("ComboDCS", DcsList(), value);
    return {};
}

void LeaveToneKind(Document& doc, const std::string& kind) {
    if (kind == "off") EditedTone(doc) = Tone();
}

void CommitCtcss(Document& doc, const std::string& tone) {
    if (const int index = ListIndexOf(CtcssList(), tone); index >= 0) {
        EditedTone(doc) = Tone::Ctcss(index);
    }
}

void CommitDcs(Document& doc, const std::string& code) {
    // The list's last entry "off" means no DCS code rather than a code named "off".
    if (code == "off") {
        EditedTone(doc) = Tone();
    } else if (const int index = ListIndexOf(DcsList(), code); index >= 0) {
        EditedTone(doc) = Tone::Dcs(index);
    }
}

void CommitList(Document& doc, const std::string& text) {
    Channel& channel = Edited(doc);
    const bool on = text == "on";
    if (!on && text != "off" && doc.currentColumn != kColBandwidth &&
        doc.currentColumn != kColScanSkip) {
        return;
    }
    switch (doc.currentColumn) {
        // The first word wins: without a language file both words are empty.
        case kColBandwidth:
            if (text == doc.texts.wide) {
                channel.bandwidth = Bandwidth::Wide;
            } else if (text == doc.texts.narrow) {
                channel.bandwidth = Bandwidth::Narrow;
            }
            break;
        case kColScanSkip:
            if (text == doc.texts.scanSkipOff) {
                channel.scanSkip = false;
            } else if (text == doc.texts.scanSkipOn) {
                channel.scanSkip = true;
            }
            break;
        case kColPacMode:
            channel.pacMode = on;
            break;
        case kColDcsDetect:
            channel.dcsDetect = on;
            break;
        case kColBcl:
            channel.bcl = on;
            break;
        case kColAni:
            channel.ani = on;
            break;
        default:
            break;
    }
}

void CommitPriority(Document& doc, const std::string& text) {
    if (text.empty()) return;
    if (const auto priority = Priority::Parse(text.substr(0, text.find(':')))) {
        Edited(doc).priority = *priority;
    }
}

void CommitShift(Document& doc, const std::string& text) {
    if (text.empty()) return;
    Edited(doc).shift = text != "off";
}

std::vector<std::string> PriorityList(const Document& doc) {
    auto frequencyOf = [&](int row) { return doc.ShownRow(row).rx.ToString(); };
    std::vector<std::string> list = {"off"};
    for (int row = 1; row <= kPhRow; ++row) {
        if (doc.ShownRow(row).inUse) list.push_back(PriorityName(row) + ": " + frequencyOf(row));
    }
    list.push_back("CAL: " + frequencyOf(kCallRow));
    list.push_back("VFO: " + frequencyOf(kVfoRow));
    return list;
}

std::vector<EditorView> ChooseOptSignal(Document& doc, const std::string& type) {
    const ChannelSignal& signal = Edited(doc).signal;
    std::vector<EditorView> lists;
    if (type == "DTMF" || type == "DTMF-ANI")
        lists.push_back(CodeList("Combo2", 0, kDtmfCodes, signal.code));
    if (type == "DTMF-ANI") lists.push_back(CodeList("Combo4", -1, kDtmfAniModes, signal.subCode));
    if (type == "2Tone") lists.push_back(CodeList("Combo2", 1, NumberedCodes(), signal.code));
    if (type == "5Tone") {
        lists.push_back(CodeList("Combo2", 2, NumberedCodes(), signal.code));
        lists.push_back(CodeList("Combo3", -1, kPttIdModes, signal.subCode));
    }
    doc.codeListsShown = !lists.empty();
    return lists;
}

void ChooseSignalCode(Document& doc, int position) {
    if (position >= 0 && position <= 255) {
        Edited(doc).signal.code = static_cast<std::uint8_t>(position);
    }
}

void ChooseSignalSubCode(Document& doc, int position) {
    if (position >= 0 && position <= 255) {
        Edited(doc).signal.subCode = static_cast<std::uint8_t>(position);
    }
}

void LeaveOptSignal(Document& doc, const std::string& type) {
    if (const auto kind = ParseSignalKind(type)) Edited(doc).signal.kind = *kind;
}

}  // namespace qx
