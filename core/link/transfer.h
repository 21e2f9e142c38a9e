// The read and write transfer of the transfer window: a request/reply
// dialogue with the radio, one line in flight, driven by events (Start, bytes
// received, reply time-out, close). Single-threaded; it never sleeps. It only
// moves lines between the port and an 8192-byte image: a write encodes the
// document once at Start (or sends a backup image as it is), a completed read
// leaves its image for the caller.
//
// A write runs in passes: the pre-read (the whole memory when a backup comes
// first), the write, and the verify, which reads back every line written.
// A read asks again for a line whose content no radio can hold, may read
// everything twice, and may leave out the lines the program never uses.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "codeplug/codeplug.h"
#include "image/memory_image.h"
#include "link/link_session.h"
#include "link/reply.h"
#include "platform/serial_link.h"
#include "platform/timers.h"
#include "platform/ui.h"
#include "util/language_texts.h"

namespace qx {

enum class TransferMode { Read, Write };

// How a transfer ended; None while idle or running.
enum class TransferResult {
    None,
    Completed,           // RW msg3
    ReadFailed,          // msg1
    WriteFailed,         // msg2
    LengthError,         // msg4: nothing more is sent, the window stays open
    NoAnswer,            // msgopen
    IdentifierRejected,  // msgversion
    ModelTypeDiffers,    // msgmodeltypedif
    BandDiffers,         // msgbanddif
    PasswordCancelled,   // the prompt was cancelled: closed without a message
    PortError,           // the port could not be opened at Start: stays idle
    PortLost,            // the port failed during the transfer
    Stopped,             // Start pressed again while running
    VerifyFailed,        // the radio gave back other bytes than were written, or none
    BackupFailed,        // the backup before a write could not be stored: nothing written
    ReadsDiffer,         // reading twice gave two answers for a line
    BadNewPassword,      // the new password does not fit the radio: nothing was sent
};

// Choices of the transfer window, read when Start is pressed.
struct TransferOptions {
    bool verify = false;       // read back what a write sent
    bool backupFirst = false;  // read the whole radio and store it before writing
    bool readTwice = false;    // read everything twice; use it only when both agree
    bool quickRead = false;    // a read leaves out the lines the program never uses
};

// Where a backup went, or why it could not be stored.
struct StoredBackup {
    std::string path;
    std::string error;
};

// The texts of section "RW", with the built-in captions where a key is missing.
struct TransferTexts {
    // The messages, by their keys: msg1, msg2, msg3, msg4, msgopen, msgversion,
    // msgmodeltypedif, msgbanddif.
    std::string readFailed, writeFailed, done, lengthError, noAnswer, identifierRejected,
        otherModelType, otherBand;
    std::string readTitle, writeTitle;                     // RW001, rw002
    std::string restoreTitle = "Restore backup to radio";  // rw013
    std::string start = "Start";                           // rw003
    std::string stop;                                      // rw004
    std::string close = "Close";                           // rw005
    std::string completed = "Completed:";                  // rw006
    // What a write that went wrong tells about the radio, with its backup.
    std::string verifyFailed = "Verify failed: %1 reads back %2; %3 was written.";
    std::string verifyNoAnswer =
        "Verify failed: the radio did not answer when the written lines were read back.";
    std::string verifyBlock = "the block at address %1";
    std::string partlyWritten = "The radio now holds a partly written memory.";
    std::string restoreHint = "Restore the backup %1 to put back what it held before.";
    std::string noBackupHint = "No backup of it was made; write again to finish.";
    std::string backupFailed = "The radio could not be backed up, so nothing was written. %1";
    std::string readsDiffer =
        "The two reads of the block at address %1 do not agree. Check the cable and read again.";
    std::string passwordDamaged =
        "The radio's password arrived damaged, so it cannot be checked. Check the cable and "
        "read again.";
    std::string passwordTooLong =
        "The new password takes %1 bytes in the radio; at most 16 fit (one byte for each "
        "letter, digit or sign).";
    std::string passwordCharacter =
        "The radio cannot store \"%1\" in a password: only characters of Western European "
        "alphabets fit, one byte each.";
    std::string channel = "channel %1";        // rw011; PL, PH and VFO keep their names
    std::string callChannel = "call channel";  // rw012
    std::array<std::string, 17> fieldNames;    // the channel grid's headings, by ProjectField

    static TransferTexts From(const LanguageTexts& texts);
};

inline constexpr std::size_t kNewPasswordLength = 16;

// Why `text` (UTF-8) cannot be a new password as the radio stores it: one
// Latin-1 byte a character, at most 16 bytes. Empty when it can.
std::string NewPasswordProblem(std::string_view text, const TransferTexts& texts);

// "AL~F" + address + "R", the identifier, "AL~F" + address + "W" + data, the
// end line; each followed by CR LF.
std::string BlockRequestLine(int block);
std::string BlockWriteLine(int block, const std::string& hex);
inline constexpr const char* kIdentifierLine = "PV418\r\n";
inline constexpr const char* kEndLine = "AL~E\r\n";

// The progress label for `block`: block ÷ 512 as a whole percentage ("25%").
std::string ProgressPercent(int block);

class Transfer final : private SerialEvents {
  public:
    // A write sends `document` as it is at Start; a read never touches it.
    // `document` must outlive the transfer.
    Transfer(TransferMode mode, const Codeplug& document, LinkSession& session, SerialLink& link,
             Timers& timers, Ui& ui, TransferTexts texts);
    ~Transfer() override;
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    // Opening the window: resets the transfer and tries the port once (open,
    // close). A port that cannot be opened is reported; the window stays.
    void Load();
    // The "Password modify" box and its field, read when Start is pressed.
    void SetPasswordModify(bool checked) { passwordModify_ = checked; }
    void SetNewPasswordText(const std::string& text);
    void SetOptions(const TransferOptions& options) { options_ = options; }
    const TransferOptions& Options() const { return options_; }
    // A write that sends `image` (a backup) instead of the document: the
    // lines a write of it sends, taken from its bytes, except `unreadLines`
    // (lines the read that made the backup did not read: what the radio
    // holds there stays).
    void SetRestoreImage(std::vector<std::uint8_t> image, std::vector<int> unreadLines = {});
    bool Restoring() const { return !restoreImage_.empty(); }
    // Stores the backup read before a write; called before the first line is written.
    void SetBackupStore(std::function<StoredBackup(std::span<const std::uint8_t>)> store) {
        storeBackup_ = std::move(store);
    }
    // The backup a partly written radio can be restored from when the write
    // made none of its own (the latest one read from it).
    void SetRestorePoint(std::string path) { restorePoint_ = std::move(path); }
    // "Start": starts the transfer; pressed again while running, stops it.
    void Start();
    // "Close" and every other close request: the window unloads 200 ms later.
    void Close();

    // What the window shows.
    TransferMode Mode() const { return mode_; }
    std::string Title() const;
    const std::string& StartCaption() const { return running_ ? texts_.stop : texts_.start; }
    std::string ProgressText() const { return ProgressPercent(progress_); }
    int ProgressValue() const { return progress_; }  // 0..512
    bool Running() const { return running_; }
    bool Closing() const { return closing_; }
    bool Unloaded() const { return unloaded_; }
    TransferResult Result() const { return result_; }
    // Nothing more happens until the user acts: ended, or waiting with its
    // message shown.
    bool Over() const { return unloaded_ || (!running_ && result_ != TransferResult::None); }
    // A write ended after changing the radio without completing.
    bool PartlyWritten() const {
        return result_ != TransferResult::None && result_ != TransferResult::Completed &&
               (writeStarted_ || writeInFlight_);
    }
    // The backup stored before this write, if any.
    const std::string& BackupPath() const { return backupPath_; }
    int BlockIndex() const { return blockIndex_; }
    // The lines received so far (zeros where none arrived); after a completed
    // read, the radio's memory.
    const std::vector<std::uint8_t>& Image() const { return image_; }
    // The lines a read left out on purpose (a quick read's unused lines),
    // zeros in Image(); channels out of use are not counted.
    std::vector<int> UnreadLines() const;
    // What a write sends: the document's codeplug as it was at Start (a
    // restore's: the backup decoded).
    const Codeplug& Written() const { return source_; }

    // The pass running: a write's pre-read (its first lines, or the whole
    // radio for a backup), its writing and its verify; a read's one or two.
    enum class Phase { PreRead, Writing, Verifying, Reading, ReadingAgain };
    Phase CurrentPhase() const { return phase_; }

    // Called after anything the window shows has changed, including the unload.
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    void OnBytes(std::span<const std::uint8_t> bytes) override;
    void OnLinkError(const std::string& text) override;

    void Reset();
    void SendNextData();
    bool LineIncluded(int block) const;
    bool WritesLine(int block) const;
    void EndOfPass();
    void StartPass(Phase phase, int block);
    void OnReadLine(const LineBytes& line);
    void OnVerifyLine(const LineBytes& line);
    void OnSecondReadLine(const LineBytes& line);
    void AcceptLine(const LineBytes& line);
    LineBytes WrittenLine(int block) const;
    std::string VerifyMessage(int block, const LineBytes& line) const;
    std::string WhereText(int row, int field) const;
    std::string PartlyWrittenText() const;
    void FailWrite(TransferResult result, const std::string& message);
    bool PasswordCheck();
    bool ReportFailure();
    void SkipLinesLeftOut();
    bool ReceiveOn();
    bool SendLine(const std::string& line, std::size_t threshold);
    void SendBlockOrEnd();
    void SendWriteStep();
    void OnBlockReply(std::span<const std::uint8_t> reply);
    void OnWriteAck(std::span<const std::uint8_t> reply);
    void OnIdentifierAck(std::span<const std::uint8_t> reply);
    void OnReplyTimeout();
    void StopReplyTimeout();
    void Complete();
    void Finish(TransferResult result, const std::string& message);
    void Unload();
    void SetProgress(int block);
    ReplyCheckMode CheckMode() const;
    bool Reading() const { return phase_ != Phase::Writing; }
    void PutLine(const LineBytes& line);    // into the image, nothing more
    void StoreLine(const LineBytes& line);  // ... and what the line tells the transfer
    std::string WriteLineHex() const;
    void Changed();

    TransferMode mode_;
    const Codeplug& document_;
    LinkSession& session_;
    SerialLink& link_;
    Timers& timers_;
    Ui& ui_;
    TransferTexts texts_;
    std::function<void()> onChange_;

    std::vector<std::uint8_t> image_;    // what a read received
    Codeplug source_;                    // what a write sends, taken at Start
    std::vector<std::uint8_t> written_;  // its image
    std::vector<std::uint8_t> restoreImage_;
    std::vector<bool> restoreSkips_;  // by line: not written back by the restore
    int writeModel_ = 0;
    LineBytes passwordLine_;
    TransferOptions options_;
    std::function<StoredBackup(std::span<const std::uint8_t>)> storeBackup_;
    std::string restorePoint_;
    std::string backupPath_;
    int modelMatch_ = 0;  // the pre-read's CompareModel: 0 same, 1 other band, 2 other type

    // The window's controls.
    bool passwordModify_ = false;
    std::string newPasswordText_;
    int progress_ = 0;

    // The transfer's state.
    int blockIndex_ = 0;
    std::string expectedAddress_;
    Phase phase_ = Phase::Reading;
    int pass_ = 0;                // passes done: the pre-read with a backup, the write, the verify
    int passes_ = 1;              // ... and how many there are
    bool writeStarted_ = false;   // a block write was acknowledged, or went unanswered
    bool writeInFlight_ = false;  // a block write awaits its answer
    // A line whose content was impossible (or, reading twice, differed),
    // kept until it comes back the same.
    int doubtfulLine_ = -1;
    LineBytes doubtful_;
    int doubts_ = 0;
    int resumeLine_ = -1;  // the doubtful channel line, while its bitmap is read again
    bool verifyAnswered_ = false;
    bool identifierAccepted_ = false;
    int retryCount_ = 0;
    int sendCount_ = 0;
    int receiveCount_ = 0;
    bool readFailed_ = false;
    enum class WriteFailure {
        None,
        WriteFailed,
        IdentifierRejected
    } writeFailure_ = WriteFailure::None;
    std::string enteredPassword_;
    bool promptAnswered_ = true;
    bool passwordChecked_ = false;
    bool changePassword_ = false;
    bool running_ = false;
    bool receiving_ = false;
    bool stopped_ = false;  // a failure or a stop: nothing more is sent
    bool closing_ = false;
    bool unloaded_ = false;
    TransferResult result_ = TransferResult::None;
    Timers::TimerId replyTimer_ = 0;
    Timers::TimerId unloadTimer_ = 0;
};

}  // namespace qx
