// A transfer fed with whatever a damaged line or a confused radio may do:
// good replies with bytes changed, stray bytes, time-outs, in any order.
// The transfer must neither crash nor send a line outside the protocol.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "app/transfer_commands.h"
#include "fuzz_document.h"
#include "link/simulated_radio.h"
#include "manual_clock.h"

namespace {

using namespace qx;

// Keeps the last line sent so the radio can answer it, and checks its form.
class RecordingLink final : public SerialLink {
  public:
    void SetEvents(SerialEvents* events) override { events_ = events; }
    std::string Open(const std::string&, const std::string&) override {
        open_ = true;
        return "";
    }
    bool IsOpen() const override { return open_; }
    void Close() override { open_ = false; }
    void DiscardInput() override {}
    void SetReceiveThreshold(std::size_t) override {}
    std::string Write(std::string_view bytes) override {
        const bool request = bytes.size() == 11 && bytes.starts_with("AL~F") && bytes[8] == 'R';
        const bool write = bytes.size() == 43 && bytes.starts_with("AL~F") && bytes[8] == 'W';
        if (!request && !write && bytes != kIdentifierLine && bytes != kEndLine) std::abort();
        last_.assign(bytes.begin(), bytes.end());
        return "";
    }

    SerialEvents* events_ = nullptr;
    std::vector<std::uint8_t> last_;

  private:
    bool open_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Document doc = fuzz::StartDocument();
    Session session;
    session.portName = "sim";
    test::SilentUi ui;
    test::ManualClock clock;
    RecordingLink link;
    SimulatedRadio radio(3, 0xE0, "");
    const TransferMode mode = (data[0] & 1) ? TransferMode::Write : TransferMode::Read;
    static const TransferTexts texts =
        TransferTexts::From(LanguageTexts(QX_LANGUAGE_DIR, "english.ini"));
    Transfer transfer(mode, doc.codeplug(), session, link, clock, ui, texts);
    transfer.Load();
    transfer.Start();

    std::size_t i = 1;
    const auto next = [&] { return i < size ? data[i++] : std::uint8_t{0}; };
    while (i < size && !transfer.Unloaded()) {
        const std::uint8_t op = next();
        std::vector<std::uint8_t> reply = radio.Receive(link.last_);
        switch (op % 4) {
            case 0:  // the radio's own answer
                break;
            case 1: {  // one byte of it changed
                const std::size_t at = next();
                if (!reply.empty()) reply[at % reply.size()] = next();
                break;
            }
            case 2: {  // stray bytes
                const std::size_t n = std::min<std::size_t>(next() % 64, size - i);
                reply.assign(data + i, data + i + n);
                i += n;
                break;
            }
            default:  // nothing arrives
                reply.clear();
                clock.Advance(std::chrono::milliseconds(500));
                break;
        }
        if (!reply.empty() && link.events_ != nullptr) link.events_->OnBytes(reply);
        if (transfer.BlockIndex() < 0 || transfer.BlockIndex() > kImageLines) std::abort();
    }
    clock.RunUntilIdle();
    FinishTransfer(doc, session, transfer, ui);
    return 0;
}
