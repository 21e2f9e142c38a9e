// What qxctl read and write share: the link for a port name, the transfer
// run to its end in a Qt event loop, progress lines and the failure text.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/transfer_commands.h"
#include "command_line.h"
#include "port_links.h"
#include "workspace.h"

namespace qx::cli {

// The port from --port (required) and the password from --password.
std::string PortArgument(const Arguments& args);
void TakePassword(const Arguments& args, Workspace& ws);

// What the built-in simulated radio holds for a run on `port`: nothing for a
// real port; for "sim" a fresh radio's memory with the default channel list,
// of `model` when given (a write then finds the radio it expects) or else
// of the default model.
std::vector<std::uint8_t> SimMemoryFor(const std::string& port, const Arguments& args,
                                       const CommandIo& io, std::optional<int> model);

// The options every transfer takes: the port, the password, the built-in
// radio's faults; and those of a write (write, restore).
std::vector<OptionRule> TransferOptionRules();
std::vector<OptionRule> WriteOptionRules();

// The --sim-fault rules, each given one joined by ",".
std::optional<std::string> SimFaults(const Arguments& args);

struct TransferRequest {
    TransferMode mode = TransferMode::Read;
    std::string port;
    std::vector<std::uint8_t> simMemory;     // see SimMemoryFor
    std::optional<std::string> newPassword;  // a write that changes the radio's password
    TransferOptions options;                 // verify, back up first, read twice, quick read
    BackupImage restore;                     // a write of this backup image instead of the project
    std::optional<std::string> simFaults;    // --sim-fault: rules for the built-in radio, by ","
};

// A write request on the port of `args` (when `withPort`): verify unless
// --no-verify, a backup first with --backup, the built-in radio's
// --sim-fault rules.
TransferRequest WriteRequest(const Arguments& args, bool withPort = true);

// The links of a run: the built-in radio holding `simMemory`, with the
// --sim-fault rules. Throws UsageError for rules when the built-in radio
// takes no part (`simUsed` false), or rules not understood. `texts` words a
// port's open failure when given.
std::unique_ptr<PortLinks> RunLinks(std::vector<std::uint8_t> simMemory,
                                    const std::optional<std::string>& simFaults, bool simUsed,
                                    const LanguageTexts* texts);

// Runs the transfer on `ws.doc` until it is over, showing its progress on
// io.err (unless quiet): on a terminal one line with a bar and the time left,
// redrawn in place and cleared at the end; else "Completed: N%" at each
// change of the percentage. At the end it names the backup it stored
// ("Backup: PATH"). Returns when the transfer completed; throws
// CommandError with the text the transfer showed otherwise.
void RunTransfer(const TransferRequest& request, Workspace& ws, CommandIo& io);

}  // namespace qx::cli
