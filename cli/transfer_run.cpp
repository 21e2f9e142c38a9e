#include "transfer_run.h"

#include <QEventLoop>
#include <ostream>

#include "app/channel_ops.h"
#include "link/simulated_link.h"
#include "port_links.h"
#include "qt_timers.h"

namespace qx::cli {
namespace {

std::string FailureText(const Transfer& t, const Workspace& ws) {
    if (t.Result() == TransferResult::PasswordCancelled) {
        return ws.ui.password ? "The password given with --password is not the radio's password."
                              : "The radio is protected by a password; give it with --password.";
    }
    return ws.ui.Report("the transfer ended without completing");
}

}  // namespace

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

Arguments ParseWriteArguments(const std::vector<std::string>& args,
                              std::vector<std::string> extraOptions) {
    extraOptions.insert(extraOptions.end(), kTransferOptions.begin(), kTransferOptions.end());
    extraOptions.push_back("--language");
    const Arguments parsed = ParseArguments(args, extraOptions, {"--backup", "--no-verify"});
    if (!parsed.error.empty()) throw UsageError(parsed.error);
    if (parsed.positional.size() != 1) throw UsageError("wrong number of arguments");
    return parsed;
}

TransferRequest WriteRequest(const Arguments& args) {
    TransferRequest request;
    request.mode = TransferMode::Write;
    request.port = PortArgument(args);
    request.options = {.verify = !args.Flag("--no-verify"), .backupFirst = args.Flag("--backup")};
    request.simFaults = args.Option("--sim-fault");
    return request;
}

void RunTransfer(const TransferRequest& request, Workspace& ws, CommandIo& io) {
    io.session.portName = request.port;
    QtTimers timers;
    PortLinks links(request.simMemory);
    if (request.simFaults) {
        if (request.port != kSimPortName) throw UsageError("--sim-fault needs --port sim");
        if (const std::string error = links.AddSimFaults(*request.simFaults); !error.empty())
            throw UsageError("--sim-fault: " + error);
    }
    const std::unique_ptr<SerialLink> link = links.LinkFor(request.port, timers);
    const TransferTexts texts = TransferTexts::From(ws.texts);

    ws.ui.messages.clear();
    Transfer t(request.mode, ws.doc.codeplug(), io.session, *link, timers, ws.ui, texts);
    SetUpTransfer(t, io.session);
    t.SetOptions(request.options);
    if (!request.restoreImage.empty()) t.SetRestoreImage(request.restoreImage);
    t.Load();
    if (!ws.ui.messages.empty()) throw CommandError(ws.ui.Report("cannot open " + request.port));

    if (request.newPassword) {
        t.SetPasswordModify(true);
        t.SetNewPasswordText(*request.newPassword);
    }

    QEventLoop loop;
    std::string shown = t.ProgressText();
    t.SetOnChange([&] {
        if (t.ProgressText() != shown) {
            shown = t.ProgressText();
            io.err << texts.completed << ' ' << shown << std::endl;
        }
        if (t.Over()) loop.quit();
    });
    t.Start();
    // Start may already have ended it, before the loop could be told to quit.
    if (!t.Over()) loop.exec();
    t.SetOnChange(nullptr);

    const std::size_t shownBefore = ws.ui.messages.size();
    const std::filesystem::path backup = FinishTransfer(ws.doc, io.session, t, ws.ui);
    if (!backup.empty()) io.err << "Backup: " << backup.string() << '\n';
    if (t.Result() != TransferResult::Completed) throw CommandError(FailureText(t, ws));
    // A read that could not be backed up still counts; the user is told.
    for (std::size_t i = shownBefore; i < ws.ui.messages.size(); ++i) {
        io.err << "qxctl: " << ws.ui.messages[i] << '\n';
    }
}

}  // namespace qx::cli
