#include "channels/channel_ops.h"

#include "channels/frequency.h"
#include "channels/models.h"
#include "channels/value_lists.h"
#include "util/numbers.h"

namespace qx {
namespace {

bool UsesStepDefault(int modelIndex) { return modelIndex >= 2 && modelIndex <= 7; }
const char* ModelStep(int modelIndex) { return modelIndex == 2 || modelIndex == 3 ? "12.5" : "5"; }

void SetAllRowSteps(Document& doc, const std::string& step) {
    for (int row = 1; row <= kRowCount; ++row) doc.RowStep[static_cast<std::size_t>(row)] = step;
}

std::string& DefaultAt(Document& doc, int column) {
    return doc.DefaultRow.at(static_cast<std::size_t>(column));
}

void SetRowLabels(Document& doc) {
    for (int row = 1; row <= kChannelRows; ++row)
        doc.Cell(row, kColLabel) = std::to_string(row - 1);
    doc.Cell(kPlRow, kColLabel) = "PL";
    doc.Cell(kPhRow, kColLabel) = "PH";
    doc.Cell(kCallRow, kColLabel) = "C";
    doc.Cell(kVfoRow, kColLabel) = "V";
}

// Grid display <-> stored form of the bandwidth; the wide test comes first.
std::string StoredBandwidth(const Document& doc, const std::string& shown) {
    if (shown == doc.texts.wide) return "wide";
    if (shown == doc.texts.narrow) return "narrow";
    return shown;
}

std::string ShownBandwidth(const Document& doc, const std::string& stored) {
    if (stored == "wide") return doc.texts.wide;
    if (stored == "narrow") return doc.texts.narrow;
    return stored;
}

}  // namespace

void InitDefaultFres(Document& doc) {
    SetAllRowSteps(doc, "5");
    const std::string frequency = DefaultFrequency(doc.modelIndex);
    if (!frequency.empty()) {
        DefaultAt(doc, kColRxFreq) = frequency;
        DefaultAt(doc, kColTxFreq) = frequency;
    }
    if (UsesStepDefault(doc.modelIndex)) {
        DefaultAt(doc, kColStep) = ModelStep(doc.modelIndex);
        SetAllRowSteps(doc, DefaultAt(doc, kColStep));
    }
}

void InitialSingleLine(Document& doc, int row) {
    if (doc.modelIndex == 9 && row == 1) return;
    if (row < 1 || row > kRowCount) return;
    doc.Cell(row, kColName).clear();
    doc.Cell(row, kColStep) = ModelStep(doc.modelIndex);
    const std::string frequency = DefaultFrequency(doc.modelIndex);
    if (!frequency.empty()) {
        doc.Cell(row, kColRxFreq) = frequency;
        doc.Cell(row, kColTxFreq) = frequency;
    }
    doc.Cell(row, kColRxTone) = "off";
    doc.Cell(row, kColBandwidth) = doc.texts.wide;
    doc.Cell(row, kColPacMode) = "off";
    doc.Cell(row, kColDcsDetect) = "off";
    doc.Cell(row, kColScanSkip) = doc.texts.scanSkipOff;
    doc.Cell(row, kColPriority) = "off";
    doc.Cell(row, kColTxTone) = "off";
    doc.Cell(row, kColBcl) = "off";
    doc.Cell(row, kColAni) = "off";
    doc.Cell(row, kColShift) = "off";
    doc.Cell(row, kColOptSignal) = "None";
}

void ClearAll(Document& doc) {
    InitDefaultFres(doc);
    doc.Cell(1, kColStatus) = doc.texts.active;
    InitialSingleLine(doc, 1);
    doc.codeListsShown = false;
    doc.signalling.InitSignallingDefaults();
    const int firstCleared = doc.modelIndex == 9 ? 1 : 2;
    for (int row = firstCleared; row <= kPhRow; ++row) {
        doc.Cell(row, kColStatus) = doc.texts.inactive;
        for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c) {
            doc.Table(row, c).clear();
            doc.Cell(row, c) = kInactiveCell;
        }
    }
    InitialSingleLine(doc, kCallRow);
    InitialSingleLine(doc, kVfoRow);
    SetRowLabels(doc);
    doc.filename = kNoFileName;
    doc.statusText = std::string(kCurrentFilePrefix) + "Noname.qx";
    doc.strSetup = kDefaultSetup;
    doc.strAutoDial = kDefaultAutoDial;
    doc.bModify = false;
}

void BuildGrid(Document& doc) {
    doc.strSetup = kDefaultSetup;
    doc.strAutoDial = kDefaultAutoDial;
    doc.bModify = false;
    for (int c = 0; c <= kColOptSignal; ++c) {
        doc.Cell(0, c) = doc.texts.headings[static_cast<std::size_t>(c)];
    }
    SetRowLabels(doc);
    doc.Cell(1, kColStatus) = doc.texts.active;
    InitialSingleLine(doc, 1);
    for (int row = 2; row <= kPhRow; ++row) {
        doc.Cell(row, kColStatus) = doc.texts.inactive;
        WriteBuffer(doc, row);
    }
    InitialSingleLine(doc, kCallRow);
    InitialSingleLine(doc, kVfoRow);

    DefaultAt(doc, kColName).clear();
    DefaultAt(doc, kColStep) = "5";
    InitDefaultFres(doc);
    for (int c : {kColRxTone, kColPacMode, kColDcsDetect, kColPriority, kColTxTone, kColBcl,
                  kColAni, kColShift}) {
        DefaultAt(doc, c) = "off";
    }
    DefaultAt(doc, kColBandwidth) = doc.texts.wide;
    DefaultAt(doc, kColScanSkip) = doc.texts.scanSkipOff;
    DefaultAt(doc, kColOptSignal) = "None";
    DefaultAt(doc, kColSignalCode) = "0";
    DefaultAt(doc, kColSignalSubCode) = "0";
}

void LoadMainWindow(Document& doc, const LanguageTexts& lang, const FeatureFlags& flags, Ui& ui) {
    doc.BeReadReshow = true;
    ReShowFunByRadio(doc, flags);
    doc.signalling.InitSignallingDefaults();
    doc.texts = DocumentTexts::From(lang);
    doc.statusText = doc.texts.statusPanel1;
    BuildGrid(doc);
    ChangeModel(doc, kStartModelIndex, ui, [] { return true; });
}

void ReShowFunByRadio(Document& doc, const FeatureFlags& flags) {
    doc.optSignalList = {"None"};
    if (flags.dtmf) {
        doc.optSignalList.emplace_back("DTMF");
        doc.optSignalList.emplace_back("DTMF-ANI");
    }
    if (flags.twoTone) doc.optSignalList.emplace_back("2Tone");
    if (flags.fiveTone) doc.optSignalList.emplace_back("5Tone");
    doc.menus = SignallingMenus{flags.dtmf, flags.twoTone, flags.fiveTone};
}

void WriteBuffer(Document& doc, int row) {
    for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c) {
        const std::string value = doc.Cell(row, c);
        if (c == kColOptSignal) {
            doc.Table(row, c) = value;
            if (value == "None") doc.Table(row, kColSignalCode) = "0";
        } else if (c == kColBandwidth) {
            doc.Table(row, c) = StoredBandwidth(doc, value);
        } else {
            doc.Table(row, c) = value;
        }
        doc.Cell(row, c) = kInactiveCell;
    }
}

void ReadBuffer(Document& doc, int row) {
    for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c) {
        std::string value = doc.Table(row, c);
        if (value.empty()) value = doc.DefaultRow.at(static_cast<std::size_t>(c));
        if (c == kColBandwidth) value = ShownBandwidth(doc, value);
        doc.Cell(row, c) = value;
    }
    // Frequencies entered on this row are rounded to the step it shows.
    const std::string& step = doc.Cell(row, kColStep);
    if (ListContains(step, StepList())) doc.RowStep.at(static_cast<std::size_t>(row)) = step;
}

void UpdateAllArray(Document& doc) {
    for (int row = 1; row <= kRowCount; ++row) {
        const std::string& status = doc.Cell(row, kColStatus);
        if (status != doc.texts.active && !status.empty()) continue;
        // A row still showing placeholders holds its values in the table only
        // (possible when the status texts are missing from the language file).
        if (doc.Cell(row, kColRxFreq) == kInactiveCell) continue;
        for (int c = kFirstFieldColumn; c <= kLastFieldColumn; ++c) {
            const std::string& value = doc.Cell(row, c);
            doc.Table(row, c) = c == kColBandwidth ? StoredBandwidth(doc, value) : value;
        }
        doc.Table(row, kColStatus) = "Active";
    }
}

void ChangeModel(Document& doc, int modelIndex, Ui& ui, const std::function<bool()>& save) {
    doc.modelIndex = modelIndex;
    if (doc.bModify) {
        const Answer answer = ui.Ask(doc.texts.Message(9001), Buttons::YesNoCancel);
        if (answer == Answer::Cancel) return;
        // A save that did not happen (cancelled or failed) must not be followed
        // by clearing the unsaved document.
        if (answer == Answer::Yes && !save()) return;
    }
    if (doc.BeReadReshow) {
        ClearAll(doc);
    } else {
        InitDefaultFres(doc);
        doc.BeReadReshow = true;
    }
}

namespace {
BandCheck CheckBand(const Document& doc, const std::string& sFreq, bool rx) {
    const ModelInfo* model = ModelAt(doc.modelIndex);
    if (model == nullptr) return {};
    const Band& band = rx ? model->rx : model->tx;
    const auto value = ParseDecimal(sFreq);
    return BandCheck{value.has_value() && band.Contains(*value), band.RangeText()};
}
}  // namespace

BandCheck CheckRxFreq(const Document& doc, const std::string& sFreq) {
    return CheckBand(doc, sFreq, true);
}

BandCheck CheckTxFreq(const Document& doc, const std::string& sFreq) {
    return CheckBand(doc, sFreq, false);
}

std::string AdjustRxFreq(const Document& doc, const std::string& sFreq) {
    const int row = doc.currentRow >= 1 && doc.currentRow <= kRowCount ? doc.currentRow : 1;
    return AdjustRxFreqByStep(sFreq, doc.RowStep[static_cast<std::size_t>(row)]);
}

}  // namespace qx
