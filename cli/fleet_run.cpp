#include "fleet_run.h"

#include <QEventLoop>
#include <algorithm>
#include <ostream>

#include "files/atomic_file.h"
#include "link/simulated_link.h"
#include "qt_timers.h"

namespace qx::cli {
namespace {

constexpr std::size_t kMaxListBytes = 1024 * 1024;

std::string ReadListFile(const std::string& option, const std::string& path) {
    const FileBytes file = ReadFileBytes(path, kMaxListBytes + 1);
    if (!file.error.empty()) throw UsageError(option + ": " + file.error);
    if (file.size > kMaxListBytes) throw UsageError(option + ": " + path + " is over 1 MB");
    return {file.bytes.begin(), file.bytes.end()};
}

// A failure with its message; on a terminal without it, since a line that
// wraps would spoil the redrawing (the summary has the message).
std::string StageText(const FleetRadioState& radio, bool backupFirst, bool terminal) {
    switch (radio.stage) {
        case FleetStage::Waiting:
            return "waiting";
        case FleetStage::Checking:
            return backupFirst ? "backing up" : "checking";
        case FleetStage::Writing:
            return "writing";
        case FleetStage::Verifying:
            return "verifying";
        case FleetStage::Succeeded:
            return "done";
        case FleetStage::Failed:
            break;
    }
    return terminal ? "failed" : "failed: " + radio.message;
}

std::string Padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// One line a radio: on a terminal all lines are drawn again in place when
// one changes; otherwise a line is printed when a radio's stage changes or
// its percentage reaches the next tenth.
class FleetProgress {
  public:
    FleetProgress(std::ostream& out, const std::vector<FleetRadioState>& radios, bool terminal,
                  bool backupFirst)
        : out_(out), terminal_(terminal), backupFirst_(backupFirst), shown_(radios.size()) {
        for (const FleetRadioState& radio : radios) {
            labelWidth_ = std::max(labelWidth_, radio.radio.label.size());
            portWidth_ = std::max(portWidth_, radio.radio.port.size());
        }
    }

    void Show(const std::vector<FleetRadioState>& radios, std::size_t index) {
        const FleetRadioState& radio = radios[index];
        const std::string line = Line(radio);
        if (line == shown_[index].line) return;
        if (terminal_) {
            shown_[index].line = line;
            Redraw(radios);
            return;
        }
        const int tenth = radio.percent / 10;
        if (radio.stage == shown_[index].stage && tenth == shown_[index].tenth) return;
        shown_[index] = {line, radio.stage, tenth};
        out_ << line << std::endl;
    }

  private:
    struct Shown {
        std::string line;
        FleetStage stage = FleetStage::Waiting;
        int tenth = 0;
    };

    std::string Line(const FleetRadioState& radio) const {
        std::string percent = std::to_string(radio.percent) + "%";
        return Padded(radio.radio.label, labelWidth_) + "  " +
               Padded(radio.radio.port, portWidth_) + "  " + Padded(percent, 4) + "  " +
               StageText(radio, backupFirst_, terminal_);
    }

    void Redraw(const std::vector<FleetRadioState>& radios) {
        // Up to the first line, then every line cleared to its end.
        if (drawn_) out_ << "\x1b[" << radios.size() << 'A';
        for (std::size_t i = 0; i < radios.size(); ++i) {
            if (shown_[i].line.empty()) shown_[i].line = Line(radios[i]);
            out_ << '\r' << shown_[i].line << "\x1b[K\n";
        }
        out_ << std::flush;
        drawn_ = true;
    }

    std::ostream& out_;
    bool terminal_;
    bool backupFirst_;
    std::vector<Shown> shown_;
    std::size_t labelWidth_ = 0;
    std::size_t portWidth_ = 0;
    bool drawn_ = false;
};

std::string SummaryTable(const std::vector<FleetRadioState>& radios) {
    std::vector<std::vector<std::string>> rows = FleetSummaryRows(radios);
    rows.insert(rows.begin(), FleetSummaryHeadings());
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c)
            line +=
                (c == 0 ? "" : "  ") + (c + 1 == row.size() ? row[c] : Padded(row[c], widths[c]));
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += line + '\n';
    }
    return text;
}

}  // namespace

std::vector<OptionRule> FleetOptionRules() {
    return {
        {{"--ports-from"}, "FILE", "write into the radios on the ports FILE lists, one a line"},
        {{"--self-id-from"},
         "ID",
         "give the radios, in port order, the 5-tone self IDs ID, ID+1, ... (five digits); the "
         "codes that carry the self ID follow"},
        {{"--per-radio"},
         "FILE",
         "the radios from a CSV file with the header \"port,self_id,name\": each port with "
         "its self ID and label (either may be left empty)"},
        {{"--summary"}, "FILE.csv", "also write the summary table as CSV"},
    };
}

bool WantsFleet(const Arguments& args) {
    return args.Values("--port").size() > 1 || args.Flag("--ports-from") ||
           args.Flag("--per-radio") || args.Flag("--self-id-from") || args.Flag("--summary");
}

std::vector<FleetRadio> FleetRadios(const Arguments& args) {
    std::vector<std::string> ports = args.Values("--port");
    if (const auto list = args.Option("--ports-from")) {
        for (std::string& port : PortsOfList(ReadListFile("--ports-from", *list)))
            ports.push_back(std::move(port));
    }
    FleetPlan plan;
    if (const auto file = args.Option("--per-radio")) {
        if (!ports.empty() || args.Flag("--self-id-from"))
            throw UsageError(
                "--per-radio names the ports and self IDs: give no --port, "
                "--ports-from or --self-id-from with it");
        plan = ReadPerRadioCsv(ReadListFile("--per-radio", *file));
        if (!plan.error.empty()) throw UsageError("--per-radio " + *file + ": " + plan.error);
        plan = CheckFleet(std::move(plan.radios));
    } else {
        std::vector<std::string> ids;
        if (const auto first = args.Option("--self-id-from")) {
            SelfIdNumbering numbering = NumberSelfIds(*first, ports.size());
            if (!numbering.error.empty()) throw UsageError("--self-id-from: " + numbering.error);
            ids = std::move(numbering.ids);
        }
        if (ports.empty()) throw UsageError("missing --port NAME");
        plan = PlanFleet(ports, ids);
    }
    if (!plan.error.empty()) throw UsageError(plan.error);
    return plan.radios;
}

void RunFleetWrite(const Arguments& args, std::vector<FleetRadio> radios,
                   const TransferRequest& request, Workspace& ws, CommandIo& io) {
    const bool simUsed = std::any_of(radios.begin(), radios.end(),
                                     [](const FleetRadio& r) { return r.port == kSimPortName; });
    QtTimers timers;
    const std::unique_ptr<PortLinks> links =
        RunLinks(simUsed ? SimMemoryFor(kSimPortName, args, io, ws.doc.model())
                         : std::vector<std::uint8_t>{},
                 request.simFaults, simUsed, &ws.texts);
    FleetSetup setup{.options = request.options,
                     .password = ws.ui.password,
                     .backupDir = io.session.paths.backupDir,
                     .portSettings = io.session.portSettings,
                     .features = io.session.featureFlags};
    FleetWrite fleet(
        ws.doc.codeplug(), std::move(radios), ws.texts, std::move(setup),
        [&](const std::string& port) { return links->LinkFor(port, timers); }, timers);

    QEventLoop loop;
    FleetProgress progress(io.err, fleet.Radios(), io.errIsTerminal, request.options.backupFirst);
    fleet.SetOnChange([&](std::size_t index) {
        if (!io.quiet) progress.Show(fleet.Radios(), index);
        if (fleet.Over()) loop.quit();
    });
    fleet.Start();
    // Every radio may have failed at once, before the loop could be told to quit.
    if (!fleet.Over()) loop.exec();
    fleet.SetOnChange(nullptr);

    io.out << SummaryTable(fleet.Radios()) << std::flush;
    if (const auto summary = args.Option("--summary"))
        WriteOutput(*summary, FleetSummaryCsv(fleet.Radios()), io);
    if (fleet.AllSucceeded()) return;
    const std::vector<std::string> redo = RadiosToRedo(fleet.Radios());
    std::string names;
    for (const std::string& radio : redo) names += (names.empty() ? "" : ", ") + radio;
    throw CommandError(std::to_string(redo.size()) + " of " +
                       std::to_string(fleet.Radios().size()) +
                       " radios were not written; write again to " + names);
}

}  // namespace qx::cli
