#include "link/transfer.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include "image/hex.h"
#include "image/memory_image.h"

namespace qx {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kReplyTimeout{500};
constexpr milliseconds kUnloadDelay{200};

constexpr int kPasswordBlock = 4;
constexpr int kFirstWriteBlock = 16;
constexpr int kFirstChannelBlock = 32;
constexpr int kLastChannelBlock = 231;
constexpr int kReadPasswordCheckBlock = 5;

// Receive thresholds: the exact length of each awaited reply.
constexpr std::size_t kBlockReplyLength = 52;
constexpr std::size_t kIdentifierReplyLength = 13;
constexpr std::size_t kWriteAckLength = 49;
constexpr std::size_t kWriteRefusalLength = 52;
constexpr std::size_t kWriteLineLength = 41;  // without CR LF

constexpr int kReadAttempts = 3;
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

void Transfer::SetNewPasswordText(const std::string& text) {
    newPasswordText_ = text.substr(0, kNewPasswordLength);
}

std::string Transfer::Title() const {
    const std::string& caption =
        mode_ == TransferMode::Write ? texts_.writeTitle : texts_.readTitle;
    return caption + "  (COMM Port:" + session_.portName + ")";
}

void Transfer::Reset() {
    blockIndex_ = mode_ == TransferMode::Write ? kFirstWriteBlock : 0;
    expectedAddress_.clear();
    preRead_ = false;
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
            ui_.ShowMessage(error);
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
        return;
    }
    if (!link_.IsOpen()) {
        const std::string error = link_.Open(session_.portName, session_.portSettings);
        if (!error.empty()) {
            result_ = TransferResult::PortError;
            ui_.ShowMessage(error);
            Changed();
            return;
        }
    }
    const bool changePassword = passwordModify_;
    Reset();
    changePassword_ = changePassword;
    if (mode_ == TransferMode::Write) {
        // Encoded once, before anything is sent: a codeplug the radio cannot
        // hold is refused as a whole instead of half written.
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
        passwordLine_ = EncodeImageLine(source_, kPasswordBlock,
                                        changePassword_ ? newPasswordText_ : std::string())
                            .bytes;
        blockIndex_ = 0;
        preRead_ = true;
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
    if (result_ == TransferResult::None && running_) result_ = TransferResult::Stopped;
    running_ = false;
    receiving_ = false;
    stopped_ = true;
    unloaded_ = true;
    Changed();
}

void Transfer::SendNextData() {
    if (stopped_) return;
    const bool write = mode_ == TransferMode::Write;

    if (preRead_) {
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

    if (write && !preRead_) {
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

    SkipInactiveChannels();
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
    if (readFailed_) {
        Finish(silent ? TransferResult::NoAnswer : TransferResult::ReadFailed,
               silent ? texts_.noAnswer : texts_.readFailed);
        return true;
    }
    if (writeFailure_ == WriteFailure::WriteFailed) {
        Finish(TransferResult::WriteFailed, texts_.writeFailed);
        return true;
    }
    if (writeFailure_ == WriteFailure::IdentifierRejected) {
        Finish(TransferResult::IdentifierRejected, texts_.identifierRejected);
        return true;
    }
    return false;
}

void Transfer::SkipInactiveChannels() {
    while (blockIndex_ >= kFirstChannelBlock && blockIndex_ <= kLastChannelBlock) {
        const bool sent = mode_ == TransferMode::Read ? ReadRequestsLine(image_, blockIndex_)
                                                      : WriteSendsLine(source_, blockIndex_);
        if (sent) return;
        blockIndex_ += 2;
    }
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
    if (!SendLine(kEndLine, 0)) return;
    Complete();
}

void Transfer::SendWriteStep() {
    if (!identifierAccepted_) {
        SendLine(kIdentifierLine, kIdentifierReplyLength);
        return;
    }
    if (blockIndex_ >= kImageLines) {
        if (SendLine(kEndLine, 0)) Complete();
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
    if (SendLine(line + std::string(kCrLf), kWriteAckLength)) SetProgress(blockIndex_);
}

void Transfer::Complete() {
    SetProgress(kImageLines);
    Finish(TransferResult::Completed, texts_.done);
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

void Transfer::StoreLine(std::span<const std::uint8_t> reply) {
    if (blockIndex_ < 0 || blockIndex_ >= kImageLines) return;
    const LineBytes line = ReplyLineBytes(reply);
    std::copy(line.bytes.begin(), line.bytes.end(),
              image_.begin() + static_cast<std::ptrdiff_t>(blockIndex_) *
                                   static_cast<std::ptrdiff_t>(kLineBytes));
    if (blockIndex_ == 0) {
        // The radio's features count before a write too.
        session_.featureFlags = ImageFeatures(image_);
        if (preRead_) modelMatch_ = CompareModel(document_.model, image_);
    } else if (blockIndex_ == kPasswordBlock) {
        session_.radioPassword = ImagePassword(image_);
        preRead_ = false;  // the pre-read of a write ends with the password
    }
}

std::string Transfer::WriteLineHex() const {
    if (blockIndex_ == kPasswordBlock) return passwordLine_.ToHex();
    LineBytes line;
    const auto from = written_.begin() + static_cast<std::ptrdiff_t>(blockIndex_) *
                                             static_cast<std::ptrdiff_t>(kLineBytes);
    std::copy(from, from + static_cast<std::ptrdiff_t>(kLineBytes), line.bytes.begin());
    return line.ToHex();
}

void Transfer::OnBlockReply(std::span<const std::uint8_t> reply) {
    StopReplyTimeout();
    const int check = CheckReply(reply, blockIndex_, CheckMode(), ui_);
    if (check == 0) {
        StoreLine(reply);
        if (blockIndex_ < kImageLines) ++blockIndex_;
        retryCount_ = 0;
    } else if (++retryCount_ >= kReadAttempts) {
        readFailed_ = true;
        retryCount_ = 0;
    }
    SendNextData();
}

void Transfer::OnWriteAck(std::span<const std::uint8_t> reply) {
    StopReplyTimeout();
    const int check = CheckReply(reply, blockIndex_, CheckMode(), ui_);
    if (check == 0) {
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
    ++retryCount_;
    if (Reading()) {
        if (retryCount_ >= kReadAttempts) {
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
    Finish(TransferResult::PortLost,
           "The connection to the radio was lost: " + text +
               " The transfer was stopped; check the cable and start again.");
}

void Transfer::StopReplyTimeout() {
    timers_.Cancel(replyTimer_);
    replyTimer_ = 0;
}

void Transfer::SetProgress(int block) {
    progress_ = block;
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
