// Any bytes as a CSV file or as pasted tab-separated text, through the reader
// and the import plan: they must report or read, never crash or hang, and
// every row must be counted once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/csv_import.h"
#include "codeplug/defaults.h"
#include "files/peer_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const qx::Codeplug base = qx::NewCodeplug(3);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& reading :
         {qx::ReadCsv(text), qx::ReadCsv(text, '\t', qx::CsvHeader::Optional)}) {
        const qx::CsvImportPlan plan = qx::PlanCsvImport(base, reading);
        if (plan.imported + plan.skipped != static_cast<int>(reading.rows.size())) std::abort();
        const qx::CsvReading again = qx::ReadCsv(qx::WriteCsv(plan.result));
        if (again.issue != qx::CsvFileIssue::None) std::abort();
    }
    return 0;
}
