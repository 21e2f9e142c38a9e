#include "link/transfer.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include "files/project_codec.h"
#include "image/hex.h"
#include "image/memory_image.h"
#include "link/read_back.h"
#include "util/text.h"

namespace qx {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kReplyTimeout{500};
constexpr milliseconds kUnloadDelay{200};

constexpr int kPasswordBlock = 4;
constexpr int kFirstWriteBlock = 16;
constexpr int kReadPasswordCheckBlock = 5;

// Receive thresholds: the exact length of each awaited reply.
constexpr std::size_t kBlockReplyLength = 52;
constexpr std::size_t kIdentifierReplyLength = 13;
constexpr std::size_t kWriteAckLength = 49;
constexpr std::size_t kWriteRefusalLength = 52;
constexpr std::size_t kWriteLineLength = 41;  // without CR LF

constexpr int kReadAttempts = 3;
// A radio may restart after a write's end line: the verify's first request
// is tried for four seconds.
constexpr int kVerifyStartAttempts = 8;
// A line read back other than written is asked for once more before the
// verify fails: the reply, not the memory, may have been damaged.
constexpr int kVerifyAttempts = 2;
constexpr int kWriteRetries = 3;       // a fourth refusal fails the write
constexpr int kIdentifierRetries = 2;  // a third refusal rejects the identifier
constexpr int kSilentSends = 10;

constexpr std::string_view kCrLf = "\r\n";

bool At(std::span<const std::uint8_t> bytes, std::size_t pos, std::string_view text) {
    if (pos + text.size() > bytes.size()) return false;
    return std::equal(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                      [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// The address at `pos` is the one awaited and reads as a hex number.
bool AddressAt(std::span<const std::uint8_t> bytes, std::size_t pos, const std::string& expected) {
    if (!At(bytes, pos, expected)) return false;
    return std::all_of(expected.begin(), expected.end(),
                       [](char c) { return HexDigitValue(c) >= 0; });
}

std::string WithText(const LanguageTexts& texts, const char* key, std::string fallback) {
    std::string text = texts.LanguageText("RW", key);
    return text.empty() ? fallback : text;
}

LineBytes LineOf(std::span<const std::uint8_t> image, int block) {
    LineBytes line;
    const auto from = image.begin() +
                      static_cast<std::ptrdiff_t>(block) * static_cast<std::ptrdiff_t>(kLineBytes);
    std::copy(from, from + static_cast<std::ptrdiff_t>(kLineBytes), line.bytes.begin());
    return line;
}

bool operator==(const LineBytes& a, const LineBytes& b) { return a.bytes == b.bytes; }

}  // namespace

TransferTexts TransferTexts::From(const LanguageTexts& texts) {
    TransferTexts t;
    const auto rw = [&](const char* key) { return texts.LanguageText("RW", key); };
    t.readFailed = rw("msg1");
    t.writeFailed = rw("msg2");
    t.done = rw("msg3");
    t.lengthError = rw("msg4");
    t.noAnswer = rw("msgopen");
    t.identifierRejected = rw("msgversion");
    t.otherModelType = rw("msgmodeltypedif");
    t.otherBand = rw("msgbanddif");
    t.readTitle = rw("RW001");
    t.writeTitle = rw("rw002");
    t.start = WithText(texts, "rw003", t.start);
    t.stop = rw("rw004");
    t.close = WithText(texts, "rw005", t.close);
    t.completed = WithText(texts, "rw006", t.completed);
    t.restoreTitle = WithText(texts, "rw013", t.restoreTitle);
    t.verifyFailed = WithText(texts, "msgverify", t.verifyFailed);
    t.verifyNoAnswer = WithText(texts, "msgverifynoanswer", t.verifyNoAnswer);
    t.verifyBlock = WithText(texts, "msgverifyblock", t.verifyBlock);
    t.partlyWritten = WithText(texts, "msgpartly", t.partlyWritten);
    t.restoreHint = WithText(texts, "msgrestorehint", t.restoreHint);
    t.noBackupHint = WithText(texts, "msgnobackup", t.noBackupHint);
    t.backupFailed = WithText(texts, "msgbackupfailed", t.backupFailed);
    t.readsDiffer = WithText(texts, "msgreadsdiffer", t.readsDiffer);
    t.passwordDamaged = WithText(texts, "msgpassworddamaged", t.passwordDamaged);
    t.channel = WithText(texts, "rw011", t.channel);
    t.passwordTooLong = WithText(texts, "msgpasswordlong", t.passwordTooLong);
    t.passwordCharacter = WithText(texts, "msgpasswordchar", t.passwordCharacter);
    t.callChannel = WithText(texts, "rw012", t.callChannel);
    // The grid's headings, in the order of the project record's fields.
    constexpr std::array<const char*, 15> kHeadings = {"50002", "50003", "50004", "50005", "50006",
                                                       "50007", "50008", "50009", "50010", "50011",
                                                       "50012", "50013", "50014", "50021", "50022"};
    for (std::size_t i = 0; i < kHeadings.size(); ++i)
        t.fieldNames.at(i + kFieldName) = texts.LanguageText("Channel", kHeadings.at(i));
    return t;
}

std::string BlockRequestLine(int block) { return "AL~F" + LineAddress(block) + "R\r\n"; }

std::string BlockWriteLine(int block, const std::string& hex) {
    return "AL~F" + LineAddress(block) + "W" + hex;
}

std::string ProgressPercent(int block) {
    // block / 512 as a percentage, rounded half up
    const int percent = (block * 200 + kImageLines) / (2 * kImageLines);
    return std::to_string(percent) + "%";
}

Transfer::Transfer(TransferMode mode, const Codeplug& document, LinkSession& session,
                   SerialLink& link, Timers& timers, Ui& ui, TransferTexts texts)
    : mode_(mode),
      document_(document),
      session_(session),
      link_(link),
      timers_(timers),
      ui_(ui),
      texts_(std::move(texts)),
      image_(kImageSize, 0) {
    link_.SetEvents(this);
    Reset();
}

Transfer::~Transfer() {
    link_.SetEvents(nullptr);
    timers_.Cancel(replyTimer_);
    timers_.Cancel(unloadTimer_);
}

void Transfer::SetNewPasswordText(const std::string& text) { newPasswordText_ = text; }

std::string NewPasswordProblem(std::string_view text, const TransferTexts& texts) {
    // Each character in turn: one that does not come back from Latin-1 has
    // no byte in the radio.
    std::size_t bytes = 0;
    for (std::size_t at = 0; at < text.size(); ++bytes) {
        const std::string_view character = Utf8CharacterAt(text, at);
        if (Latin1ToUtf8(Utf8ToLatin1(character)) != character)
            return FillPlaceholders(texts.passwordCharacter, {std::string(character)});
        at += character.size();
    }
    if (bytes > kNewPasswordLength)
        return FillPlaceholders(texts.passwordTooLong, {std::to_string(bytes)});
    return "";
}

std::string Transfer::Title() const {
    const std::string& caption = Restoring()                    ? texts_.restoreTitle
                                 : mode_ == TransferMode::Write ? texts_.writeTitle
                                                                : texts_.readTitle;
    return caption + "  (COMM Port:" + session_.portName + ")";
}

void Transfer::Reset() {
    blockIndex_ = mode_ == TransferMode::Write ? kFirstWriteBlock : 0;
    expectedAddress_.clear();
    phase_ = mode_ == TransferMode::Write ? Phase::Writing : Phase::Reading;
    pass_ = 0;
    passes_ = 1;
    writeStarted_ = false;
    writeInFlight_ = false;
    doubtfulLine_ = -1;
    doubts_ = 0;
    resumeLine_ = -1;
    verifyAnswered_ = false;
    backupPath_.clear();
    identifierAccepted_ = false;
    retryCount_ = 0;
    sendCount_ = 0;
    receiveCount_ = 0;
    readFailed_ = false;
    writeFailure_ = WriteFailure::None;
    enteredPassword_.clear();
    promptAnswered_ = true;
    passwordChecked_ = false;
    running_ = false;
    receiving_ = false;
    stopped_ = false;
    result_ = TransferResult::None;
    std::fill(image_.begin(), image_.end(), std::uint8_t{0});
    modelMatch_ = 0;
}

void Transfer::Load() {
    StopReplyTimeout();
    passwordModify_ = false;
    changePassword_ = false;
    Reset();
    progress_ = 0;
    if (!link_.IsOpen()) {
        // Tried once so that a wrong port shows up before Start.
        const std::string error = link_.Open(session_.portName, session_.portSettings);
        if (error.empty()) {
            link_.Close();
        } else {
            ui_.ShowError(error);
        }
    }
    Changed();
}

void Transfer::Start() {
    if (closing_ || unloaded_) return;
    if (running_) {
        // A real stop: nothing more is sent and late replies find the port closed.
        StopReplyTimeout();
        link_.Close();
        running_ = false;
        stopped_ = true;
        result_ = TransferResult::Stopped;
        Changed();
        if (PartlyWritten()) ui_.ShowMessage(PartlyWrittenText());
        return;
    }
    const bool changePassword = passwordModify_;
    if (changePassword) {
        if (const std::string problem = NewPasswordProblem(newPasswordText_, texts_);
            !problem.empty()) {
            result_ = TransferResult::BadNewPassword;
            ui_.ShowMessage(problem);
            Changed();
            return;
        }
    }
    if (!link_.IsOpen()) {
        const std::string error = link_.Open(session_.portName, session_.portSettings);
        if (!error.empty()) {
            result_ = TransferResult::PortError;
            ui_.ShowError(error);
            Changed();
            return;
        }
    }
    Reset();
    changePassword_ = changePassword;
    if (mode_ == TransferMode::Write) {
        if (Restoring()) {
            // A backup goes back byte for byte, bytes this program does not
            // interpret included.
            written_ = restoreImage_;
            source_ = DecodeImage(written_, document_.model).codeplug;
            writeModel_ = ImageModelIndex(written_);
        } else {
            // Encoded once, before anything is sent: a codeplug the radio
            // cannot hold is refused as a whole instead of half written.
            source_ = document_;
            ImageEncoding encoding = EncodeImage(source_, session_.featureFlags);
            if (!encoding.problems.empty()) {
                for (const Problem& problem : encoding.problems) ui_.ShowMessage(problem.message);
                ui_.ShowMessage(texts_.lengthError);
                result_ = TransferResult::LengthError;
                Changed();
                return;
            }
            written_ = std::move(encoding.image);
            writeModel_ = source_.model;
        }
        passwordLine_ = EncodeImageLine(source_, kPasswordBlock,
                                        changePassword_ ? newPasswordText_ : std::string())
                            .bytes;
        passes_ = 1 + (options_.backupFirst ? 1 : 0) + (options_.verify ? 1 : 0);
        phase_ = Phase::PreRead;
        blockIndex_ = 0;
    } else {
        passes_ = options_.readTwice ? 2 : 1;
    }
    running_ = true;
    SendNextData();
    Changed();
}

void Transfer::Close() {
    if (closing_ || unloaded_) return;
    closing_ = true;
    unloadTimer_ = timers_.Start(kUnloadDelay, [this] {
        unloadTimer_ = 0;
        Unload();
    });
    Changed();
}

void Transfer::Unload() {
    StopReplyTimeout();
    timers_.Cancel(unloadTimer_);
    unloadTimer_ = 0;
    if (link_.IsOpen()) link_.Close();
    if (result_ == TransferResult::None && running_) {
        result_ = TransferResult::Stopped;
        if (PartlyWritten()) ui_.ShowMessage(PartlyWrittenText());
    }
    running_ = false;
    receiving_ = false;
    stopped_ = true;
    unloaded_ = true;
    Changed();
}

void Transfer::SendNextData() {
    if (stopped_) return;
    const bool write = phase_ == Phase::Writing;

    if (phase_ == Phase::PreRead || phase_ == Phase::Verifying) {
        ++sendCount_;
    } else if (write && blockIndex_ < kFirstWriteBlock) {
        if (!PasswordCheck()) return;
        blockIndex_ = changePassword_ ? kPasswordBlock : kFirstWriteBlock;
    } else if (write || blockIndex_ != kReadPasswordCheckBlock || passwordChecked_) {
        ++sendCount_;
    } else {
        if (!PasswordCheck()) return;
        passwordChecked_ = true;
    }

    if (write) {
        // Nothing is written into a radio of another model or band.
        if (modelMatch_ == 2) {
            Finish(TransferResult::ModelTypeDiffers, texts_.otherModelType);
            return;
        }
        if (modelMatch_ == 1) {
            Finish(TransferResult::BandDiffers, texts_.otherBand);
            return;
        }
    }

    if (ReportFailure()) return;

    if (sendCount_ > kSilentSends && receiveCount_ == 0) {
        ui_.ShowMessage(texts_.noAnswer);
        result_ = TransferResult::NoAnswer;
        Close();
    }

    SkipLinesLeftOut();
    expectedAddress_ = LineAddress(blockIndex_);
    if (!ReceiveOn()) return;

    if (Reading()) {
        SendBlockOrEnd();
    } else {
        SendWriteStep();
    }
}

bool Transfer::PasswordCheck() {
    // The prompt is modal: each answer is checked again until it matches or
    // the prompt is cancelled.
    for (;;) {
        const std::string& radioPassword = session_.radioPassword;
        if (radioPassword.empty()) return true;
        if (!promptAnswered_) {
            result_ = TransferResult::PasswordCancelled;
            stopped_ = true;
            running_ = false;
            Close();
            return false;
        }
        if (enteredPassword_ == radioPassword) return true;
        promptAnswered_ = false;
        enteredPassword_.clear();
        const std::optional<std::string> answer = ui_.AskPassword();
        if (stopped_) return false;  // closed while the prompt was open
        if (answer) {
            enteredPassword_ = *answer;
            promptAnswered_ = true;
        }
    }
}

bool Transfer::ReportFailure() {
    // A radio that never sent a byte gets the no-answer message: with three
    // attempts per line the failure would otherwise always come first.
    const bool silent = receiveCount_ == 0;
    if (readFailed_ && phase_ == Phase::Verifying) {
        FailWrite(TransferResult::VerifyFailed, texts_.verifyNoAnswer);
        return true;
    }
    if (readFailed_) {
        Finish(silent ? TransferResult::NoAnswer : TransferResult::ReadFailed,
               silent ? texts_.noAnswer : texts_.readFailed);
        return true;
    }
    if (writeFailure_ == WriteFailure::WriteFailed) {
        FailWrite(TransferResult::WriteFailed, texts_.writeFailed);
        return true;
    }
    if (writeFailure_ == WriteFailure::IdentifierRejected) {
        Finish(TransferResult::IdentifierRejected, texts_.identifierRejected);
        return true;
    }
    return false;
}

void Transfer::SetRestoreImage(std::vector<std::uint8_t> image, std::vector<int> unreadLines) {
    restoreImage_ = std::move(image);
    restoreSkips_.assign(kImageLines, false);
    for (const int line : unreadLines)
        if (line >= 0 && line < kImageLines) restoreSkips_[static_cast<std::size_t>(line)] = true;
}

std::vector<int> Transfer::UnreadLines() const {
    if (mode_ != TransferMode::Read || !options_.quickRead) return {};
    return UnusedLines();
}

// Called only where a line is about to be requested or written, after the
// password check that follows line 4: skipping never jumps over that check.
void Transfer::SkipLinesLeftOut() {
    while (blockIndex_ < kImageLines && !LineIncluded(blockIndex_)) ++blockIndex_;
}

bool Transfer::LineIncluded(int block) const {
    switch (phase_) {
        case Phase::Writing:
        case Phase::Verifying:
            // Below line 16 only line 0 (opening the verify) and the
            // password line come here, and both always go out.
            return block < kFirstWriteBlock || WritesLine(block);
        case Phase::Reading:
        case Phase::ReadingAgain:
            if (options_.quickRead && !ProgramUsesLine(block)) return false;
            return ReadRequestsLine(image_, block);
        case Phase::PreRead:
            break;
    }
    return ReadRequestsLine(image_, block);
}

bool Transfer::WritesLine(int block) const {
    if (!Restoring()) return WriteSendsLine(source_, block);
    // A restore sends the channels its image has in use, as a write of
    // that image would, and nothing its read did not read.
    return ReadRequestsLine(written_, block) &&
           !(static_cast<std::size_t>(block) < restoreSkips_.size() &&
             restoreSkips_[static_cast<std::size_t>(block)]);
}

bool Transfer::ReceiveOn() {
    if (!link_.IsOpen()) {
        const std::string error = link_.Open(session_.portName, session_.portSettings);
        if (!error.empty()) {
            OnLinkError(error);
            return false;
        }
    }
    link_.DiscardInput();
    link_.SetReceiveThreshold(1);
    receiving_ = true;
    return true;
}

bool Transfer::SendLine(const std::string& line, std::size_t threshold) {
    if (threshold > 0) link_.SetReceiveThreshold(threshold);
    const std::string error = link_.Write(line);
    if (!error.empty()) {
        OnLinkError(error);
        return false;
    }
    if (threshold > 0) {
        StopReplyTimeout();
        replyTimer_ = timers_.Start(kReplyTimeout, [this] {
            replyTimer_ = 0;
            OnReplyTimeout();
        });
    }
    return true;
}

void Transfer::SendBlockOrEnd() {
    if (blockIndex_ < kImageLines) {
        if (SendLine(BlockRequestLine(blockIndex_), kBlockReplyLength)) SetProgress(blockIndex_);
        return;
    }
    EndOfPass();
}

void Transfer::EndOfPass() {
    if (phase_ == Phase::PreRead) {
        // The whole radio has been read: it is stored before the first line
        // is written, or nothing is written.
        const StoredBackup backup =
            storeBackup_ ? storeBackup_(image_) : StoredBackup{"", "No backup folder is set."};
        if (!backup.error.empty()) {
            Finish(TransferResult::BackupFailed,
                   FillPlaceholders(texts_.backupFailed, {backup.error}));
            return;
        }
        backupPath_ = backup.path;
        StartPass(Phase::Writing, kPasswordBlock + 1);
        return;
    }
    if (phase_ == Phase::Reading && options_.readTwice) {
        StartPass(Phase::ReadingAgain, 0);
        return;
    }
    if (!SendLine(kEndLine, 0)) return;
    if (phase_ == Phase::Writing && options_.verify) {
        // The lines written are read back in a read session of their own.
        verifyAnswered_ = false;
        StartPass(Phase::Verifying, 0);
        return;
    }
    Complete();
}

void Transfer::StartPass(Phase phase, int block) {
    phase_ = phase;
    ++pass_;
    blockIndex_ = block;
    retryCount_ = 0;
    doubtfulLine_ = -1;
    doubts_ = 0;
    SendNextData();
}

void Transfer::SendWriteStep() {
    if (!identifierAccepted_) {
        SendLine(kIdentifierLine, kIdentifierReplyLength);
        return;
    }
    if (blockIndex_ >= kImageLines) {
        EndOfPass();
        return;
    }
    const std::string line = BlockWriteLine(blockIndex_, WriteLineHex());
    if (line.size() != kWriteLineLength) {
        // Nothing more is sent; the window stays until the user closes it.
        ui_.ShowMessage(texts_.lengthError);
        StopReplyTimeout();
        result_ = TransferResult::LengthError;
        stopped_ = true;
        running_ = false;
        Changed();
        return;
    }
    writeInFlight_ = true;
    if (SendLine(line + std::string(kCrLf), kWriteAckLength)) SetProgress(blockIndex_);
}

void Transfer::Complete() {
    SetProgress(kImageLines);
    Finish(TransferResult::Completed, texts_.done);
}

std::string Transfer::PartlyWrittenText() const {
    const std::string& backup = backupPath_.empty() ? restorePoint_ : backupPath_;
    // The verify follows a whole write: what fails then differs, or is not
    // known, but is not partly written.
    return (phase_ == Phase::Verifying ? "" : texts_.partlyWritten + " ") +
           (backup.empty() ? texts_.noBackupHint : FillPlaceholders(texts_.restoreHint, {backup}));
}

void Transfer::FailWrite(TransferResult result, const std::string& message) {
    if (!writeStarted_ && !writeInFlight_) {
        Finish(result, message);
        return;
    }
    // The radio holds neither what it had nor what was meant: the window
    // stays open for another try, and says what to do. The port is let go,
    // so the next try starts on a fresh one.
    StopReplyTimeout();
    link_.Close();
    result_ = result;
    stopped_ = true;
    running_ = false;
    Changed();
    ui_.ShowError(message + "\n" + PartlyWrittenText());
}

void Transfer::Finish(TransferResult result, const std::string& message) {
    StopReplyTimeout();
    result_ = result;
    stopped_ = true;
    running_ = false;
    Changed();
    if (!message.empty()) ui_.ShowMessage(message);
    Close();
}

void Transfer::OnBytes(std::span<const std::uint8_t> bytes) {
    if (!receiving_ || bytes.empty() || unloaded_) return;
    ++receiveCount_;
    const std::size_t n = bytes.size();
    const bool blockReply = n == kBlockReplyLength && At(bytes, 50, kCrLf) &&
                            At(bytes, 11, kCrLf) && AddressAt(bytes, 13, expectedAddress_);
    const bool writeAck = ((n == kWriteAckLength && At(bytes, 47, kCrLf) && At(bytes, 43, kCrLf) &&
                            At(bytes, 45, "OK")) ||
                           (n == kWriteRefusalLength && At(bytes, 50, kCrLf) &&
                            At(bytes, 43, kCrLf) && At(bytes, 45, "ERROR"))) &&
                          AddressAt(bytes, 4, expectedAddress_);
    const bool identifierAck = n == kIdentifierReplyLength && At(bytes, 0, "PV418") &&
                               At(bytes, 5, kCrLf) && At(bytes, 7, kCrLf) && At(bytes, 11, kCrLf);
    if (stopped_) return;
    if (blockReply) {
        OnBlockReply(bytes);
    } else if (writeAck) {
        OnWriteAck(bytes);
    } else if (identifierAck) {
        OnIdentifierAck(bytes);
    }
    // Anything else is left to the reply time-out.
}

void Transfer::PutLine(const LineBytes& line) {
    if (blockIndex_ < 0 || blockIndex_ >= kImageLines) return;
    std::copy(line.bytes.begin(), line.bytes.end(),
              image_.begin() + static_cast<std::ptrdiff_t>(blockIndex_) *
                                   static_cast<std::ptrdiff_t>(kLineBytes));
}

void Transfer::StoreLine(const LineBytes& line) {
    if (blockIndex_ < 0 || blockIndex_ >= kImageLines) return;
    PutLine(line);
    if (blockIndex_ == 0) {
        // The radio's features count before a write too.
        session_.featureFlags = ImageFeatures(image_);
        if (phase_ == Phase::PreRead) modelMatch_ = CompareModel(writeModel_, image_);
    } else if (blockIndex_ == kPasswordBlock) {
        session_.radioPassword = ImagePassword(image_);
        // The pre-read of a write ends with the password, unless the whole
        // radio is backed up first.
        if (phase_ == Phase::PreRead && !options_.backupFirst) phase_ = Phase::Writing;
    }
}

LineBytes Transfer::WrittenLine(int block) const {
    return block == kPasswordBlock ? passwordLine_ : LineOf(written_, block);
}

std::string Transfer::WriteLineHex() const { return WrittenLine(blockIndex_).ToHex(); }

void Transfer::OnBlockReply(std::span<const std::uint8_t> reply) {
    StopReplyTimeout();
    const int check = CheckReply(reply, blockIndex_, CheckMode(), ui_);
    if (check != 0) {
        if (++retryCount_ >= kReadAttempts) {
            readFailed_ = true;
            retryCount_ = 0;
        }
        SendNextData();
        return;
    }
    retryCount_ = 0;
    const LineBytes line = ReplyLineBytes(reply);
    if (phase_ == Phase::Verifying) {
        OnVerifyLine(line);
    } else if (phase_ == Phase::ReadingAgain) {
        OnSecondReadLine(line);
    } else {
        OnReadLine(line);
    }
    if (result_ == TransferResult::None) SendNextData();
}

void Transfer::AcceptLine(const LineBytes& line) {
    StoreLine(line);
    doubtfulLine_ = -1;
    doubts_ = 0;
    if (blockIndex_ < kImageLines) ++blockIndex_;
}

void Transfer::OnReadLine(const LineBytes& line) {
    if (resumeLine_ >= 0 && blockIndex_ == kInUseBitmapLine) {
        // The in-use bits read again for a channel whose record was empty:
        // changed bits were the damage, and the channels after them are
        // requested anew; the same bits send the read back to the record.
        const bool changed = !(line == LineOf(image_, blockIndex_));
        const int resume = resumeLine_;
        resumeLine_ = -1;
        if (changed) {
            AcceptLine(line);
        } else {
            blockIndex_ = resume;
        }
        return;
    }
    const LineBytes before = LineOf(image_, blockIndex_);
    PutLine(line);
    const std::string problem = LineContentProblem(image_, blockIndex_);
    const bool again = doubtfulLine_ == blockIndex_ && doubtful_ == line;
    if (problem.empty() || again) {
        // Content that comes back the same is what the radio holds.
        if (!problem.empty() && blockIndex_ == kPasswordBlock) {
            Finish(TransferResult::ReadFailed, texts_.passwordDamaged);
            return;
        }
        AcceptLine(line);
        return;
    }
    PutLine(before);
    if (++doubts_ >= kReadAttempts) {
        readFailed_ = true;
        return;
    }
    const bool firstDoubt = doubtfulLine_ != blockIndex_;
    doubtfulLine_ = blockIndex_;
    doubtful_ = line;
    if (firstDoubt && IsMemoryChannelLine(blockIndex_)) {
        // A damaged in-use bit makes an unused channel look used: its bits
        // are read again before the record.
        resumeLine_ = blockIndex_;
        blockIndex_ = kInUseBitmapLine;
    }
}

void Transfer::OnSecondReadLine(const LineBytes& line) {
    // A line is taken when it equals the first read's, or when it comes
    // back the same twice in a row after differing.
    const bool same = line == LineOf(image_, blockIndex_);
    if (same || (doubtfulLine_ == blockIndex_ && doubtful_ == line)) {
        AcceptLine(line);
        return;
    }
    if (++doubts_ > kReadAttempts) {
        Finish(TransferResult::ReadsDiffer,
               FillPlaceholders(texts_.readsDiffer, {LineAddress(blockIndex_)}));
        return;
    }
    doubtfulLine_ = blockIndex_;
    doubtful_ = line;
}

void Transfer::OnVerifyLine(const LineBytes& line) {
    verifyAnswered_ = true;
    // Line 0 only opens the read session; it was not written.
    if (blockIndex_ != 0 && !(line == WrittenLine(blockIndex_))) {
        if (++doubts_ < kVerifyAttempts) return;  // asked for once more
        FailWrite(TransferResult::VerifyFailed, VerifyMessage(blockIndex_, line));
        return;
    }
    doubts_ = 0;
    if (blockIndex_ == 0) {
        blockIndex_ = changePassword_ ? kPasswordBlock : kFirstWriteBlock;
    } else if (blockIndex_ == kPasswordBlock) {
        blockIndex_ = kFirstWriteBlock;
    } else {
        ++blockIndex_;
    }
}

std::string Transfer::WhereText(int row, int field) const {
    std::string where;
    if (row >= 1 && row <= kChannelRows) {
        where = FillPlaceholders(texts_.channel, {std::to_string(row - 1)});
    } else if (row == kCallRow) {
        where = texts_.callChannel;
    } else {
        where = RowDisplayName(row);
    }
    if (field != kFieldRxFrequency && field >= 0 &&
        static_cast<std::size_t>(field) < texts_.fieldNames.size() &&
        !texts_.fieldNames.at(static_cast<std::size_t>(field)).empty())
        where += " " + texts_.fieldNames.at(static_cast<std::size_t>(field));
    return where;
}

std::string Transfer::VerifyMessage(int block, const LineBytes& line) const {
    std::vector<std::uint8_t> sent = written_;
    const LineBytes meant = WrittenLine(block);
    std::copy(meant.bytes.begin(), meant.bytes.end(),
              sent.begin() +
                  static_cast<std::ptrdiff_t>(block) * static_cast<std::ptrdiff_t>(kLineBytes));
    const ReadBackDifference difference = CompareReadBack(sent, block, line);
    const std::string where = difference.row != 0
                                  ? WhereText(difference.row, difference.field)
                                  : FillPlaceholders(texts_.verifyBlock, {LineAddress(block)});
    return FillPlaceholders(texts_.verifyFailed, {where, difference.readBack, difference.written});
}

void Transfer::OnWriteAck(std::span<const std::uint8_t> reply) {
    StopReplyTimeout();
    const int check = CheckReply(reply, blockIndex_, CheckMode(), ui_);
    // A refused line is not stored; an acknowledged one is.
    writeInFlight_ = false;
    if (check == 0) {
        writeStarted_ = true;
        if (blockIndex_ < kImageLines) ++blockIndex_;
        if (blockIndex_ == kPasswordBlock + 1) blockIndex_ = kFirstWriteBlock;
        retryCount_ = 0;
    } else if (++retryCount_ > kWriteRetries) {
        writeFailure_ = WriteFailure::WriteFailed;
        retryCount_ = 0;
    }
    SendNextData();
}

void Transfer::OnIdentifierAck(std::span<const std::uint8_t> reply) {
    StopReplyTimeout();
    const int check = CheckReply(reply, blockIndex_, CheckMode(), ui_);
    if (check == 0) {
        retryCount_ = 0;
        identifierAccepted_ = true;
    } else if (++retryCount_ > kIdentifierRetries) {
        writeFailure_ = WriteFailure::IdentifierRejected;
        retryCount_ = 0;
    }
    SendNextData();
}

void Transfer::OnReplyTimeout() {
    StopReplyTimeout();
    if (stopped_) return;
    // A block write without an answer may have been stored.
    if (writeInFlight_) writeStarted_ = true;
    ++retryCount_;
    if (Reading()) {
        const bool restarting = phase_ == Phase::Verifying && !verifyAnswered_;
        if (retryCount_ >= (restarting ? kVerifyStartAttempts : kReadAttempts)) {
            retryCount_ = 0;
            readFailed_ = true;
        }
    } else if (retryCount_ >= kReadAttempts) {
        retryCount_ = 0;
        writeFailure_ =
            identifierAccepted_ ? WriteFailure::WriteFailed : WriteFailure::IdentifierRejected;
    }
    SendNextData();
}

void Transfer::OnLinkError(const std::string& text) {
    if (unloaded_ || stopped_) return;
    FailWrite(TransferResult::PortLost,
              "The connection to the radio was lost: " + text +
                  " The transfer was stopped; check the cable and start again.");
}

void Transfer::StopReplyTimeout() {
    timers_.Cancel(replyTimer_);
    replyTimer_ = 0;
}

void Transfer::SetProgress(int block) {
    // Every pass has its share of the bar.
    progress_ = (pass_ * kImageLines + block) / passes_;
    Changed();
}

ReplyCheckMode Transfer::CheckMode() const {
    if (Reading()) return ReplyCheckMode::Reading;
    return identifierAccepted_ ? ReplyCheckMode::WritingAfterIdentifier : ReplyCheckMode::Writing;
}

void Transfer::Changed() {
    if (onChange_) onChange_();
}

}  // namespace qx
