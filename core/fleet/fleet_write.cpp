#include "fleet/fleet_write.h"

#include <algorithm>
#include <map>
#include <set>

#include "app/check_texts.h"
#include "app/collecting_ui.h"
#include "app/list_control.h"
#include "app/transfer_commands.h"
#include "codeplug/check.h"
#include "codeplug/models.h"
#include "image/memory_image.h"
#include "signalling/five_tone_dialog.h"
#include "util/csv_records.h"
#include "util/numbers.h"
#include "util/text.h"

namespace qx {
namespace {

constexpr int kSelfIdNumbers = 100000;  // five digits

// Typed into the 5-tone dialog's self ID, `id` would stay as it is.
bool TypesAsSelfId(std::string_view id) {
    return !id.empty() && FilterText(std::string(id), DigitKey, kSelfIdLength) == id;
}

std::string FiveDigits(int number) {
    std::string text = std::to_string(number);
    return std::string(kSelfIdLength - std::min(kSelfIdLength, text.size()), '0') + text;
}

std::string LineError(int line, const std::string& what) {
    return "line " + std::to_string(line) + ": " + what;
}

}  // namespace

std::string SelfIdProblem(std::string_view id) {
    if (!TypesAsSelfId(id))
        return "a self ID has one to five digits 0-9, not \"" + std::string(id) + "\"";
    return "";
}

SelfIdNumbering NumberSelfIds(std::string_view first, std::size_t count) {
    SelfIdNumbering numbering;
    if (first.size() != kSelfIdLength || !TypesAsSelfId(first)) {
        numbering.error =
            "the first self ID has five digits 0-9, not \"" + std::string(first) + "\"";
        return numbering;
    }
    const int start = static_cast<int>(ParseInteger(std::string(first)).value_or(0));
    if (static_cast<std::size_t>(kSelfIdNumbers - start) < count) {
        numbering.error = "counting " + std::to_string(count) + " radios from " +
                          std::string(first) + " passes 99999";
        return numbering;
    }
    for (std::size_t i = 0; i < count; ++i)
        numbering.ids.push_back(FiveDigits(start + static_cast<int>(i)));
    return numbering;
}

std::vector<std::string> PortsOfList(std::string_view text) {
    std::vector<std::string> ports;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = Trim(text.substr(start, end - start));
        if (!line.empty() && line.front() != '#') ports.push_back(line);
        start = end + 1;
    }
    return ports;
}

FleetPlan ReadPerRadioCsv(std::string_view text) {
    FleetPlan plan;
    // A spreadsheet may start its CSV with a byte-order mark.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    if (LooksBinary(text)) {
        plan.error = "this is no comma-separated text";
        return plan;
    }
    const std::vector<CsvRecord> records = SplitCsvRecords(text, ',');
    if (records.empty()) {
        plan.error = "the file is empty; it needs the header \"port,self_id,name\"";
        return plan;
    }
    std::map<std::string, std::size_t> columns;
    for (std::size_t i = 0; i < records.front().fields.size(); ++i)
        columns.emplace(Trim(records.front().fields[i]), i);
    if (columns.count("port") == 0) {
        plan.error =
            LineError(records.front().line,
                      "the header has no \"port\" column (expected \"port,self_id,name\")");
        return plan;
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        const CsvRecord& record = records[r];
        const auto field = [&](const char* name) {
            const auto it = columns.find(name);
            return it == columns.end() || it->second >= record.fields.size()
                       ? std::string()
                       : Trim(record.fields[it->second]);
        };
        if (record.unterminated) {
            plan.error = LineError(record.line, "a quoted field is not closed");
            return plan;
        }
        FleetRadio radio{field("port"), field("name"), field("self_id")};
        if (radio.port.empty()) {
            plan.error = LineError(record.line, "no port");
            return plan;
        }
        if (!radio.selfId.empty()) {
            if (const std::string problem = SelfIdProblem(radio.selfId); !problem.empty()) {
                plan.error = LineError(record.line, problem);
                return plan;
            }
        }
        plan.radios.push_back(std::move(radio));
    }
    if (plan.radios.empty()) plan.error = "the file names no radio under its header";
    return plan;
}

FleetPlan CheckFleet(std::vector<FleetRadio> radios) {
    FleetPlan plan;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < radios.size(); ++i) {
        FleetRadio& radio = radios[i];
        if (radio.port.empty()) {
            plan.error = "radio " + std::to_string(i + 1) + " has no port";
            return plan;
        }
        if (!seen.insert(radio.port).second) {
            plan.error = "the port " + radio.port + " is given twice";
            return plan;
        }
        if (radio.label.empty()) radio.label = "#" + std::to_string(i + 1);
    }
    if (radios.empty()) plan.error = "no port to write to";
    plan.radios = std::move(radios);
    return plan;
}

FleetPlan PlanFleet(const std::vector<std::string>& ports,
                    const std::vector<std::string>& selfIds) {
    std::vector<FleetRadio> radios;
    for (std::size_t i = 0; i < ports.size(); ++i)
        radios.push_back({ports[i], "", i < selfIds.size() ? selfIds[i] : std::string()});
    return CheckFleet(std::move(radios));
}

Codeplug CodeplugWithSelfId(const Codeplug& codeplug, const std::string& selfId,
                            const LanguageTexts& texts) {
    // The dialog itself does it, so the codes follow exactly as when the ID
    // is typed there and OK is pressed.
    Document doc(codeplug);
    FiveToneDialog dialog(doc, texts);
    dialog.SetSelfIdText(selfId);
    dialog.LeaveSelfId();
    dialog.Ok();
    return doc.codeplug();
}

// ---- the write -------------------------------------------------------------

namespace {

// A radio's messages are collected; each one updates what the radio shows,
// since a transfer reports its end before the message that explains it.
class RadioUi final : public Ui {
  public:
    CollectingUi collected;
    std::function<void()> onMessage;

    void ShowMessage(const std::string& text) override {
        collected.ShowMessage(text);
        if (onMessage) onMessage();
    }
    void ShowProblem(const std::string& text, Severity) override { ShowMessage(text); }
    Answer Ask(const std::string& text, Buttons buttons) override {
        return collected.Ask(text, buttons);
    }
    std::optional<std::string> AskPassword() override { return collected.AskPassword(); }
    std::optional<std::string> ChooseOpenFile(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return std::nullopt; }
};

}  // namespace

struct FleetWrite::Radio {
    Codeplug codeplug;
    std::string checkError;  // the first error the check found in this radio's copy
    LinkSession session;
    RadioUi ui;
    std::unique_ptr<SerialLink> link;
    std::unique_ptr<Transfer> transfer;
    std::chrono::steady_clock::time_point start;
};

namespace {

FleetStage StageOf(const Transfer& t) {
    if (t.Over())
        return t.Result() == TransferResult::Completed ? FleetStage::Succeeded : FleetStage::Failed;
    switch (t.CurrentPhase()) {
        case Transfer::Phase::Writing:
            return FleetStage::Writing;
        case Transfer::Phase::Verifying:
            return FleetStage::Verifying;
        default:
            return FleetStage::Checking;
    }
}

}  // namespace

FleetWrite::Texts FleetWrite::Texts::From(const LanguageTexts& texts) {
    const auto text = [&](const char* key, const char* fallback) {
        std::string t = texts.LanguageText("Fleet", key);
        return t.empty() ? std::string(fallback) : t;
    };
    return {text("msgpasswordwrong", "The password given is not the radio's password."),
            text("msgpasswordneeded",
                 "The radio is protected by a password; give the password and write again."),
            text("msgcheck", "The check found an error in this radio's copy: %1"),
            text("msgstopped", "Stopped before anything was written.")};
}

FleetWrite::FleetWrite(const Codeplug& codeplug, std::vector<FleetRadio> radios,
                       const LanguageTexts& texts, FleetSetup setup, LinkFactory makeLink,
                       Timers& timers)
    : setup_(std::move(setup)),
      makeLink_(std::move(makeLink)),
      timers_(timers),
      texts_(TransferTexts::From(texts)),
      fleetTexts_(Texts::From(texts)) {
    setup_.options.readTwice = false;
    for (FleetRadio& radio : radios) {
        auto r = std::make_unique<Radio>();
        r->codeplug =
            radio.selfId.empty() ? codeplug : CodeplugWithSelfId(codeplug, radio.selfId, texts);
        for (const CheckProblem& problem : CheckCodeplug(r->codeplug)) {
            if (problem.severity != CheckSeverity::Error) continue;
            r->checkError =
                FillPlaceholders(fleetTexts_.checkErrors, {CheckReportLine(problem, texts)});
            break;
        }
        FleetRadioState state;
        state.selfId = r->codeplug.signalling.fiveTone.selfId;
        state.radio = std::move(radio);
        states_.push_back(std::move(state));
        radios_.push_back(std::move(r));
    }
}

FleetWrite::~FleetWrite() {
    // The transfers go before the links they use.
    for (auto& radio : radios_) radio->transfer.reset();
}

void FleetWrite::Start() {
    if (started_) return;
    started_ = true;
    for (std::size_t i = 0; i < radios_.size(); ++i) {
        Radio& r = *radios_[i];
        r.start = now_();
        if (!r.checkError.empty()) {
            states_[i].stage = FleetStage::Failed;
            states_[i].message = r.checkError;
            Update(i);
            continue;
        }
        r.session.portName = states_[i].radio.port;
        r.session.portSettings = setup_.portSettings;
        r.session.featureFlags = setup_.features;
        r.ui.collected.password = setup_.password;
        r.ui.onMessage = [this, i] { Update(i); };
        r.link = makeLink_(r.session.portName);
        r.transfer = std::make_unique<Transfer>(TransferMode::Write, r.codeplug, r.session, *r.link,
                                                timers_, r.ui, texts_);
        r.transfer->SetOptions(setup_.options);
        r.transfer->SetBackupStore(BeforeWriteBackups(setup_.backupDir));
        r.transfer->SetOnChange([this, i] { Update(i); });
        r.transfer->Start();
        Update(i);
    }
}

void FleetWrite::Stop() {
    for (std::size_t i = 0; i < radios_.size(); ++i) {
        Radio& r = *radios_[i];
        if (r.transfer && r.transfer->Running()) r.transfer->Start();  // Start again stops it
    }
}

bool FleetWrite::Over() const {
    return started_ && std::all_of(states_.begin(), states_.end(),
                                   [](const FleetRadioState& s) { return s.Ended(); });
}

bool FleetWrite::AllSucceeded() const {
    return Over() && std::all_of(states_.begin(), states_.end(), [](const FleetRadioState& s) {
               return s.stage == FleetStage::Succeeded;
           });
}

void FleetWrite::Update(std::size_t index) {
    Radio& r = *radios_[index];
    FleetRadioState& state = states_[index];
    if (r.transfer) {
        const Transfer& t = *r.transfer;
        const bool endedBefore = state.Ended();
        state.stage = StageOf(t);
        state.percent = t.ProgressValue() * 100 / kImageLines;
        state.result = t.Result();
        state.backupPath = t.BackupPath();
        // Line 0, which names the model, comes first.
        if (state.model < 0) state.model = ImageModelIndex(t.Image());
        if (t.Over()) {
            if (!endedBefore)
                state.time =
                    std::chrono::duration_cast<std::chrono::milliseconds>(now_() - r.start);
            if (t.Result() == TransferResult::Completed) {
                state.message.clear();
            } else if (t.Result() == TransferResult::PasswordCancelled) {
                state.message =
                    setup_.password ? fleetTexts_.wrongPassword : fleetTexts_.needsPassword;
            } else {
                state.message = r.ui.collected.Report(fleetTexts_.stopped);
            }
        }
    }
    if (onChange_) onChange_(index);
}

// ---- the summary -----------------------------------------------------------

std::vector<std::string> FleetSummaryHeadings() {
    return {"label", "port", "model", "self_id", "result", "time_s", "backup"};
}

std::vector<std::vector<std::string>> FleetSummaryRows(const std::vector<FleetRadioState>& radios) {
    std::vector<std::vector<std::string>> rows;
    for (const FleetRadioState& radio : radios) {
        const ModelInfo* model = ModelAt(radio.model);
        std::string result = radio.stage == FleetStage::Succeeded ? "ok"
                             : radio.message.empty()              ? "not written"
                                                                  : radio.message;
        rows.push_back({radio.radio.label, radio.radio.port, model ? model->name : "", radio.selfId,
                        std::move(result), FormatScaled(radio.time.count() / 100, 1),
                        radio.backupPath});
    }
    return rows;
}

std::string FleetSummaryCsv(const std::vector<FleetRadioState>& radios) {
    std::string text = CsvRecordLine(FleetSummaryHeadings());
    for (const auto& row : FleetSummaryRows(radios)) text += CsvRecordLine(row);
    return text;
}

std::vector<std::string> RadiosToRedo(const std::vector<FleetRadioState>& radios) {
    std::vector<std::string> redo;
    for (const FleetRadioState& radio : radios) {
        if (radio.stage != FleetStage::Succeeded)
            redo.push_back(radio.radio.label + " (" + radio.radio.port + ")");
    }
    return redo;
}

}  // namespace qx
