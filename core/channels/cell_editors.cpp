#include "channels/cell_editors.h"

#include <optional>

#include "app/list_control.h"
#include "channels/channel_ops.h"
#include "channels/value_lists.h"
#include "util/numbers.h"

namespace qx {
namespace {

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

std::string& CurrentCell(Document& doc) { return doc.Cell(doc.currentRow, doc.currentColumn); }

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
                    const std::string& storedPosition) {
    const long long position = ParseInteger(storedPosition).value_or(0);
    return EditorView{
        EditorKind::List, name, index, entries, ListItemOrFirst(entries, position), 0};
}

std::string ToneKindOf(const std::string& tone) {
    if (tone.rfind("C:", 0) == 0) return "CTCSS";
    if (tone.rfind("D:", 0) == 0) return "DCS";
    return "off";
}

EditorView OpenEditor(Document& doc, int row, int column) {
    const std::string& cell = doc.Cell(row, column);
    switch (column) {
        case kColName:
            if (row > kCallRow) return {};
            return TextEditor("TxtName", cell, kNameMaxLength);
        case kColStep:
            return ListEditor("ComboRef", StepList(), cell);
        case kColRxFreq:
            return TextEditor("TxtRxFreq", cell, kFrequencyMaxLength);
        case kColTxFreq:
            return TextEditor("TxtTxFreq", cell, kFrequencyMaxLength);
        case kColRxTone:
        case kColTxTone:
            return ListEditor("ComboCTCSSDCS", kToneKinds, ToneKindOf(cell));
        case kColBandwidth:
            return ListEditor("ComboWN", {doc.texts.wide, doc.texts.narrow}, cell);
        case kColPacMode:
            return ListEditor("ComboPACMOD", kOffOn, cell);
        case kColDcsDetect:
            return ListEditor("ComboDCSDET", kOffOn, cell);
        case kColScanSkip:
            if (row > kChannelRows - 1) return {};
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

void ClearPrioritiesNaming(Document& doc, int row) {
    const std::string name = PriorityName(row);
    for (int r = 1; r <= kRowCount; ++r) {
        std::string& cell = doc.Cell(r, kColPriority);
        if (cell == name) {
            cell = "off";
            doc.Table(r, kColPriority) = "off";
        } else if (cell == kInactiveCell && doc.Table(r, kColPriority) == name) {
            doc.Table(r, kColPriority) = "off";  // a stored row must not name it either
        }
    }
}

void SetRowStep(Document& doc, const std::string& step) {
    doc.RowStep.at(static_cast<std::size_t>(doc.currentRow)) = step.empty() ? "5" : step;
}

// The entry rounded to the row's step, or nullopt after telling the user why
// it cannot be taken (not a number, outside the model's band).
std::optional<std::string> AcceptFrequency(const Document& doc, const std::string& text, Ui& ui,
                                           bool rx) {
    if (!IsNumeric(text)) {
        ui.ShowMessage(doc.texts.Message(9005));
        return std::nullopt;
    }
    const BandCheck check = rx ? CheckRxFreq(doc, text) : CheckTxFreq(doc, text);
    if (!check.inBand) {
        ui.ShowMessage(doc.texts.Message(rx ? 9006 : 9009) + check.rangeText);
        return std::nullopt;
    }
    return AdjustRxFreq(doc, text);
}

}  // namespace

EditorView CellClicked(Document& doc, int row, int column) {
    if (row < 1 || row > kRowCount || column < 0 || column > kColOptSignal) return {};
    doc.currentRow = row;
    doc.currentColumn = column;
    if (column == kColStatus && row <= kPhRow) ToggleRowStatus(doc, row);
    if (doc.IsActive(row) || row == kCallRow || row == kVfoRow) {
        doc.bModify = true;
        return OpenEditor(doc, row, column);
    }
    if (column > kColStatus) {
        doc.Cell(row, kColStatus) = doc.texts.active;
        ReadBuffer(doc, row);
        doc.bModify = true;
    }
    return {};
}

void GridScrolled(Document& doc) { doc.codeListsShown = false; }

void ToggleRowStatus(Document& doc, int row) {
    if (row < 1 || row > kPhRow) return;
    if (doc.Cell(row, kColStatus) == doc.texts.inactive) {
        doc.Cell(row, kColStatus) = doc.texts.active;
        ReadBuffer(doc, row);
    } else {
        WriteBuffer(doc, row);
        ClearPrioritiesNaming(doc, row);
        doc.Cell(row, kColStatus) = doc.texts.inactive;
    }
    doc.bModify = true;
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
    CurrentCell(doc) = FilterName(text);
    return CurrentCell(doc);
}

void ChooseStep(Document& doc, const std::string& step) {
    SetRowStep(doc, step);
    for (int column : {kColRxFreq, kColTxFreq}) {
        std::string& cell = doc.Cell(doc.currentRow, column);
        if (!cell.empty()) cell = AdjustRxFreq(doc, cell);
    }
}

void LeaveStep(Document& doc, const std::string& step) {
    CurrentCell(doc) = step;
    SetRowStep(doc, step);
}

void CommitRxFreq(Document& doc, const std::string& text, Ui& ui) {
    const auto value = AcceptFrequency(doc, text, ui, true);
    if (!value) return;
    doc.Cell(doc.currentRow, kColRxFreq) = *value;
    if (CheckTxFreq(doc, text).inBand) doc.Cell(doc.currentRow, kColTxFreq) = *value;
}

void CommitTxFreq(Document& doc, const std::string& text, Ui& ui) {
    if (const auto value = AcceptFrequency(doc, text, ui, false)) {
        doc.Cell(doc.currentRow, kColTxFreq) = *value;
    }
}

EditorView ChooseToneKind(Document& doc, const std::string& kind) {
    const std::string& cell = CurrentCell(doc);
    const std::string tone = cell.size() > 2 ? cell.substr(2) : std::string();
    if (kind == "CTCSS") {
        return ListEditor("ComboCTCSS", CtcssList(), ToneKindOf(cell) == kind ? tone : "");
    }
    if (kind == "DCS") {
        return ListEditor("ComboDCS", DcsList(), ToneKindOf(cell) == kind ? tone : "");
    }
    return {};
}

void LeaveToneKind(Document& doc, const std::string& kind) {
    if (kind == "off") CurrentCell(doc) = "off";
}

void CommitCtcss(Document& doc, const std::string& tone) {
    if (!tone.empty()) CurrentCell(doc) = "C:" + tone;
}

void CommitDcs(Document& doc, const std::string& code) {
    if (code.empty()) return;
    // The list's last entry "off" means no DCS code rather than a code named "off".
    CurrentCell(doc) = code == "off" ? "off" : "D:" + code;
}

void CommitList(Document& doc, const std::string& text) { CurrentCell(doc) = text; }

void CommitPriority(Document& doc, const std::string& text) {
    if (text.empty()) return;
    CurrentCell(doc) = text == "off" ? text : text.substr(0, text.find(':'));
}

void CommitShift(Document& doc, const std::string& text) {
    if (text.empty()) return;
    CurrentCell(doc) = text == "off" ? "off" : "on";
}

std::vector<std::string> PriorityList(const Document& doc) {
    auto frequencyOf = [&](int row) {
        const std::string& f = doc.Cell(row, kColRxFreq);
        return f.empty() ? std::string("145.0000") : f;
    };
    std::vector<std::string> list = {"off"};
    for (int row = 1; row <= kPhRow; ++row) {
        if (doc.IsActive(row)) list.push_back(PriorityName(row) + ": " + frequencyOf(row));
    }
    list.push_back("CAL: " + frequencyOf(kCallRow));
    list.push_back("VFO: " + frequencyOf(kVfoRow));
    return list;
}

std::vector<EditorView> ChooseOptSignal(Document& doc, const std::string& type) {
    const std::string& code = doc.Table(doc.currentRow, kColSignalCode);
    const std::string& subCode = doc.Table(doc.currentRow, kColSignalSubCode);
    std::vector<EditorView> lists;
    if (type == "DTMF" || type == "DTMF-ANI")
        lists.push_back(CodeList("Combo2", 0, kDtmfCodes, code));
    if (type == "DTMF-ANI") lists.push_back(CodeList("Combo4", -1, kDtmfAniModes, subCode));
    if (type == "2Tone") lists.push_back(CodeList("Combo2", 1, NumberedCodes(), code));
    if (type == "5Tone") {
        lists.push_back(CodeList("Combo2", 2, NumberedCodes(), code));
        lists.push_back(CodeList("Combo3", -1, kPttIdModes, subCode));
    }
    doc.codeListsShown = !lists.empty();
    return lists;
}

void ChooseSignalCode(Document& doc, int position) {
    doc.Table(doc.currentRow, kColSignalCode) = std::to_string(position);
}

void ChooseSignalSubCode(Document& doc, int position) {
    doc.Table(doc.currentRow, kColSignalSubCode) = std::to_string(position);
}

void LeaveOptSignal(Document& doc, const std::string& type) {
    if (type.empty()) return;
    CurrentCell(doc) = type;
    doc.Table(doc.currentRow, kColOptSignal) = type;
}

KeptRow KeepRow(const Document& doc, int row) {
    KeptRow kept;
    if (row < 1 || row > kRowCount) return kept;
    kept.row = row;
    for (int c = kColStatus; c <= kColOptSignal; ++c) {
        kept.cells[static_cast<std::size_t>(c)] = doc.Cell(row, c);
    }
    for (int c = kColOptSignal; c <= kColSignalSubCode; ++c) {
        kept.stored[static_cast<std::size_t>(c - kColOptSignal)] = doc.Table(row, c);
    }
    kept.step = doc.RowStep[static_cast<std::size_t>(row)];
    kept.codeListsShown = doc.codeListsShown;
    return kept;
}

void RestoreRow(Document& doc, const KeptRow& kept) {
    if (kept.row < 1 || kept.row > kRowCount) return;
    for (int c = kColStatus; c <= kColOptSignal; ++c) {
        doc.Cell(kept.row, c) = kept.cells[static_cast<std::size_t>(c)];
    }
    for (int c = kColOptSignal; c <= kColSignalSubCode; ++c) {
        doc.Table(kept.row, c) = kept.stored[static_cast<std::size_t>(c - kColOptSignal)];
    }
    doc.RowStep[static_cast<std::size_t>(kept.row)] = kept.step;
    doc.codeListsShown = kept.codeListsShown;
}

}  // namespace qx
