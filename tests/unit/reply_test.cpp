#include "link/reply.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "scripted_ui.h"

namespace qx {
namespace {

using test::ScriptedUi;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The radio's answer to a block request: echo, CR LF, CR LF, address, ":", data, CR LF.
std::vector<std::uint8_t> ReadReply(const std::string& address, const std::string& data) {
    return Bytes("AL~F" + address + "R\r\n\r\n" + address + ":" + data + "\r\n");
}

TEST(ReplyCheck, OnlyRepliesInTheExpectedFormAreGood) {
    constexpr auto kRead = ReplyCheckMode::Reading;
    constexpr auto kAfter = ReplyCheckMode::WritingAfterIdentifier;
    const std::string data = "41424300000000000000000000000000";
    const auto good = ReadReply("0040", data);                             // 52 bytes
    const std::string echo = "AL~F0100W" + std::string(32, '0') + "\r\n";  // 43 bytes
    const std::tuple<std::vector<std::uint8_t>, ReplyCheckMode, int> cases[] = {
        {good, kRead, 0},
        {Bytes(std::string(good.begin(), good.end()) + "junk"), kRead, 0},
        {std::vector<std::uint8_t>(good.begin(), good.end() - 1), kRead, -2},  // 51 bytes
        {ReadReply("0050", data), kRead, -2},                                  // another line
        {Bytes("x" + std::string(good.begin(), good.end())), kRead, -2},       // misplaced
        {{}, kRead, -2},
        {Bytes(echo + "\r\nOK\r\n"), kAfter, 0},
        {Bytes(echo + "\r\nERROR\r\n"), kAfter, -1},
        {Bytes(echo + "\r\nOK\r\nERROR"), kAfter, -1},
        {Bytes(echo + "\r\nO"), kAfter, -1},
        {Bytes("x" + echo + "\r\nOK\r\n"), kAfter, -2},  // misplaced
        {Bytes("x" + echo + "\r\nOK\r\n"), ReplyCheckMode::Writing, 0},
        {Bytes("PV418\r\n\r\nOK\r\n"), ReplyCheckMode::Writing, 0},
        {Bytes("PV418\r\n\r\nERROR\r\n"), ReplyCheckMode::Writing, -1}};
    for (const auto& [reply, mode, result] : cases) {
        const std::string what(reply.begin(), reply.end());
        ScriptedUi ui;
        EXPECT_EQ(CheckReply(reply, 4, mode, ui), result) << what;
        EXPECT_TRUE(ui.messages.empty()) << what;
    }
}

TEST(ReplyCheck, ALinePastTheImageIsReportedAndCountsAsGood) {
    for (const auto mode : {ReplyCheckMode::Reading, ReplyCheckMode::Writing,
                            ReplyCheckMode::WritingAfterIdentifier}) {
        ScriptedUi ui;
        EXPECT_EQ(CheckReply({}, 512, mode, ui), 0);
        EXPECT_EQ(ui.messages, std::vector<std::string>{"Exceed Length!"});
    }
}

TEST(ReplyLineBytes, TheDataAfterTheAddressWithNonHexCharactersAsZero) {
    const std::tuple<std::string, std::string> cases[] = {
        {"41424300000000000000000000000000", "41424300000000000000000000000000"},
        {"0123456789ABCDEF0123456789ABCDEF", "0123456789ABCDEF0123456789ABCDEF"},
        // a character that is no (uppercase) hex digit counts as 0
        {"FZ1a00000000000000000000000000G0", "F0100000000000000000000000000000"}};
    for (const auto& [data, bytes] : cases)
        EXPECT_EQ(ReplyLineBytes(ReadReply("0040", data)).ToHex(), bytes) << data;
    // What a short reply lacks reads as 0.
    const auto reply = ReadReply("0040", "8180");
    EXPECT_EQ(ReplyLineBytes(std::vector<std::uint8_t>(reply.begin(), reply.end() - 2)).ToHex(),
              "81800000000000000000000000000000");
}

}  // namespace
}  // namespace qx
