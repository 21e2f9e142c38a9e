#include "files/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>

#include "util/file_kind.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSaveAction = "Cannot save";
constexpr std::string_view kJournalHeader = "qxprog write journal 1";
constexpr std::size_t kMaxJournalBytes = 1 << 16;
constexpr std::size_t kTokenLength = 8;

// The reason the last stream operation failed, as the C library reports it.
std::string LastErrorText(const char* fallback) {
    const int error = errno;
    return error != 0 ? std::generic_category().message(error) : fallback;
}

fs::path FolderOf(const fs::path& target) {
    return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

// What a write records before it changes anything, so that a write cut off
// between its steps can be completed or undone by the next one.
struct Journal {
    struct File {
        std::string name;  // in the journal's folder
        bool existed = false;
    };
    bool committed = false;  // every new file is complete: the renames may begin
    std::string token;       // names the temporaries and the kept previous files
    std::vector<File> files;
};

// Hidden names beside the first target: the journal, and the temporary it is
// written to before it is renamed into place.
fs::path JournalPath(const fs::path& first) {
    return FolderOf(first) / ("." + first.filename().string() + ".saving");
}
fs::path JournalTemporary(const fs::path& first) { return fs::path(JournalPath(first)) += ".new"; }

fs::path NewFilePath(const fs::path& folder, const Journal& journal, std::size_t i) {
    return folder / ("." + journal.files[i].name + ".new-" + journal.token);
}
fs::path PreviousFilePath(const fs::path& folder, const Journal& journal, std::size_t i) {
    return folder / ("." + journal.files[i].name + ".old-" + journal.token);
}

std::string NewToken() {
    std::random_device random;
    constexpr const char* kHex = "0123456789abcdef";
    std::string token;
    for (std::size_t i = 0; i < kTokenLength; ++i) token += kHex[random() % 16];
    return token;
}

// A file name may hold any byte but '/' and NUL; line breaks and '%' are
// written as %0A, %0D and %25 so that each name stays on its line.
std::string EscapedName(std::string_view name) {
    std::string text;
    for (const char c : name) {
        switch (c) {
            case '%':
                text += "%25";
                break;
            case '\n':
                text += "%0A";
                break;
            case '\r':
                text += "%0D";
                break;
            default:
                text += c;
        }
    }
    return text;
}

std::optional<std::string> UnescapedName(std::string_view text) {
    constexpr std::pair<std::string_view, char> kEscapes[] = {
        {"%25", '%'}, {"%0A", '\n'}, {"%0D", '\r'}};
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        const auto* escape =
            std::find_if(std::begin(kEscapes), std::end(kEscapes),
                         [&](const auto& e) { return text.substr(i, 3) == e.first; });
        if (escape == std::end(kEscapes)) return std::nullopt;
        name += escape->second;
        i += 2;
    }
    // Only a plain name in the journal's own folder is ever touched.
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return name;
}

std::string JournalText(const Journal& journal) {
    std::string text = std::string(kJournalHeader) + "\n";
    text += journal.committed ? "step replacing\n" : "step writing\n";
    text += "token " + journal.token + "\n";
    for (const auto& file : journal.files) {
        text += std::string("file ") + (file.existed ? "1 " : "0 ") + EscapedName(file.name) + "\n";
    }
    return text;
}

std::optional<Journal> ParseJournal(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // cut off
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    if (lines.size() < 4 || lines[0] != kJournalHeader) return std::nullopt;
    Journal journal;
    if (lines[1] == "step replacing")
        journal.committed = true;
    else if (lines[1] != "step writing")
        return std::nullopt;
    if (!lines[2].starts_with("token ")) return std::nullopt;
    journal.token = lines[2].substr(6);
    if (journal.token.size() != kTokenLength ||
        journal.token.find_first_not_of("0123456789abcdef") != std::string::npos) {
        return std::nullopt;
    }
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (!line.starts_with("file ") || line.size() < 8 || line[6] != ' ' ||
            (line[5] != '0' && line[5] != '1')) {
            return std::nullopt;
        }
        const auto name = UnescapedName(line.substr(7));
        if (!name) return std::nullopt;
        journal.files.push_back({*name, line[5] == '1'});
    }
    return journal;
}

// Why `target` cannot be replaced at all, or "".
std::string CheckTarget(const fs::path& target) {
    std::error_code ec;
    const fs::path folder = FolderOf(target);
    if (!fs::is_directory(folder, ec)) {
        return FileErrorText(kSaveAction, target,
                             "the folder \"" + folder.string() + "\" does not exist");
    }
    if (fs::is_directory(target, ec)) return FileErrorText(kSaveAction, target, "it is a folder");
    return {};
}

// Writes `content` to `path` whole, flushed and closed; "" or the reason.
std::string WriteWhole(const fs::path& path, std::string_view content) {
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return LastErrorText("cannot create it");
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    const bool written = static_cast<bool>(out);
    out.close();
    if (!written || out.fail()) return LastErrorText("the write failed");
    return {};
}

std::string RenameError(const fs::path& from, const fs::path& to, const std::error_code& ec) {
    return "cannot rename \"" + from.filename().string() + "\" to \"" + to.filename().string() +
           "\": " + ec.message();
}

// The journal goes to a temporary first, so it is either whole or absent.
std::string WriteJournal(const fs::path& first, const Journal& journal) {
    const fs::path temporary = JournalTemporary(first);
    if (std::string error = WriteWhole(temporary, JournalText(journal)); !error.empty()) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return error;
    }
    std::error_code ec;
    fs::rename(temporary, JournalPath(first), ec);
    if (ec) {
        fs::remove(temporary, ec);
        return RenameError(temporary, JournalPath(first), ec);
    }
    return {};
}

// The new file gets the permission bits of the one it replaces.
void KeepPermissions(const fs::path& previous, const fs::path& temporary) {
    std::error_code ec;
    const fs::file_status status = fs::status(previous, ec);
    if (ec || !fs::exists(status)) return;
    fs::permissions(temporary, status.permissions() & fs::perms::all, ec);
}

// A second name for the previous file (a copy where the file system has no
// hard links), so that it can be put back unchanged.
std::error_code KeepPrevious(const fs::path& target, const fs::path& kept) {
    std::error_code ec;
    fs::create_hard_link(target, kept, ec);
    if (!ec) return ec;
    ec.clear();
    fs::copy_file(target, kept, ec);
    return ec;
}

bool Exists(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

void RemoveQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove(path, ignored);
}

// Puts every file back as it was before the write; "" or the first failure.
// A file was replaced when the journal was committed and its new file is gone.
std::string UndoWrite(const fs::path& first, const Journal& journal) {
    const fs::path folder = FolderOf(first);
    std::string failure;
    for (std::size_t i = 0; i < journal.files.size(); ++i) {
        const fs::path target = folder / journal.files[i].name;
        const fs::path fresh = NewFilePath(folder, journal, i);
        const fs::path kept = PreviousFilePath(folder, journal, i);
        if (journal.committed && !Exists(fresh)) {
            std::error_code ec;
            if (journal.files[i].existed)
                fs::rename(kept, target, ec);
            else
                fs::remove(target, ec);
            if (ec) {
                if (failure.empty()) failure = RenameError(kept, target, ec);
                continue;  // the kept file stays for the next try
            }
        }
        RemoveQuietly(kept);
        RemoveQuietly(fresh);
    }
    return failure;
}

// Puts every new file in place; "" or the first failure.
std::string CompleteWrite(const fs::path& first, const Journal& journal) {
    const fs::path folder = FolderOf(first);
    for (std::size_t i = 0; i < journal.files.size(); ++i) {
        const fs::path target = folder / journal.files[i].name;
        const fs::path fresh = NewFilePath(folder, journal, i);
        if (Exists(fresh)) {
            std::error_code ec;
            fs::rename(fresh, target, ec);
            if (ec) return RenameError(fresh, target, ec);
        }
    }
    for (std::size_t i = 0; i < journal.files.size(); ++i) {
        RemoveQuietly(PreviousFilePath(folder, journal, i));
    }
    return {};
}

// Removes the journal once the files are settled; "" or why it stays.
std::string RemoveJournal(const fs::path& first) {
    std::error_code ec;
    fs::remove(JournalPath(first), ec);
    return ec ? "cannot remove \"" + JournalPath(first).filename().string() + "\": " + ec.message()
              : std::string();
}

std::string InjectedFailure() { return std::make_error_code(std::errc::io_error).message(); }

}  // namespace

std::string FileErrorText(const char* action, const fs::path& path, const std::string& reason) {
    return std::string(action) + " \"" + path.string() + "\": " + reason + ".";
}

RecoveryResult RecoverUnfinishedWrite(const fs::path& first) {
    RemoveQuietly(JournalTemporary(first));  // a journal never renamed into place records nothing
    if (!Exists(JournalPath(first))) return {};
    const FileBytes bytes = ReadFileBytes(JournalPath(first), kMaxJournalBytes);
    const auto journal =
        bytes.error.empty() && bytes.size == bytes.bytes.size()
            ? ParseJournal({reinterpret_cast<const char*>(bytes.bytes.data()), bytes.bytes.size()})
            : std::nullopt;
    if (!journal) {
        return {Recovery::Failed,
                "the record of it, \"" + JournalPath(first).string() + "\", cannot be read"};
    }
    Recovery outcome = Recovery::Undone;
    std::string error;
    if (journal->committed) {
        error = CompleteWrite(first, *journal);
        if (error.empty()) outcome = Recovery::Completed;
    }
    if (outcome == Recovery::Undone) {
        if (std::string undo = UndoWrite(first, *journal); !undo.empty()) {
            return {Recovery::Failed, error.empty() ? undo : error};
        }
    }
    if (std::string stays = RemoveJournal(first); !stays.empty()) {
        return {Recovery::Failed, stays};
    }
    return {outcome, {}};
}

std::string WriteFilesAtomically(std::span<const PendingFile> files, const WriteStepHook& hook) {
    if (files.empty()) return {};
    const fs::path& first = files.front().target;
    const fs::path folder = FolderOf(first);
    for (const PendingFile& file : files) {
        if (std::string error = CheckTarget(file.target); !error.empty()) return error;
        if (FolderOf(file.target) != folder) {
            return FileErrorText(kSaveAction, file.target,
                                 "it is not in the folder of \"" + first.string() + "\"");
        }
    }
    // What a write of the same files that was cut off left is settled first.
    if (const RecoveryResult recovered = RecoverUnfinishedWrite(first);
        recovered.outcome == Recovery::Failed) {
        return FileErrorText(kSaveAction, first, recovered.error);
    }

    Journal journal{false, NewToken(), {}};
    for (const PendingFile& file : files) {
        journal.files.push_back({file.target.filename().string(), Exists(file.target)});
    }
    const auto ask = [&](WriteStep step, std::size_t i) {
        return hook ? hook(step, i) : StepAction::Proceed;
    };
    constexpr const char* kStopped = "the write was stopped";
    // A failure after the journal was written: everything is put back.
    const auto undone = [&](const fs::path& file, const std::string& reason) {
        std::string error = FileErrorText(kSaveAction, file, reason);
        std::string left = UndoWrite(first, journal);
        if (left.empty()) left = RemoveJournal(first);
        if (left.empty()) return error;
        error.pop_back();
        return error +
               "; the previous files will be put back when the project is next opened "
               "or saved (" +
               left + ").";
    };

    switch (ask(WriteStep::Journal, 0)) {
        case StepAction::Stop:
            return kStopped;
        case StepAction::Fail:
            return FileErrorText(kSaveAction, first, InjectedFailure());
        case StepAction::Proceed:
            if (std::string error = WriteJournal(first, journal); !error.empty()) {
                return FileErrorText(kSaveAction, first, error);
            }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const StepAction action = ask(WriteStep::Temporary, i);
        if (action == StepAction::Stop) return kStopped;
        const fs::path fresh = NewFilePath(folder, journal, i);
        const std::string error =
            action == StepAction::Fail ? InjectedFailure() : WriteWhole(fresh, files[i].content);
        if (!error.empty()) return undone(files[i].target, error);
        KeepPermissions(files[i].target, fresh);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (!journal.files[i].existed) continue;
        const StepAction action = ask(WriteStep::Backup, i);
        if (action == StepAction::Stop) return kStopped;
        std::string error = InjectedFailure();
        if (action == StepAction::Proceed) {
            const std::error_code ec =
                KeepPrevious(files[i].target, PreviousFilePath(folder, journal, i));
            error = ec ? ec.message() : std::string();
        }
        if (!error.empty()) return undone(files[i].target, error);
    }
    journal.committed = true;
    switch (ask(WriteStep::Commit, 0)) {
        case StepAction::Stop:
            return kStopped;
        case StepAction::Fail:
            journal.committed = false;
            return undone(first, InjectedFailure());
        case StepAction::Proceed:
            if (std::string error = WriteJournal(first, journal); !error.empty()) {
                journal.committed = false;
                return undone(first, error);
            }
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        const StepAction action = ask(WriteStep::Replace, i);
        if (action == StepAction::Stop) return kStopped;
        std::error_code ec = std::make_error_code(std::errc::io_error);
        if (action == StepAction::Proceed) {
            fs::rename(NewFilePath(folder, journal, i), files[i].target, ec);
        }
        if (ec) return undone(files[i].target, ec.message());
    }
    // The journal goes last: until then a cut-off write is completed next time.
    if (ask(WriteStep::Cleanup, 0) != StepAction::Proceed) return {};
    for (std::size_t i = 0; i < files.size(); ++i) {
        RemoveQuietly(PreviousFilePath(folder, journal, i));
    }
    (void)RemoveJournal(first);
    return {};
}

FileBytes ReadFileBytes(const fs::path& path, std::size_t limit) {
    FileBytes result;
    const FileKind kind = KindOfFile(path);
    if (kind == FileKind::Folder || kind == FileKind::Other) {
        result.error =
            FileErrorText("Cannot open", path,
                          kind == FileKind::Folder ? "it is a folder" : "it is not a regular file");
        return result;
    }
    std::error_code ec;
    result.size = fs::file_size(path, ec);
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.error = FileErrorText("Cannot open", path, LastErrorText("cannot open it"));
        return result;
    }
    std::string buffer(limit, '\0');
    in.read(buffer.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        result.error = FileErrorText("Cannot read", path, LastErrorText("the read failed"));
        return result;
    }
    buffer.resize(static_cast<std::size_t>(in.gcount()));
    result.bytes.assign(buffer.begin(), buffer.end());
    return result;
}

}  // namespace qx
