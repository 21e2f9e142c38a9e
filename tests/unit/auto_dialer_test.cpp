#include "signalling/auto_dialer.h"

#include <gtest/gtest.h>

#include "codeplug/defaults.h"
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
        AutoDialerDialog dialog(AutoDialer{}, EnglishTexts(), ui);
        EXPECT_EQ(dialog.ChangeEntry(4, c.typed), c.shown) << c.typed;
        EXPECT_EQ(ui.messages, c.messages) << c.typed;
    }
}

AutoDialer Entries(std::initializer_list<std::pair<std::size_t, const char*>> entries) {
    AutoDialer dialer;
    for (const auto& [index, text] : entries) dialer.entries.at(index) = text;
    return dialer;
}

TEST(AutoDialer, OkStoresTheEntriesAsOneStep) {
    ScriptedUi ui;
    Document doc;
    AutoDialerDialog untouched(doc.codeplug().autoDialer, EnglishTexts(), ui);
    untouched.Ok(doc);
    EXPECT_EQ(doc.codeplug().autoDialer, AutoDialer{});
    EXPECT_FALSE(doc.Modified());
    EXPECT_FALSE(doc.CanUndo()) << "OK without a change adds no step";

    AutoDialerDialog dialog(doc.codeplug().autoDialer, EnglishTexts(), ui);
    dialog.ChangeEntry(0, "123");
    dialog.ChangeEntry(8, "*#-");
    dialog.ChangeEntry(3, "d");
    dialog.Ok(doc);
    EXPECT_EQ(doc.codeplug().autoDialer, Entries({{0, "123"}, {3, "D"}, {8, "*#-"}}));
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::AutoDialer});
    EXPECT_TRUE(ui.messages.empty());

    // Reopening shows what was stored.
    AutoDialerDialog reopened(doc.codeplug().autoDialer, EnglishTexts(), ui);
    EXPECT_EQ(reopened.Entry(0), "123");
    EXPECT_EQ(reopened.Entry(8), "*#-");

    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug().autoDialer, AutoDialer{}) << "one step";
    EXPECT_FALSE(doc.CanUndo());
}

TEST(AutoDialer, CancelLeavesTheEntries) {
    ScriptedUi ui;
    const AutoDialer stored = Entries({{0, "1"}, {1, "2"}, {8, "9"}});
    Codeplug codeplug = NewCodeplug(kStartModel);
    codeplug.autoDialer = stored;
    Document doc(codeplug);
    AutoDialerDialog dialog(doc.codeplug().autoDialer, EnglishTexts(), ui);
    dialog.ChangeEntry(2, "ABCD");
    EXPECT_EQ(doc.codeplug().autoDialer, stored);
    EXPECT_FALSE(doc.Modified());
}

TEST(AutoDialer, StoredEntriesAreCheckedAsTypingWouldAndOkStoresThemChecked) {
    ScriptedUi ui;
    // Entries from a file or a radio may hold anything; opening cleans them
    // and says so, and OK never stores more than 16 characters.
    AutoDialerDialog dialog(Entries({{0, "12E"}, {1, "ABCD1234567890123"}, {2, "ab"}}),
                            EnglishTexts(), ui);
    EXPECT_EQ(dialog.Entry(0), "12");
    EXPECT_EQ(dialog.Entry(1), "ABCD123456789012");
    EXPECT_EQ(dialog.Entry(2), "AB");
    EXPECT_EQ(ui.messages, (std::vector<std::string>{kInvalid, kTooLong}));
    Document doc;
    dialog.Ok(doc);
    EXPECT_EQ(doc.codeplug().autoDialer, Entries({{0, "12"}, {1, "ABCD123456789012"}, {2, "AB"}}));
}

}  // namespace
}  // namespace qx
