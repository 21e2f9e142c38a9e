#include "app/transfer_commands.h"

#include "app/channel_ops.h"
#include "app/check_texts.h"
#include "app/project_file.h"
#include "app/settings_files.h"
#include "files/backups.h"
#include "image/memory_image.h"

namespace qx {

namespace {

bool PortChosen(const Session& session, Ui& ui) {
    if (!session.fixedPortList && session.portName.empty()) {
        ui.ShowWarning("Please Set Com Port!");
        return false;
    }
    return true;
}

}  // namespace

WriteCheck DecideWrite(const CheckProblems& problems) {
    if (problems.empty()) return WriteCheck::Write;
    return HasErrors(problems) ? WriteCheck::Stop : WriteCheck::Ask;
}

bool CheckBeforeWrite(const Document& doc, const Session& session, Ui& ui,
                      const ReviewProblems& review) {
    const CheckProblems problems = CheckCodeplug(doc.codeplug());
    const WriteCheck decision = DecideWrite(problems);
    if (decision == WriteCheck::Write) return true;
    bool goOn = false;
    if (review) {
        goOn = review(problems, decision);
    } else {
        const LanguageTexts texts(session.paths.languageDir, session.languageFile);
        std::string text;
        for (const CheckProblem& problem : problems)
            text += (text.empty() ? "" : "\n") + CheckReportLine(problem, texts);
        if (decision == WriteCheck::Stop) {
            ui.ShowMessage(text);
        } else {
            goOn = ui.Ask(text, Buttons::OkCancel) == Answer::Ok;
        }
    }
    return decision == WriteCheck::Ask && goOn;
}

bool CheckWriteChannels(const Document& doc, Ui& ui) {
    for (int row = 1; row <= kChannelRows; ++row) {
        if (doc.codeplug().Row(row).inUse) return true;
    }
    ui.ShowMessage("please active one channel in 0 to 99.");
    return false;
}

bool PrepareRead(const Document& doc, const Session& session, Ui& ui) {
    if (!PortChosen(session, ui)) return false;
    ui.ShowMessage(doc.texts.Message(9007));
    return true;
}

bool PrepareRestore(const Document& doc, const Session& session, Ui& ui) {
    return PrepareRead(doc, session, ui);  // the same test and notice
}

bool PrepareWrite(const Document& doc, const Session& session, Ui& ui,
                  const ReviewProblems& review) {
    if (!PortChosen(session, ui)) return false;
    // Before the notice: there is no point connecting a radio for a write
    // that cannot go on.
    if (!CheckBeforeWrite(doc, session, ui, review)) return false;
    ui.ShowMessage(doc.texts.Message(9007));
    return CheckWriteChannels(doc, ui);
}

void SetUpTransfer(Transfer& transfer, const Session& session) {
    transfer.SetOptions(session.transferChoices);
    transfer.SetRestorePoint(session.lastBackup.string());
    transfer.SetBackupStore(BeforeWriteBackups(session.paths.backupDir));
}

std::function<StoredBackup(std::span<const std::uint8_t>)> BeforeWriteBackups(
    const std::filesystem::path& folder) {
    return [folder](std::span<const std::uint8_t> image) {
        if (folder.empty()) return StoredBackup{"", "No folder for backups is known."};
        const BackupResult stored =
            StoreBackup(folder, image, ImageModelIndex(image), "before-write", std::time(nullptr));
        return StoredBackup{stored.path.string(), stored.error};
    };
}

std::optional<BackupImage> ReadBackupToRestore(const std::filesystem::path& path, Ui& ui) {
    auto bytes = ReadBackupImage(path, ui);
    if (!bytes) return std::nullopt;
    UnreadLines unread = ReadUnreadLines(path);
    if (!unread.error.empty()) {
        ui.ShowError(unread.error);
        return std::nullopt;
    }
    return BackupImage{std::move(*bytes), std::move(unread.lines)};
}

std::optional<BackupImage> ChooseBackupToRestore(const Session& session, Ui& ui) {
    const auto chosen = ui.ChooseOpenFileIn(kBackupFilter, session.paths.backupDir.string());
    if (!chosen || chosen->empty()) return std::nullopt;
    return ReadBackupToRestore(*chosen, ui);
}

std::filesystem::path FinishTransfer(Document& doc, Session& session, const Transfer& transfer,
                                     Ui& ui) {
    // The features the radio reported count even when the transfer failed.
    StoreFeatureFlags(session);
    ShowRadioFeatures(doc, session.featureFlags);
    const std::filesystem::path beforeWrite = transfer.BackupPath();
    if (!beforeWrite.empty()) session.lastBackup = beforeWrite;
    if (transfer.Result() != TransferResult::Completed) return beforeWrite;
    if (transfer.Restoring()) return beforeWrite;
    if (transfer.Mode() == TransferMode::Write) {
        // The radio now holds what was written: the document is clean as far
        // as it still equals that.
        doc.MarkClean(transfer.Written());
        return beforeWrite;
    }
    ImageDecoding read = DecodeImage(transfer.Image(), doc.model());
    if (!read.error.empty()) return {};
    // The image exactly as received, before anything reads it into the document.
    BackupResult backup;
    if (!session.paths.backupDir.empty()) {
        const std::vector<int> unread = transfer.UnreadLines();
        backup = StoreBackup(session.paths.backupDir, transfer.Image(), read.codeplug.model,
                             unread.empty() ? "read" : "quick-read", std::time(nullptr),
                             kBackupsKept, unread);
        if (!backup.error.empty()) ui.ShowMessage("The read was not backed up. " + backup.error);
        if (!backup.path.empty()) session.lastBackup = backup.path;
    }
    doc.Replace(std::move(read.codeplug), StepLabel{StepKind::Read});
    doc.BelongTo({});
    return backup.path;
}

}  // namespace qx
