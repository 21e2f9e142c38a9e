#include "app/channel_ops.h"

#include "codeplug/defaults.h"
#include "codeplug/models.h"
#include "util/numbers.h"

namespace qx {
namespace {

// A new document of `model`, belonging to no file, as one clean step.
void StartNew(Document& doc, int model, StepKind kind) {
    doc.Replace(NewCodeplug(model), StepLabel{kind});
    doc.codeListsShown = false;
    doc.BelongTo({});
}

}  // namespace

void ClearAll(Document& doc) { StartNew(doc, doc.model(), StepKind::New); }

void LoadMainWindow(Document& doc, const LanguageTexts& lang, const FeatureFlags& flags, Ui& ui) {
    ShowRadioFeatures(doc, flags);
    doc.texts = DocumentTexts::From(lang);
    ChangeModel(doc, kStartModel, ui, [] { return true; });
}

void ShowRadioFeatures(Document& doc, const FeatureFlags& flags) {
    doc.optSignalList = {"None"};
    if (flags.dtmf) {
        doc.optSignalList.emplace_back("DTMF");
        doc.optSignalList.emplace_back("DTMF-ANI");
    }
    if (flags.twoTone) doc.optSignalList.emplace_back("2Tone");
    if (flags.fiveTone) doc.optSignalList.emplace_back("5Tone");
    doc.menus = SignallingMenus{flags.dtmf, flags.twoTone, flags.fiveTone};
}

bool ChangeModel(Document& doc, int modelIndex, Ui& ui, const std::function<bool()>& save) {
    if (doc.Modified()) {
        const Answer answer = ui.Ask(doc.texts.Message(9001), Buttons::YesNoCancel);
        if (answer == Answer::Cancel) return false;
        // A save that did not happen (cancelled or failed) must not be followed
        // by clearing the unsaved document.
        if (answer == Answer::Yes && !save()) return false;
    }
    StartNew(doc, modelIndex, StepKind::Model);
    return true;
}

void SetRowInUse(Document& doc, int row, bool inUse) {
    if (row < 1 || row > kPhRow) return;
    doc.Change(StepLabel{StepKind::ChannelOnOff, row}, [&](Codeplug& codeplug) {
        Channel& channel = codeplug.Row(row);
        if (inUse) {
            PutInUse(channel, codeplug.model);
            return;
        }
        channel.inUse = false;
        if (channel.signal.kind == SignalKind::None) channel.signal.code = 0;
        for (Channel& other : codeplug.rows) {
            if (other.priority.Row() == row) other.priority = Priority();
        }
    });
}

namespace {
BandCheck CheckBand(int model, const std::string& text, bool rx) {
    const ModelInfo* info = ModelAt(model);
    if (info == nullptr) return {};
    const Band& band = rx ? info->rx : info->tx;
    const auto value = ParseDecimal(text);
    return BandCheck{value.has_value() && band.Contains(*value), band.RangeText()};
}
}  // namespace

BandCheck CheckRxFreq(int model, const std::string& text) { return CheckBand(model, text, true); }

BandCheck CheckTxFreq(int model, const std::string& text) { return CheckBand(model, text, false); }

}  // namespace qx
