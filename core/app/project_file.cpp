#include "app/project_file.h"

#include <string_view>

#include "app/channel_ops.h"
#include "app/main_commands.h"
#include "files/atomic_file.h"
#include "files/ton_file.h"
#include "image/memory_image.h"
#include "util/text.h"

namespace qx {

namespace {

// Puts `first` for "%1" and `second` for "%2", in one pass so that neither
// value is read as a marker.
std::string Filled(std::string_view pattern, const std::string& first,
                   const std::string& second = {}) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == '1' || pattern[i + 1] == '2')) {
            text += pattern[++i] == '1' ? first : second;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

}  // namespace

std::string WriteProject(const Codeplug& codeplug, const std::filesystem::path& path,
                         const WriteStepHook& hook) {
    const ProjectEncoding encoding = EncodeProject(codeplug);
    if (!encoding.problems.empty()) {
        return FileErrorText("Cannot save", path, encoding.problems.front().message);
    }
    const std::vector<std::uint8_t>& ton = encoding.files.ton;
    const PendingFile files[] = {
        {path, encoding.files.qx},
        {CompanionPath(path), std::string(ton.begin(), ton.end())},
    };
    return WriteFilesAtomically(files, hook);
}

bool RecoverProjectSave(const DocumentTexts& texts, const std::filesystem::path& path, Ui& ui) {
    const RecoveryResult recovered = RecoverUnfinishedWrite(path);
    switch (recovered.outcome) {
        case Recovery::None:
            return true;
        case Recovery::Completed:
            ui.ShowMessage(Filled(texts.saveCompleted, path.string()));
            return true;
        case Recovery::Undone:
            ui.ShowMessage(Filled(texts.saveUndone, path.string()));
            return true;
        case Recovery::Failed:
            break;
    }
    ui.ShowError(Filled(texts.saveNotFinished, path.string(), recovered.error));
    return false;
}

std::string SaveProject(Document& doc, const std::filesystem::path& path) {
    if (std::string error = WriteProject(doc.codeplug(), path); !error.empty()) return error;
    doc.BelongTo(path.string());
    doc.MarkClean();
    return {};
}

std::filesystem::path WithProjectExtension(const std::filesystem::path& path) {
    // A folder is left as it is, for the save to name it as one.
    if (!path.has_filename()) return path;
    if (EqualsIgnoreCase(path.extension().string(), ".qx")) return path;
    std::filesystem::path named = path;
    named += ".qx";
    return named;
}

bool BelongsToFile(const Document& doc) { return doc.filename != kNoFileName; }

namespace {

bool SaveTo(Document& doc, const std::filesystem::path& path, Ui& ui) {
    if (!RecoverProjectSave(doc.texts, path, ui)) return false;
    const std::string error = SaveProject(doc, path);
    if (!error.empty()) ui.ShowError(error);
    return error.empty();
}

}  // namespace

bool SaveCommand(Document& doc, Ui& ui) {
    if (!BelongsToFile(doc)) return SaveAsCommand(doc, ui);
    return SaveTo(doc, doc.filename, ui);
}

bool SaveAsCommand(Document& doc, Ui& ui) {
    const auto chosen = ui.ChooseSaveFileAs(kProjectFilter, doc.filename);
    if (!chosen || chosen->empty()) return false;
    const std::filesystem::path path = WithProjectExtension(*chosen);
    // The dialog asked about replacing the name typed, not the one saved.
    std::error_code ec;
    if (path != *chosen && std::filesystem::exists(path, ec) &&
        ui.Ask(Filled(doc.texts.saveReplace, path.string()), Buttons::YesNo) != Answer::Yes) {
        return false;
    }
    return SaveTo(doc, path, ui);
}

OpenOutcome OpenProject(Document& doc, const std::filesystem::path& path, Ui& ui) {
    if (!RecoverProjectSave(doc.texts, path, ui)) return OpenOutcome::Failed;
    std::error_code ec;
    (void)std::filesystem::file_size(path, ec);
    if (ec) {
        ui.ShowError(FileErrorText("Cannot open", path, ec.message()));
        return OpenOutcome::Failed;
    }
    // One byte more than a project may have, so a larger file is recognised.
    const FileBytes file = ReadFileBytes(path, kMaxProjectBytes + 1);
    if (!file.error.empty()) {
        ui.ShowError(file.error);
        return OpenOutcome::Failed;
    }
    // A missing or short companion file gives the default signalling record.
    const FileBytes companion = ReadFileBytes(CompanionPath(path), kTonRecordSize);
    const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()),
                                file.bytes.size());
    ProjectDecoding read = DecodeProject(text, companion.bytes, doc.codeplug());
    switch (read.status) {
        case ProjectReadStatus::Read:
            doc.Replace(std::move(read.codeplug), StepLabel{StepKind::Open});
            doc.BelongTo(path.string());
            return OpenOutcome::Opened;
        case ProjectReadStatus::TooLarge:
            // The records are left alone; the companion's signalling is taken.
            ui.ShowMessage(doc.texts.Message(9002));
            doc.Replace(std::move(read.codeplug), StepLabel{StepKind::Open});
            return OpenOutcome::TooLarge;
        case ProjectReadStatus::BadOptionRecord:
        case ProjectReadStatus::BadAutoDialerRecord:
            ui.ShowMessage(
                doc.texts.Message(read.status == ProjectReadStatus::BadOptionRecord ? 9004 : 9003));
            ClearAll(doc);
            return OpenOutcome::Rejected;
        default:
            ui.ShowError(FileErrorText("Cannot open", path, read.error));
            return OpenOutcome::Failed;
    }
}

std::optional<std::vector<std::uint8_t>> ReadBackupImage(const std::filesystem::path& path,
                                                         Ui& ui) {
    // One byte more than an image, so a longer file is refused rather than cut.
    FileBytes file = ReadFileBytes(path, kImageSize + 1);
    if (!file.error.empty()) {
        ui.ShowError(file.error);
        return std::nullopt;
    }
    if (file.size != kImageSize) {
        // The size on disk, not the part read.
        std::string reason = ImageSizeError(file.size);
        reason.pop_back();  // the file error text ends the sentence
        ui.ShowError(FileErrorText("Cannot open", path, reason));
        return std::nullopt;
    }
    return std::move(file.bytes);
}

OpenOutcome OpenBackup(Document& doc, const std::filesystem::path& path, Ui& ui) {
    const auto image = ReadBackupImage(path, ui);
    if (!image) return OpenOutcome::Failed;
    ImageDecoding decoded = DecodeImage(*image, doc.model());
    doc.Replace(std::move(decoded.codeplug), StepLabel{StepKind::Open});
    doc.BelongTo({});
    return OpenOutcome::Opened;
}

OpenOutcome OpenBackupCommand(Document& doc, const std::filesystem::path& backupDir, Ui& ui) {
    if (!ConfirmDiscard(doc, ui, Buttons::YesNoCancel)) return OpenOutcome::Cancelled;
    const auto chosen = ui.ChooseOpenFileIn(kBackupFilter, backupDir.string());
    if (!chosen || chosen->empty()) return OpenOutcome::Cancelled;
    return OpenBackup(doc, *chosen, ui);
}

OpenOutcome OpenCommand(Document& doc, Ui& ui) {
    if (!ConfirmDiscard(doc, ui, Buttons::YesNoCancel)) return OpenOutcome::Cancelled;
    const auto chosen = ui.ChooseOpenFile(kProjectFilter);
    if (!chosen || chosen->empty()) return OpenOutcome::Cancelled;
    return OpenProject(doc, *chosen, ui);
}

OpenOutcome OpenFileCommand(Document& doc, const std::filesystem::path& path, Ui& ui) {
    if (!ConfirmDiscard(doc, ui, Buttons::YesNoCancel)) return OpenOutcome::Cancelled;
    return OpenProject(doc, path, ui);
}

}  // namespace qx
