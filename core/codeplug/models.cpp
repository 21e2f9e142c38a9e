#include "codeplug/models.h"

#include <stdexcept>

namespace qx {
namespace {

struct ModelRow {
    const char* displayText;
    const char* modelCode;
    const char* defaultFrequency;
    Step defaultStep = Step::k5;
    bool channelZeroInUse = true;
};

constexpr ModelRow kModelRows[kModelCount] = {
    {"NORVA_AT:Rx(26-45.9950) Tx(26-45.9950)", "335533", "27.0000"},
    {"NORVA_ATD:Rx(27-42.9950) Tx(27-42.9950)", "33AA33", "27.0000"},
    {"NORVA_AE:Rx(136-173.9950) Tx(144-145.9950)", "335566", "145.0000", Step::k12_5},
    {"NORVA_AED:Rx(136-173.9950) Tx(136-173.9950)", "33AA66", "145.0000", Step::k12_5},
    {"NORVA_AJ:Rx(144-145.9950) Tx(144-145.9950)", "3355CC", "145.0000"},
    {"NORVA_AJD:Rx(136-173.9950) Tx(144-147.9950)", "33AACC", "145.0000"},
    {"NORVA_ATA:Rx(144-147.9950) Tx(144-147.9950)", "335599", "145.0000"},
    {"NORVA_ATAD:Rx(136-173.9950) Tx(136-173.9950)", "33AA99", "145.0000"},
    {"NORVA_BT:Rx(245-245.9875) Tx(245-245.9875)", "665533", "223.0000"},
    {"NORVA_BTD:Rx(220-259.9950) Tx(220-259.9950)", "66AA33", "245.5000", Step::k5, false},
    {"NORVA_BE:Rx(200-229.9950) Tx(200-229.9950)", "665566", "250.0000"},
    {"NORVA_BED:Rx(230-249.9950) Tx(230-249.9950)", "66AA66", "250.0000"},
    {"NORVA_BJ:Rx(200-299.9950) Tx(200-299.9950)", "6655CC", "250.0000"},
    {"NORVA_BJD:Rx(200-299.9950) Tx(200-299.9950)", "66AACC", "250.0000"},
    {"NORVA_BTA:Rx(216-279.9950) Tx(222-224.9950)", "665599", "223.5000"},
    {"NORVA_BTAD:Rx(216-279.9950) Tx(220-259.9950)", "66AA99", "223.5000"},
    {"NORVA_CT:Rx(300-399.9950) Tx(300-399.9950)", "CC5533", "350.0000"},
    {"NORVA_CTD:Rx(350-369.9950) Tx(350-369.9950)", "CCAA33", "350.0000"},
    {"NORVA_CE:Rx(350-389.9950) Tx(350-389.9950)", "CC5566", "350.0000"},
    {"NORVA_CED:Rx(300-399.9950) Tx(300-399.9950)", "CCAA66", "350.0000"},
    {"NORVA_CJ:Rx(300-399.9950) Tx(300-399.9950)", "CC55CC", "350.0000"},
    {"NORVA_CJD:Rx(300-399.9950) Tx(300-399.9950)", "CCAACC", "350.0000"},
    {"NORVA_CTA:Rx(300-399.9950) Tx(300-399.9950)", "CC5599", "350.0000"},
    {"NORVA_CTAD:Rx(300-399.9950) Tx(300-399.9950)", "CCAA99", "350.0000"},
    {"NORVA_DT:Rx(400-469.9950) Tx(400-469.9950)", "995533", "435.0000"},
    {"NORVA_DTD:Rx(400-489.9950) Tx(400-489.9950)", "99AA33", "445.0000"},
    {"NORVA_DE:Rx(430-439.9950) Tx(430-439.9950)", "995566", "435.0000"},
    {"NORVA_DED:Rx(420-449.9950) Tx(420-449.9950)", "99AA66", "435.0000"},
    {"NORVA_DJ:Rx(350-511.9950) Tx(400-489.9950)", "9955CC", "440.0000"},
    {"NORVA_DJD:Rx(440-511.9950) Tx(440-511.9950)", "99AACC", "450.0000"},
    {"NORVA_DTA:Rx(410-429.9950) Tx(410-429.9950)", "995599", "420.0000"},
    {"NORVA_DTAD:Rx(400-429.9950) Tx(400-429.9950)", "99AA99", "415.0000"},
};

// The band limits are the character sequences of the display text, so they are
// read from it: "Rx(136-173.9950)" gives "136" and "173.9950".
Band ParseBand(const std::string& display, const std::string& label) {
    const std::size_t open = display.find(label + "(");
    const std::size_t dash = display.find('-', open);
    const std::size_t close = display.find(')', dash);
    if (open == std::string::npos || dash == std::string::npos || close == std::string::npos) {
        throw std::logic_error("malformed model display text: " + display);
    }
    Band band;
    band.lowText = display.substr(open + label.size() + 1, dash - open - label.size() - 1);
    band.highText = display.substr(dash + 1, close - dash - 1);
    const auto low = ParseDecimal(band.lowText);
    const auto high = ParseDecimal(band.highText);
    if (!low || !high) throw std::logic_error("malformed band in: " + display);
    band.low = *low;
    band.high = *high;
    return band;
}

std::vector<ModelInfo> BuildModelTable() {
    std::vector<ModelInfo> table;
    for (const auto& row : kModelRows) {
        ModelInfo model;
        model.displayText = row.displayText;
        model.name = model.displayText.substr(0, model.displayText.find(':'));
        model.modelCode = row.modelCode;
        model.rx = ParseBand(model.displayText, "Rx");
        model.tx = ParseBand(model.displayText, "Tx");
        const auto frequency = Frequency::Parse(row.defaultFrequency);
        if (!frequency) throw std::logic_error("malformed default frequency of " + model.name);
        model.defaultFrequency = *frequency;
        model.defaultStep = row.defaultStep;
        model.channelZeroInUse = row.channelZeroInUse;
        table.push_back(std::move(model));
    }
    return table;
}

}  // namespace

const std::vector<ModelInfo>& ModelTable() {
    static const std::vector<ModelInfo> table = BuildModelTable();
    return table;
}

const ModelInfo* ModelAt(int index) {
    if (index < 0 || index >= kModelCount) return nullptr;
    return &ModelTable()[static_cast<std::size_t>(index)];
}

std::string DefaultFrequency(int modelIndex) {
    const ModelInfo* model = ModelAt(modelIndex);
    return model == nullptr ? std::string() : model->defaultFrequency.ToString();
}

}  // namespace qx
