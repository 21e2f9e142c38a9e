#include "signalling/auto_dialer.h"

#include <gtest/gtest.h>

#include "document_builder.h"

namespace qx {
namespace {

using test::EnglishTexts;
using test::ScriptedUi;

const std::string kInvalid = "Invalid character! Only 0~9, A, B, C, D, *, #, - are allowed.";
const std::string kTooLong = "Too long! An auto dialer memory holds at most 16 characters.";

TEST(AutoDialer, TypedTextIsCheckedOnEveryChange) {
    struct Case {
        const char* typed;
        const char* shown;
        std::vector<std::string> messages;
    };
    for (const Case& c : {
             Case{"12a", "12A", {}},
             Case{"abcd", "ABCD", {}},
             Case{"*#-", "*#-", {}},
             Case{"12E", "12", {kInvalid}},
             Case{"1E2x3", "123", {kInvalid}},
             Case{"12345678901234567890", "1234567890123456", {kTooLong}},
             Case{"1234567890ABCD*#-e", "1234567890ABCD*#", {kInvalid, kTooLong}},
         }) {
        ScriptedUi ui;
        AutoDialerDialog dialog(kDefaultAutoDial, EnglishTexts(), ui);
        EXPECT_EQ(dialog.ChangeEntry(4, c.typed), c.shown) << c.typed;
        EXPECT_EQ(ui.messages, c.messages) << c.typed;
    }
}

TEST(AutoDialer, OkRebuildsTheRecord) {
    ScriptedUi ui;
    Document doc;
    AutoDialerDialog untouched(doc.strAutoDial, EnglishTexts(), ui);
    untouched.Ok(doc);
    EXPECT_EQ(doc.strAutoDial, "Ad||||||||||");
    EXPECT_FALSE(doc.bModify);

    AutoDialerDialog dialog(doc.strAutoDial, EnglishTexts(), ui);
    dialog.ChangeEntry(0, "123");
    dialog.ChangeEntry(8, "*#-");
    dialog.ChangeEntry(3, "d");
    dialog.Ok(doc);
    EXPECT_EQ(doc.strAutoDial, "Ad|123|||D|||||*#-|");
    EXPECT_TRUE(doc.bModify);
    EXPECT_TRUE(ui.messages.empty());

    // Reopening shows what was stored.
    AutoDialerDialog reopened(doc.strAutoDial, EnglishTexts(), ui);
    EXPECT_EQ(reopened.Entry(0), "123");
    EXPECT_EQ(reopened.Entry(8), "*#-");
}

TEST(AutoDialer, CancelLeavesTheRecord) {
    ScriptedUi ui;
    Document doc;
    doc.strAutoDial = "Ad|1|2|3|4|5|6|7|8|9|";
    AutoDialerDialog dialog(doc.strAutoDial, EnglishTexts(), ui);
    dialog.ChangeEntry(2, "ABCD");
    EXPECT_EQ(doc.strAutoDial, "Ad|1|2|3|4|5|6|7|8|9|");
    EXPECT_FALSE(doc.bModify);
}

TEST(AutoDialer, DamagedRecordsOpenSafely) {
    ScriptedUi ui;
    // Too few fields: the missing entries are empty.
    AutoDialerDialog shortRecord("Ad|12|34", EnglishTexts(), ui);
    EXPECT_EQ(shortRecord.Entry(1), "34");
    EXPECT_EQ(shortRecord.Entry(2), "");
    EXPECT_TRUE(ui.messages.empty());
    Document doc;
    shortRecord.Ok(doc);
    EXPECT_EQ(doc.strAutoDial, "Ad|12|34||||||||");

    // Invalid characters are reported and removed as typing would.
    AutoDialerDialog bad("Ad|12E|||||||||", EnglishTexts(), ui);
    EXPECT_EQ(bad.Entry(0), "12");
    EXPECT_EQ(ui.messages, std::vector<std::string>{kInvalid});
}

TEST(AutoDialer, RecordKeepsTheLastSixteenCharacters) {
    std::array<std::string, kAutoDialEntries> entries{};
    entries[0] = "ABCD1234567890123";  // 17 characters
    EXPECT_EQ(AutoDialRecord(entries), "Ad|BCD1234567890123|||||||||");
    EXPECT_EQ(AutoDialEntries("Ad|1||3||||||9|")[8], "9");
}

}  // namespace
}  // namespace qx
