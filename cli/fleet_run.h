// qxctl write into several radios at once: the radios from the command line,
// one progress line each, and the summary table at the end.
#pragma once

#include <vector>

#include "command_line.h"
#include "fleet/fleet_write.h"
#include "transfer_run.h"
#include "workspace.h"

namespace qx::cli {

// The options a write into several radios adds to a write's.
std::vector<OptionRule> FleetOptionRules();

// The radios --port (repeated), --ports-from and --per-radio name, with the
// self IDs of --self-id-from. Throws UsageError for what does not fit.
std::vector<FleetRadio> FleetRadios(const Arguments& args);

// True when the command line asks for more than a write into one radio.
bool WantsFleet(const Arguments& args);

// Writes the project in `ws` into every radio (checked and prepared by the
// caller), prints the summary table on io.out and, with --summary, writes it
// as CSV. Throws CommandError naming the radios to redo when any failed.
void RunFleetWrite(const Arguments& args, std::vector<FleetRadio> radios,
                   const TransferRequest& request, Workspace& ws, CommandIo& io);

}  // namespace qx::cli
