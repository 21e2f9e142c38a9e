// Whole-file reads and all-or-nothing writes for the project files: a save
// goes to temporaries beside the targets, which replace the targets only once
// every temporary was written completely. A journal beside the first target
// lets a save that was killed halfway be completed or undone later.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qx {

struct PendingFile {
    std::filesystem::path target;
    std::string content;
};

// The steps of a write in the order they are taken, so that a test can make
// one of them fail or stop the write there as a killed process would.
enum class WriteStep {
    Journal,    // the journal naming the temporaries is written
    Temporary,  // file i's new content goes to its temporary
    Backup,     // file i's previous content is kept beside it
    Commit,     // the journal records that every new file is complete
    Replace,    // file i's temporary is renamed over it
    Cleanup,    // the backups and the journal are removed
};
enum class StepAction { Proceed, Fail, Stop };
// Asked before each step (with the file's index where the step has one).
using WriteStepHook = std::function<StepAction(WriteStep step, std::size_t file)>;

// Writes the files (all in one folder; the first one names the journal)
// all-or-nothing: the temporaries are written, flushed and closed, the
// previous files kept, then the temporaries renamed over the targets. Returns
// "" on success, else a description naming the file and the reason; then the
// previous files are back as they were and no temporary is left. The new
// files take the previous files' permission bits; not their owner, which only
// the superuser may give away and which the standard library cannot set. An
// unfinished write of the same first file is finished first (see
// RecoverUnfinishedWrite).
[[nodiscard]] std::string WriteFilesAtomically(std::span<const PendingFile> files,
                                               const WriteStepHook& hook = {});

enum class Recovery {
    None,       // no unfinished write
    Completed,  // every new file was complete: they now replace the previous ones
    Undone,     // the previous files are back as they were
    Failed,     // the write could not be finished; its journal stays for another try
};
struct RecoveryResult {
    Recovery outcome = Recovery::None;
    std::string error;  // why, when Failed
};
// Finishes a write whose first file is `first` that was cut off before its
// end: a write that had every new file complete is completed, an earlier one
// undone. The temporaries, the kept previous files and the journal go.
[[nodiscard]] RecoveryResult RecoverUnfinishedWrite(const std::filesystem::path& first);

struct FileBytes {
    std::vector<std::uint8_t> bytes;
    std::uintmax_t size = 0;  // the whole file's size, which may exceed what was read
    std::string error;        // "" when the read succeeded
};

// Reads at most `limit` bytes from the start of a regular file; a folder, a
// pipe or a device is refused without being opened.
FileBytes ReadFileBytes(const std::filesystem::path& path, std::size_t limit);

// The user-facing form of a failed file operation: `Cannot save "x.qx": reason.`
std::string FileErrorText(const char* action, const std::filesystem::path& path,
                          const std::string& reason);

}  // namespace qx
