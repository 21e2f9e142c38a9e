// The main window's read and write commands around the transfer window: the
// checks before it opens, and what a finished transfer changes in the
// document and the settings.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "app/document.h"
#include "app/session.h"
#include "codeplug/check.h"
#include "files/backups.h"
#include "link/transfer.h"
#include "platform/ui.h"

namespace qx {

// What the check before a write lets happen: the write, a question first
// (warnings only) or no write (errors).
enum class WriteCheck { Write, Ask, Stop };
WriteCheck DecideWrite(const CheckProblems& problems);

// Shows the problems the check found before a write; for `Ask` it returns
// whether the user goes on writing (for `Stop` the answer is not used).
using ReviewProblems = std::function<bool(const CheckProblems& problems, WriteCheck decision)>;

// The check of the document's codeplug before a write: true when the write
// may go on. Problems go to `review`; without one they are shown through
// `ui` in the session's language, warnings with an OK/Cancel question.
bool CheckBeforeWrite(const Document& doc, const Session& session, Ui& ui,
                      const ReviewProblems& review = {});

// The main window's "&Read CH Data" and "&Write CH Data" entries up to the
// opening of the transfer window: the port test, for a write the check of
// the codeplug, the notice (MSG 9007) and, for a write, at least one channel
// in use. False when the window must not open (the reason was shown).
bool PrepareRead(const Document& doc, const Session& session, Ui& ui);
// Transfer > Restore Backup, once the image was chosen: the port test and the notice.
bool PrepareRestore(const Document& doc, const Session& session, Ui& ui);
bool PrepareWrite(const Document& doc, const Session& session, Ui& ui,
                  const ReviewProblems& review = {});
// The write's own check: at least one of the memory channels in use, else
// the message and false.
bool CheckWriteChannels(const Document& doc, Ui& ui);

// Before Start: the session's remembered choices (verify, back up first,
// read twice), where a backup made before a write goes ("before-write",
// in the session's backup folder) and the backup a partly written radio
// can be restored from.
void SetUpTransfer(Transfer& transfer, const Session& session);
// Stores the radio read before a write as a "before-write" backup in `folder`.
std::function<StoredBackup(std::span<const std::uint8_t>)> BeforeWriteBackups(
    const std::filesystem::path& folder);

// A backup image as a restore writes it: its bytes, checked, and the lines
// its companion says were never read. nullopt when either cannot be read
// (shown): a restore must not guess which lines hold what the radio had.
std::optional<BackupImage> ReadBackupToRestore(const std::filesystem::path& path, Ui& ui);
// Transfer > Restore Backup: the open dialog in the backup folder, then
// ReadBackupToRestore. nullopt when cancelled or unreadable (shown).
std::optional<BackupImage> ChooseBackupToRestore(const Session& session, Ui& ui);

// After the transfer window closed: the signalling menus follow the features
// the radio reported; a completed read replaces the document's codeplug as
// one step (the image decoded for the model it names, else the document's),
// a completed write makes what was written the clean state. A failed or
// stopped transfer leaves the document as it was, and so does a restore. A
// completed read is kept as a backup in the session's backup folder (a
// failure is shown); a quick read's as "quick-read", with the companion
// naming the lines it left out. The path of the backup the transfer stored
// (the read, or the radio before a write) is returned, empty when none was.
std::filesystem::path FinishTransfer(Document& doc, Session& session, const Transfer& transfer,
                                     Ui& ui);

}  // namespace qx
