// One project written into several radios at once, each radio with its own
// 5-tone self ID and label. Every radio has a transfer of its own (model
// check, password, backup first, verify, as a single write) on its own link;
// all run side by side on the caller's event loop, single-threaded. One
// radio failing never stops the others.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/document.h"
#include "link/link_session.h"
#include "link/transfer.h"
#include "platform/serial_link.h"
#include "platform/timers.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx {

// One radio to write: where it is, what it is called in the progress and the
// summary, and its self ID (empty: the project's own).
struct FleetRadio {
    std::string port;
    std::string label;
    std::string selfId;
    friend bool operator==(const FleetRadio&, const FleetRadio&) = default;
};

// Why `id` cannot be a self ID: one to five digits 0-9. Empty when it can.
std::string SelfIdProblem(std::string_view id);

// The self IDs of `count` radios numbered from `first` (five digits), in
// port order: "10001", "10002", ... An empty list and `error` set when the
// start is no five-digit number or the numbers would pass 99999.
struct SelfIdNumbering {
    std::vector<std::string> ids;
    std::string error;
};
SelfIdNumbering NumberSelfIds(std::string_view first, std::size_t count);

// Ports one per line; blank lines and lines starting with "#" are skipped.
std::vector<std::string> PortsOfList(std::string_view text);

// A per-radio file: comma-separated with the header "port,self_id,name"
// (columns in any order; self_id and name may be left empty or out). Each
// row is a radio; an error names the line.
struct FleetPlan {
    std::vector<FleetRadio> radios;
    std::string error;
};
FleetPlan ReadPerRadioCsv(std::string_view text);

// Radios for `ports` with the labels "#1", "#2"... and `selfIds` (as many as
// ports, or none). An error when a port is empty or given twice.
FleetPlan PlanFleet(const std::vector<std::string>& ports, const std::vector<std::string>& selfIds);
// The same checks on radios that came with their labels and IDs; labels left
// empty become "#N".
FleetPlan CheckFleet(std::vector<FleetRadio> radios);

// The document's codeplug with `selfId` set as the 5-tone dialog sets a
// typed self ID: filled up with "0" to five digits, and the codes that carry
// the self ID refreshed.
Codeplug CodeplugWithSelfId(const Codeplug& codeplug, const std::string& selfId,
                            const LanguageTexts& texts);

// Where a radio's write is.
enum class FleetStage {
    Waiting,   // not started
    Checking,  // reading the model and password before writing (the backup, with one)
    Writing,
    Verifying,
    Succeeded,
    Failed,
};

struct FleetRadioState {
    FleetRadio radio;    // the label filled in
    std::string selfId;  // what the radio gets: its own, or the project's
    int model = -1;      // the radio's model as it reported it; -1 before
    FleetStage stage = FleetStage::Waiting;
    int percent = 0;                               // of the whole write, its passes together
    TransferResult result = TransferResult::None;  // None also for a copy the check refused
    std::string message;                // what went wrong (the transfer's messages), else empty
    std::chrono::milliseconds time{0};  // from its start to its end
    std::string backupPath;             // the backup stored before the write, if any

    bool Ended() const { return stage == FleetStage::Succeeded || stage == FleetStage::Failed; }
};

struct FleetSetup {
    TransferOptions options;              // verify and backup first; read twice is not used
    std::optional<std::string> password;  // answers a radio's password prompt once
    std::filesystem::path backupDir;      // where backups before writing go
    std::string portSettings = LinkSession::kPortSettings;
    FeatureFlags features;  // as a single write encodes with
};

// A closed link for a port name; the fleet opens it.
using LinkFactory = std::function<std::unique_ptr<SerialLink>(const std::string& port)>;

class FleetWrite {
  public:
    // `doc` is taken as it is now; each radio gets its copy with its self ID.
    // `timers` and what `makeLink` returns must outlive this object.
    FleetWrite(const Codeplug& codeplug, std::vector<FleetRadio> radios, const LanguageTexts& texts,
               FleetSetup setup, LinkFactory makeLink, Timers& timers);
    ~FleetWrite();
    FleetWrite(const FleetWrite&) = delete;
    FleetWrite& operator=(const FleetWrite&) = delete;

    // Starts every radio. A radio whose copy the check finds errors in, or
    // whose port does not open, fails at once; the others go on.
    void Start();
    // Stops every radio still running; each says whether it was left partly
    // written.
    void Stop();

    const std::vector<FleetRadioState>& Radios() const { return states_; }
    // Every radio has ended.
    bool Over() const;
    // Every radio ended with its write verified (or completed, without verify).
    bool AllSucceeded() const;

    // Called with the radio's index after anything it shows has changed.
    void SetOnChange(std::function<void(std::size_t)> onChange) { onChange_ = std::move(onChange); }
    // The clock the times are measured with (tests give their own).
    void SetClock(std::function<std::chrono::steady_clock::time_point()> now) {
        now_ = std::move(now);
    }

    // A radio's messages the transfer lacks, from the language's "Fleet" section.
    struct Texts {
        std::string wrongPassword, needsPassword, checkErrors, stopped;
        static Texts From(const LanguageTexts& texts);
    };

  private:
    struct Radio;
    void Update(std::size_t index);

    std::vector<FleetRadioState> states_;
    std::vector<std::unique_ptr<Radio>> radios_;
    FleetSetup setup_;
    LinkFactory makeLink_;
    Timers& timers_;
    TransferTexts texts_;
    Texts fleetTexts_;
    std::function<void(std::size_t)> onChange_;
    std::function<std::chrono::steady_clock::time_point()> now_ = std::chrono::steady_clock::now;
    bool started_ = false;
};

// The summary: one row a radio with its label, port, model name, self ID,
// result ("ok" or what went wrong), time in seconds ("12.3") and backup.
std::vector<std::string> FleetSummaryHeadings();
std::vector<std::vector<std::string>> FleetSummaryRows(const std::vector<FleetRadioState>& radios);
// The rows as comma-separated text under the headings.
std::string FleetSummaryCsv(const std::vector<FleetRadioState>& radios);
// The radios not written, each as "label (port)", to be written again.
std::vector<std::string> RadiosToRedo(const std::vector<FleetRadioState>& radios);

}  // namespace qx
