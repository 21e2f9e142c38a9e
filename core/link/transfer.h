// The read and write transfer of the transfer window: a request/reply
// dialogue with the radio, one line in flight, driven by events (Start, bytes
// received, reply time-out, close). Single-threaded; it never sleeps. It only
// moves lines between the port and an 8192-byte image: a write encodes the
// document once at Start, a completed read leaves its image for the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

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
};

// The texts of section "RW", with the built-in captions where a key is missing.
struct TransferTexts {
    // The messages, by their keys: msg1, msg2, msg3, msg4, msgopen, msgversion,
    // msgmodeltypedif, msgbanddif.
    std::string readFailed, writeFailed, done, lengthError, noAnswer, identifierRejected,
        otherModelType, otherBand;
    std::string readTitle, writeTitle;     // RW001, rw002
    std::string start = "Start";           // rw003
    std::string stop;                      // rw004
    std::string close = "Close";           // rw005
    std::string completed = "Completed:";  // rw006

    static TransferTexts From(const LanguageTexts& texts);
};

inline constexpr std::size_t kNewPasswordLength = 16;

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
    int BlockIndex() const { return blockIndex_; }
    // The lines received so far (zeros where none arrived); after a completed
    // read, the radio's memory.
    const std::vector<std::uint8_t>& Image() const { return image_; }
    // What a write sends: the document's codeplug as it was at Start.
    const Codeplug& Written() const { return source_; }

    // Called after anything the window shows has changed, including the unload.
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    void OnBytes(std::span<const std::uint8_t> bytes) override;
    void OnLinkError(const std::string& text) override;

    void Reset();
    void SendNextData();
    bool PasswordCheck();
    bool ReportFailure();
    void SkipInactiveChannels();
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
    bool Reading() const { return mode_ == TransferMode::Read || preRead_; }
    void StoreLine(std::span<const std::uint8_t> reply);
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
    LineBytes passwordLine_;
    int modelMatch_ = 0;  // the pre-read's CompareModel: 0 same, 1 other band, 2 other type

    // The window's controls.
    bool passwordModify_ = false;
    std::string newPasswordText_;
    int progress_ = 0;

    // The transfer's state.
    int blockIndex_ = 0;
    std::string expectedAddress_;
    bool preRead_ = false;
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
