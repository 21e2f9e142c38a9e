#include "link/simulated_radio.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "link/simulated_link.h"
#include "manual_clock.h"

namespace qx {
namespace {

using std::chrono::milliseconds;
using Bytes = std::vector<std::uint8_t>;

Bytes B(const std::string& text) { return {text.begin(), text.end()}; }
std::string S(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

std::string Send(SimulatedRadio& radio, const std::string& text) {
    return S(radio.Receive(B(text)));
}

// Model 3 has the code 33AA66.
SimulatedRadio Radio() { return SimulatedRadio(3, 0xE0, "abc"); }

const std::string kData = "0123456789ABCDEFFEDCBA9876543210";
const std::string kWrite50 = "AL~F0050W" + kData;
const std::string kLine0 = "AL~F0000R\r\n\r\n0000:0033AA6600000000000000000000E000\r\n";

TEST(SimulatedRadio, AnswersASessionLineByLine) {
    struct Step {
        std::string sent;
        std::string reply;
    };
    const std::vector<Step> steps = {
        {"AL~F0000R\r\n", kLine0},
        {"AL~F0040R\r\n", "AL~F0040R\r\n\r\n0040:61626300000000000000000000000000\r\n"},
        {kWrite50 + "\r\n", kWrite50 + "\r\n\r\nERROR\r\n"},  // no identifier yet
        {"AL~F0050R\r\n", "AL~F0050R\r\n\r\n0050:00000000000000000000000000000000\r\n"},
        {"PV418\r\n", "PV418\r\n\r\nOK\r\n"},
        {kWrite50 + "\r\n", kWrite50 + "\r\n\r\nOK\r\n"},
        {"AL~F0050R\r\n", "AL~F0050R\r\n\r\n0050:" + kData + "\r\n"},
        // Data that is not 32 upper-case hex digits is refused.
        {"AL~F0060W0123\r\n", "AL~F0060W0123\r\n\r\nERROR\r\n"},
        {"AL~F0060W0123456789abcdeffedcba9876543210\r\n",
         "AL~F0060W0123456789abcdeffedcba9876543210\r\n\r\nERROR\r\n"},
        // Lines the radio does not understand get no answer at all.
        {"AL~F0051R\r\n", ""},
        {"AL~F2000R\r\n", ""},
        {"AL~F00g0R\r\n", ""},
        {"AL~F0050X\r\n", ""},
        {"AL~F0050R0\r\n", ""},
        {"AL~F2000W" + kData + "\r\n", ""},
        {"HELLO\r\n", ""},
        {"AL~F1FF0R\r\n", "AL~F1FF0R\r\n\r\n1FF0:00000000000000000000000000000000\r\n"},
        {"AL~E\r\n", ""},
        // The session is over: the identifier is needed again.
        {"AL~F0060W" + kData + "\r\n", "AL~F0060W" + kData + "\r\n\r\nERROR\r\n"},
    };
    SimulatedRadio radio = Radio();
    for (const Step& step : steps) EXPECT_EQ(Send(radio, step.sent), step.reply) << step.sent;
    EXPECT_EQ(radio.LinesReceived(), static_cast<int>(steps.size()));
    EXPECT_EQ(radio.BlocksWritten(), 1);
    EXPECT_TRUE(radio.EndReceived());
    EXPECT_EQ(radio.Memory()[0x50], 0x01);
    EXPECT_EQ(radio.Memory()[0x5F], 0x10);
    EXPECT_EQ(radio.Memory()[0x60], 0x00);
    // The reply sizes the program waits for.
    EXPECT_EQ(steps[0].reply.size(), 52U);
    EXPECT_EQ(steps[4].reply.size(), 13U);
    EXPECT_EQ(steps[5].reply.size(), 49U);
    EXPECT_EQ(steps[2].reply.size(), 52U);
}

TEST(SimulatedRadio, LinesInPiecesAndSeveralPerCall) {
    SimulatedRadio radio = Radio();
    EXPECT_EQ(Send(radio, "\r\n\nAL~F00"), "");  // stray line ends are not lines
    EXPECT_EQ(Send(radio, "00R\r"), "");
    EXPECT_EQ(radio.LinesReceived(), 0);
    EXPECT_EQ(Send(radio, "\nPV418\nAL~F0000R\r\n\rPV4"), kLine0 + "PV418\r\n\r\nOK\r\n" + kLine0);
    EXPECT_EQ(radio.LinesReceived(), 3);
    EXPECT_EQ(Send(radio, "18\r\n"), "PV418\r\n\r\nOK\r\n");
    // A runaway line neither grows without bound nor matches anything.
    EXPECT_EQ(Send(radio, std::string(100000, 'A') + "\r\n"), "");
    EXPECT_EQ(Send(radio, "PV418\r\n"), "PV418\r\n\r\nOK\r\n");
}

TEST(SimulatedRadio, BlankAndLoadedMemories) {
    const SimulatedRadio noModel(32, 0x90, "0123456789ABCDEFGHIJ");
    const Bytes& memory = noModel.Memory();
    ASSERT_EQ(memory.size(), SimulatedRadio::kMemorySize);
    EXPECT_EQ(Bytes(memory.begin(), memory.begin() + 16),
              (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x90, 0}));
    EXPECT_EQ(S(Bytes(memory.begin() + 64, memory.begin() + 80)), "0123456789ABCDEF");
    EXPECT_EQ(memory[80], 0);

    SimulatedRadio first(0, 0x00, "\xC3\xA9");  // é is stored as its Latin-1 byte
    EXPECT_EQ(Bytes(first.Memory().begin(), first.Memory().begin() + 4),
              (Bytes{0, 0x33, 0x55, 0x33}));
    EXPECT_EQ(first.Memory()[64], 0xE9);
    first.SetPassword("x");
    EXPECT_EQ(Bytes(first.Memory().begin() + 64, first.Memory().begin() + 66), (Bytes{'x', 0}));

    EXPECT_EQ(SimulatedRadio(Bytes{1, 2}).Memory().size(), SimulatedRadio::kMemorySize);
    Bytes longer(9000, 7);
    longer[8191] = 9;
    const SimulatedRadio cut(longer);
    EXPECT_EQ(cut.Memory().size(), SimulatedRadio::kMemorySize);
    EXPECT_EQ(cut.Memory().back(), 9);
}

// Every fault case sends the same four lines to a fresh radio.
TEST(SimulatedRadio, InjectedFaults) {
    const std::vector<std::string> script = {"PV418\r\n", "AL~F0000R\r\n", kWrite50 + "\r\n",
                                             "AL~F1FF0R\r\n"};
    const std::string ok1 = "PV418\r\n\r\nOK\r\n";
    const std::string ok3 = kWrite50 + "\r\n\r\nOK\r\n";
    const std::string error3 = kWrite50 + "\r\n\r\nERROR\r\n";
    const std::string last4 = "AL~F1FF0R\r\n\r\n1FF0:00000000000000000000000000000000\r\n";
    struct Case {
        std::string rules;  // one or two rules, separated by a blank
        std::vector<std::string> replies;
        int blocksWritten;
    };
    const std::vector<Case> cases = {
        {"", {ok1, kLine0, ok3, last4}, 1},
        {"drop:2", {ok1, "", ok3, last4}, 1},
        // The radio still acts on a line whose reply is lost.
        {"drop:1-3", {"", "", "", last4}, 1},
        {"corrupt:1", {"PV418\r\n\r\nNK\r\n", kLine0, ok3, last4}, 1},
        {"corrupt:2",
         {ok1, "AL~F0000R\r\n\r\n0000:FFCC5599FFFFFFFFFFFFFFFFFFFF1FFF\r\n", ok3, last4},
         1},
        {"corrupt:3", {ok1, kLine0, kWrite50 + "\r\n\r\nNK\r\n", last4}, 1},
        {"wrong-address:2",
         {ok1, "AL~F0000R\r\n\r\n0010:0033AA6600000000000000000000E000\r\n", ok3, last4},
         1},
        {"wrong-address:4",
         {ok1, kLine0, ok3, "AL~F1FF0R\r\n\r\n0000:00000000000000000000000000000000\r\n"},
         1},
        {"error-write:3", {ok1, kLine0, error3, last4}, 0},
        {"error-write:2", {ok1, kLine0, ok3, last4}, 1},  // line 2 is no write
        {"reject-identifier", {"PV418\r\n\r\nERROR\r\n", kLine0, error3, last4}, 0},
        {"silent-after:2", {ok1, kLine0, "", ""}, 1},
        {"silent-after:0", {"", "", "", ""}, 1},
        {"corrupt:2 wrong-address:2",
         {ok1, "AL~F0000R\r\n\r\n0010:FFCC5599FFFFFFFFFFFFFFFFFFFF1FFF\r\n", ok3, last4},
         1},
    };
    for (const Case& c : cases) {
        SimulatedRadio radio = Radio();
        std::string rest = c.rules;
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            std::string error;
            for (const Fault& fault : ParseFaultRule(rest.substr(0, blank), error))
                radio.AddFault(fault);
            ASSERT_EQ(error, "") << c.rules;
            rest = blank == std::string::npos ? "" : rest.substr(blank + 1);
        }
        for (std::size_t k = 0; k < script.size(); ++k)
            EXPECT_EQ(Send(radio, script[k]), c.replies[k]) << c.rules << ", line " << k + 1;
        EXPECT_EQ(radio.LinesReceived(), 4) << c.rules;
        EXPECT_EQ(radio.BlocksWritten(), c.blocksWritten) << c.rules;
        EXPECT_EQ(radio.Memory()[0x50], c.blocksWritten == 1 ? 0x01 : 0x00) << c.rules;
    }
}

// A radio that stores something else than it acknowledges, and one that
// loses its power halfway and comes back with what it had stored.
TEST(SimulatedRadio, StorageFaults) {
    const std::string ok1 = "PV418\r\n\r\nOK\r\n";
    const std::string ok3 = kWrite50 + "\r\n\r\nOK\r\n";
    std::string error;

    SimulatedRadio corrupt = Radio();
    corrupt.AddFault(ParseFaultRule("store-corrupt:2", error).at(0));
    EXPECT_EQ(Send(corrupt, "PV418\r\n"), ok1);
    EXPECT_EQ(Send(corrupt, kWrite50 + "\r\n"), ok3);
    EXPECT_EQ(corrupt.Memory()[0x50], 0x00);  // 0x01 was written
    EXPECT_EQ(corrupt.BlocksWritten(), 1);

    SimulatedRadio dead = Radio();
    dead.AddFault(ParseFaultRule("power-loss:1", error).at(0));
    EXPECT_EQ(Send(dead, "PV418\r\n"), ok1);
    EXPECT_EQ(Send(dead, kWrite50 + "\r\n"), "");
    EXPECT_EQ(Send(dead, "PV418\r\n"), "");
    EXPECT_TRUE(dead.PoweredOff());
    EXPECT_EQ(dead.Memory()[0x50], 0x00);  // the write was never acted on
    dead.PortOpened();
    EXPECT_FALSE(dead.PoweredOff());
    // Back on, without the identifier it had accepted, and for good.
    EXPECT_EQ(Send(dead, kWrite50 + "\r\n"), kWrite50 + "\r\n\r\nERROR\r\n");
    EXPECT_EQ(Send(dead, "PV418\r\n"), ok1);
    EXPECT_EQ(Send(dead, kWrite50 + "\r\n"), ok3);
    EXPECT_EQ(dead.Memory()[0x50], 0x01);
}

TEST(SimulatedRadio, FaultRules) {
    using K = FaultKind;
    const std::vector<std::pair<std::string, std::vector<Fault>>> good = {
        {"drop:7", {{K::DropReply, 7}}},
        {"drop:3-5", {{K::DropReply, 3}, {K::DropReply, 4}, {K::DropReply, 5}}},
        {"corrupt:1", {{K::CorruptReply, 1}}},
        {"wrong-address:12-12", {{K::WrongAddress, 12}}},
        {"error-write:40", {{K::ErrorWrite, 40}}},
        {"reject-identifier", {{K::RejectIdentifier, 0}}},
        {"silent-after:100", {{K::SilentAfter, 100}}},
        {"silent-after:0", {{K::SilentAfter, 0}}},
        {"store-corrupt:2-3", {{K::StoreCorrupt, 2}, {K::StoreCorrupt, 3}}},
        {"power-loss:30", {{K::PowerLoss, 30}}},
    };
    for (const auto& [rule, faults] : good) {
        std::string error = "stale";
        EXPECT_EQ(ParseFaultRule(rule, error), faults) << rule;
        EXPECT_EQ(error, "") << rule;
    }
    for (const std::string rule :
         {"drop", "drop:", "drop:0", "drop:5-3", "drop:-3", "drop:3-", "drop:a", "drop: 7",
          "drop:+7", "drop:1-200000", "drop:99999999999", "silent-after:1-3", "power-loss:1-3",
          "reject-identifier:2", "Drop:1", "", "corrupt:1,2"}) {
        std::string error;
        EXPECT_TRUE(ParseFaultRule(rule, error).empty()) << rule;
        EXPECT_NE(error, "") << rule;
    }
    std::string error;
    ParseFaultRule("x", error);
    EXPECT_EQ(error,
              "unknown fault 'x'; expected drop:N, corrupt:N, wrong-address:N, error-write:N, "
              "reject-identifier, silent-after:N, store-corrupt:N or power-loss:N");
    ParseFaultRule("drop:5-3", error);
    EXPECT_EQ(error,
              "bad line number '5-3' in fault 'drop:5-3'; expected N or A-B with 1 <= A <= B <= "
              "1000000");
}

TEST(SimulatedRadio, WireTime) {
    struct Case {
        std::size_t bytes;
        int baud;
        long long micros;
    };
    for (const Case& c : std::vector<Case>{{63, 9600, 65625},
                                           {1, 9600, 1042},  // 1041.67, rounded up
                                           {52, 115200, 4514},
                                           {1, 3, 3333334},
                                           {0, 9600, 0},
                                           {5, 0, 0},
                                           {5, -9600, 0}}) {
        EXPECT_EQ(WireTime(c.bytes, c.baud).count(), c.micros) << c.bytes << " at " << c.baud;
    }
}

// Records what the link reports, with the time it arrived.
class Recorder final : public SerialEvents {
  public:
    explicit Recorder(const test::ManualClock& clock) : clock_(clock) {}
    void OnBytes(std::span<const std::uint8_t> bytes) override {
        chunks.push_back({clock_.Now(), std::string(bytes.begin(), bytes.end())});
        if (then) then();
    }
    void OnLinkError(const std::string& text) override { errors.push_back(text); }

    std::vector<std::pair<milliseconds, std::string>> chunks;
    std::vector<std::string> errors;
    std::function<void()> then;

  private:
    const test::ManualClock& clock_;
};

struct LinkFixture {
    explicit LinkFixture(int baud) : link(radio, clock, baud) {
        link.SetEvents(&events);
        EXPECT_EQ(link.Open("sim", "9600,n,8,1"), "");
    }
    SimulatedRadio radio = Radio();
    test::ManualClock clock;
    Recorder events{clock};
    SimulatedLink link;
};

TEST(SimulatedLink, RepliesArriveThroughTheTimersAfterTheirWireTime) {
    LinkFixture f(9600);
    f.link.SetReceiveThreshold(52);
    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "");
    EXPECT_TRUE(f.events.chunks.empty());  // never inside Write
    f.clock.Advance(milliseconds(65));
    EXPECT_TRUE(f.events.chunks.empty());
    f.clock.Advance(milliseconds(1));  // (11 + 52) bytes at 9600 baud: 65.6 ms
    ASSERT_EQ(f.events.chunks.size(), 1U);
    EXPECT_EQ(f.events.chunks[0], std::make_pair(milliseconds(66), kLine0));

    // Nothing is delivered below the threshold; the next reply tops it up.
    f.link.SetReceiveThreshold(60);
    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "");
    f.clock.RunUntilIdle();
    EXPECT_EQ(f.events.chunks.size(), 1U);
    EXPECT_EQ(f.link.Write("PV418\r\n"), "");  // 7 + 13 bytes: 20.8 ms
    f.clock.RunUntilIdle();
    ASSERT_EQ(f.events.chunks.size(), 2U);
    EXPECT_EQ(f.events.chunks[1],
              std::make_pair(milliseconds(66 + 66 + 21), kLine0 + "PV418\r\n\r\nOK\r\n"));

    EXPECT_EQ(f.link.Write("AL~E\r\n"), "");  // no answer, nothing scheduled
    EXPECT_TRUE(f.clock.Idle());
    EXPECT_EQ(f.link.BytesWritten(), 11U + 11U + 7U + 6U);
    EXPECT_EQ(f.link.BytesDelivered(), 52U + 52U + 13U);
}

TEST(SimulatedLink, TheReceiverMayWriteAgainFromItsReport) {
    LinkFixture f(0);
    f.link.SetReceiveThreshold(13);
    f.events.then = [&] {
        if (f.events.chunks.size() < 3) {
            EXPECT_EQ(f.link.Write("PV418\r\n"), "");
        }
    };
    EXPECT_EQ(f.link.Write("PV418\r\n"), "");
    EXPECT_TRUE(f.events.chunks.empty());
    f.clock.RunUntilIdle();
    ASSERT_EQ(f.events.chunks.size(), 3U);
    for (const auto& [at, bytes] : f.events.chunks) {
        EXPECT_EQ(at, milliseconds(0));
        EXPECT_EQ(bytes, "PV418\r\n\r\nOK\r\n");
    }
}

TEST(SimulatedLink, DiscardCloseAndDisconnect) {
    LinkFixture f(9600);
    f.link.SetReceiveThreshold(52);
    // A reply in flight survives a discard, as on a real line.
    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "");
    f.link.DiscardInput();
    f.clock.RunUntilIdle();
    EXPECT_EQ(f.events.chunks.size(), 1U);
    // Waiting bytes do not.
    f.link.SetReceiveThreshold(60);
    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "");
    f.clock.RunUntilIdle();
    f.link.DiscardInput();
    f.link.SetReceiveThreshold(52);
    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "");
    f.clock.RunUntilIdle();
    ASSERT_EQ(f.events.chunks.size(), 2U);
    EXPECT_EQ(f.events.chunks[1].second, kLine0);

    // Close cancels what is in flight; a closed port takes no bytes.
    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "");
    f.link.Close();
    EXPECT_FALSE(f.link.IsOpen());
    EXPECT_TRUE(f.clock.Idle());
    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "The port is not open.");
    EXPECT_EQ(f.radio.LinesReceived(), 4);

    // A failed open is reported once and leaves the port closed.
    f.link.FailNextOpen("Permission denied");
    EXPECT_EQ(f.link.Open("sim", "9600,n,8,1"), "Permission denied");
    EXPECT_FALSE(f.link.IsOpen());
    EXPECT_EQ(f.link.Open("sim", "9600,n,8,1"), "");
    EXPECT_TRUE(f.link.IsOpen());

    EXPECT_EQ(f.link.Write("AL~F0000R\r\n"), "");
    f.link.Disconnect();
    EXPECT_FALSE(f.link.IsOpen());
    EXPECT_TRUE(f.clock.Idle());
    EXPECT_EQ(f.events.errors, std::vector<std::string>{"The simulated cable was disconnected."});
    f.link.Disconnect();  // already closed: nothing more to report
    EXPECT_EQ(f.events.errors.size(), 1U);
    EXPECT_EQ(f.events.chunks.size(), 2U);
}

TEST(SimulatedLink, DestructionCancelsRepliesInFlight) {
    SimulatedRadio radio = Radio();
    test::ManualClock clock;
    {
        SimulatedLink link(radio, clock, 9600);
        EXPECT_EQ(link.Open("sim", ""), "");
        EXPECT_EQ(link.Write("AL~F0000R\r\n"), "");
        EXPECT_FALSE(clock.Idle());
    }
    EXPECT_TRUE(clock.Idle());
}

}  // namespace
}  // namespace qx
