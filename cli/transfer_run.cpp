#include "transfer_run.h"

#include <QEventLoop>
#include <chrono>
#include <ostream>

#include "app/channel_ops.h"
#include "image/hex.h"
#include "link/simulated_link.h"
#include "port_links.h"
#include "qt_timers.h"
#include "util/progress_bar.h"

namespace qx::cli {
namespace {

std::string FailureText(const Transfer& t, const Workspace& ws) {
    if (t.Result() == TransferResult::PasswordCancelled) {
        return ws.ui.password ? "The password given with --password is not the radio's password."
                              : "The radio is protected by a password; give it with --password.";
    }
    return ws.ui.Report("the transfer ended without completing");
}

// The progress on a terminal: one line redrawn after a carriage return, as
// long as the longest drawn so far so that nothing of an earlier one stays.
class ProgressBarDisplay {
  public:
    ProgressBarDisplay(std::ostream& out, ProgressBarTexts texts)
        : out_(out), texts_(std::move(texts)) {}

    void Show(int done, int total) {
        estimate_.Update(done, total, std::chrono::steady_clock::now());
        Draw(ProgressBarLine(texts_, done, total, estimate_.Left()));
    }
    void Clear() {
        if (width_ == 0) return;
        Draw("");
        out_ << '\r' << std::flush;
        width_ = 0;
    }

  private:
    void Draw(std::string line) {
        const std::size_t length = line.size();
        if (length < width_) line.append(width_ - length, ' ');
        width_ = std::max(width_, length);
        out_ << '\r' << line << std::flush;
    }

    std::ostream& out_;
    ProgressBarTexts texts_;
    TimeLeftEstimate estimate_;
    std::size_t width_ = 0;
};

}  // namespace

std::vector<OptionRule> TransferOptionRules() {
    return {
        {{"--port"},
         "NAME",
         "the serial port the radio is on (qxctl ports lists them); \"sim\" is the built-in "
         "simulated radio"},
        {{"--password"}, "TEXT", "the radio's password, when it has one"},
        {{"--sim-fault"},
         "RULES",
         "faults of the built-in radio (--port sim), separated by \",\": drop:N, corrupt:N, "
         "wrong-address:N, error-write:N, reject-identifier, silent-after:N, store-corrupt:N, "
         "power-loss:N (N counts the lines the radio received); may be repeated",
         true},
        kLanguageOption,
    };
}

std::vector<OptionRule> WriteOptionRules() {
    std::vector<OptionRule> options = TransferOptionRules();
    options.push_back({{"--backup"},
                       "",
                       "read the whole radio and store it as a before-write backup before the "
                       "first line is written"});
    options.push_back({{"--no-verify"}, "", "do not read back and compare what was written"});
    return options;
}

std::optional<std::string> SimFaults(const Arguments& args) {
    const std::vector<std::string> rules = args.Values("--sim-fault");
    if (rules.empty()) return std::nullopt;
    std::string joined;
    for (const std::string& rule : rules) joined += (joined.empty() ? "" : ",") + rule;
    return joined;
}

std::string PortArgument(const Arguments& args) {
    const auto port = args.Option("--port");
    if (!port || port->empty()) throw UsageError("missing --port NAME");
    return *port;
}

void TakePassword(const Arguments& args, Workspace& ws) {
    ws.ui.password = args.Option("--password");
}

std::vector<std::uint8_t> SimMemoryFor(const std::string& port, const Arguments& args,
                                       const CommandIo& io, std::optional<int> model) {
    if (port != kSimPortName) return {};
    const auto fresh = LoadWorkspace(args, io);
    if (model && *model != fresh->doc.model()) {
        ChangeModel(fresh->doc, *model, fresh->ui, [] { return true; });
    }
    return FreshRadioMemory(fresh->doc);
}

TransferRequest WriteRequest(const Arguments& args, bool withPort) {
    TransferRequest request;
    request.mode = TransferMode::Write;
    if (withPort) request.port = PortArgument(args);
    request.options = {.verify = !args.Flag("--no-verify"), .backupFirst = args.Flag("--backup")};
    request.simFaults = SimFaults(args);
    return request;
}

std::unique_ptr<PortLinks> RunLinks(std::vector<std::uint8_t> simMemory,
                                    const std::optional<std::string>& simFaults, bool simUsed,
                                    const LanguageTexts* texts) {
    if (simFaults && !simUsed) throw UsageError("--sim-fault needs --port sim");
    auto links = std::make_unique<PortLinks>(std::move(simMemory), 0, texts);
    if (simFaults) {
        if (const std::string error = links->AddSimFaults(*simFaults); !error.empty())
            throw UsageError("--sim-fault: " + error);
    }
    return links;
}

void RunTransfer(const TransferRequest& request, Workspace& ws, CommandIo& io) {
    io.session.portName = request.port;
    QtTimers timers;
    const std::unique_ptr<PortLinks> links =
        RunLinks(request.simMemory, request.simFaults, request.port == kSimPortName, nullptr);
    const std::unique_ptr<SerialLink> link = links->LinkFor(request.port, timers);
    const TransferTexts texts = TransferTexts::From(ws.texts);

    ws.ui.messages.clear();
    Transfer t(request.mode, ws.doc.codeplug(), io.session, *link, timers, ws.ui, texts);
    SetUpTransfer(t, io.session);
    t.SetOptions(request.options);
    if (!request.restore.bytes.empty())
        t.SetRestoreImage(request.restore.bytes, request.restore.unreadLines);
    t.Load();
    if (!ws.ui.messages.empty()) throw CommandError(ws.ui.Report("cannot open " + request.port));

    if (request.newPassword) {
        t.SetPasswordModify(true);
        t.SetNewPasswordText(*request.newPassword);
    }

    QEventLoop loop;
    const bool bar = io.errIsTerminal && !io.quiet;
    ProgressBarTexts barTexts{.label = texts.completed};
    if (std::string left = ws.texts.LanguageText("RW", "rwtimeleft"); !left.empty())
        barTexts.timeLeft = std::move(left);
    ProgressBarDisplay display(io.err, barTexts);
    std::string shown = t.ProgressText();
    t.SetOnChange([&] {
        if (t.ProgressText() != shown) {
            shown = t.ProgressText();
            if (bar) {
                display.Show(t.ProgressValue(), kImageLines);
            } else if (!io.quiet) {
                io.err << texts.completed << ' ' << shown << std::endl;
            }
        }
        if (t.Over()) loop.quit();
    });
    if (bar) display.Show(0, kImageLines);
    t.Start();
    // Start may already have ended it, before the loop could be told to quit.
    if (!t.Over()) loop.exec();
    t.SetOnChange(nullptr);
    display.Clear();

    const std::size_t shownBefore = ws.ui.messages.size();
    const std::filesystem::path backup = FinishTransfer(ws.doc, io.session, t, ws.ui);
    if (!backup.empty() && !io.quiet) io.err << "Backup: " << backup.string() << '\n';
    if (t.Result() != TransferResult::Completed) throw CommandError(FailureText(t, ws));
    // A read that could not be backed up still counts; the user is told.
    for (std::size_t i = shownBefore; i < ws.ui.messages.size(); ++i) {
        io.err << "qxctl: " << ws.ui.messages[i] << '\n';
    }
}

}  // namespace qx::cli
