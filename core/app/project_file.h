// The Save and Open commands of the main window over the project file pair
// (the ".qx" records and the companion signalling file, see project_codec.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/document.h"
#include "files/atomic_file.h"
#include "files/project_codec.h"
#include "platform/ui.h"

namespace qx {

inline constexpr const char* kProjectFilter = "data files (*.qx)|*.qx|All files (*.*)|*.*";

// Writes the project file and its companion as one (see WriteFilesAtomically;
// `hook` is for tests); "" on success, else a description naming the file and
// the reason (the previous pair stays as it was).
[[nodiscard]] std::string WriteProject(const Codeplug& codeplug, const std::filesystem::path& path,
                                       const WriteStepHook& hook = {});
// Completes or undoes a save of the project at `path` that was interrupted
// (the program killed halfway) and tells the user which. False, with the
// reason shown, when it cannot be finished.
bool RecoverProjectSave(const DocumentTexts& texts, const std::filesystem::path& path, Ui& ui);
// WriteProject for the document; on success the document belongs to the
// file and is clean.
[[nodiscard]] std::string SaveProject(Document& doc, const std::filesystem::path& path);
// A project path always ends in ".qx" (any case): otherwise ".qx" is added,
// as the open dialog lists only such files and the companion file's name is
// made from the project's by replacing its last two characters.
std::filesystem::path WithProjectExtension(const std::filesystem::path& path);
// True once the document was opened from or saved to a file.
bool BelongsToFile(const Document& doc);
// The Save command: in place when the document belongs to a file, else Save As.
// True only when the files were written.
bool SaveCommand(Document& doc, Ui& ui);
// The Save As command: the save dialog proposing the document's file (or
// "noname.qx"), ".qx" added to a name without it (an existing file of that
// name is replaced only when the user says so), an interrupted earlier save
// of the chosen file settled (RecoverProjectSave), then SaveProject; a
// failure is shown. True only when the files were written.
bool SaveAsCommand(Document& doc, Ui& ui);

enum class OpenOutcome {
    Opened,     // the records were applied (all, or as many as the file holds)
    TooLarge,   // MSG 9002: records left alone, the companion file read
    Rejected,   // MSG 9004 / 9003: the option or dialer record was malformed, document cleared
    Failed,     // unreadable or invalid file: the document is exactly as it was
    Cancelled,  // no file chosen
};
// Reads a project from a known path; every message goes through `ui`. An
// interrupted save of it is settled first (RecoverProjectSave). The whole
// file is checked before anything is applied; an opened file is one
// undo step and the new clean state.
OpenOutcome OpenProject(Document& doc, const std::filesystem::path& path, Ui& ui);
inline constexpr const char* kBackupFilter = "radio backups (*.img)|*.img|All files (*.*)|*.*";
// Opens a backup of the radio's memory (or any 8192-byte image) as a new
// document: one undo step, belonging to no file. A file that is no image is
// reported and the document stays as it was.
OpenOutcome OpenBackup(Document& doc, const std::filesystem::path& path, Ui& ui);
// The bytes of a backup image (a regular file of 8192 bytes); nullopt when
// it cannot be one, after the reason was shown.
std::optional<std::vector<std::uint8_t>> ReadBackupImage(const std::filesystem::path& path, Ui& ui);
// File > Open Backup: the save question (Yes/No/Cancel), the open dialog,
// then OpenBackup.
// The dialog starts in `backupDir`.
OpenOutcome OpenBackupCommand(Document& doc, const std::filesystem::path& backupDir, Ui& ui);

// The Open command: the save question (Yes/No/Cancel, see ConfirmDiscard),
// the open dialog, then OpenProject.
OpenOutcome OpenCommand(Document& doc, Ui& ui);
// Opening a given file (dropped on the window, chosen from the recent
// files): the save question, then OpenProject.
OpenOutcome OpenFileCommand(Document& doc, const std::filesystem::path& path, Ui& ui);

}  // namespace qx
