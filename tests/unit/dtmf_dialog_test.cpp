#include "signalling/dtmf_dialog.h"

#include <gtest/gtest.h>

#include "codeplug/defaults.h"
#include "document_builder.h"

namespace qx {
namespace {

using test::EnglishTexts;

// A document opened with these DTMF memories.
Document WithMemories(const std::array<std::int16_t, kDtmfMemoryCount>& memories) {
    Codeplug codeplug = NewCodeplug(kStartModel);
    codeplug.signalling.dtmfMemories = memories;
    return Document(codeplug);
}

TEST(DtmfDialog, OpensWithCaptionsAndTheStoredMemories) {
    const Document doc = WithMemories({0, 10, 0x123, 0x1A, 0xA0A, -1, 0x7FFF, 1});
    const DtmfDialog dialog(doc, EnglishTexts());
    EXPECT_EQ(dialog.Captions().frame, "SPR Memory");
    EXPECT_EQ(dialog.Captions().ok, "O K");
    const std::array<std::string, 8> shown = {"0", "A", "123", "1A", "A0A", "FFFF", "7FFF", "1"};
    EXPECT_EQ(dialog.Entries(), shown);
}

TEST(DtmfDialog, OkStoresEveryEntryAsOneStepAndReopensWithIt) {
    struct Case {
        const char* typed;
        std::int16_t stored;
        const char* reopened;
    };
    const std::array<Case, 8> cases = {{{"A", 10, "A"},
                                        {"000", 0, "0"},
                                        {"", 0, "0"},
                                        {"0", 0, "0"},
                                        {"1A", 26, "1A"},
                                        {"123", 0x123, "123"},
                                        {"AAA", 0xAAA, "AAA"},
                                        {"09", 9, "9"}}};
    Document doc = WithMemories({5, 5, 5, 5, 5, 5, 5, 5});
    const Codeplug opened = doc.codeplug();
    DtmfDialog dialog(doc, EnglishTexts());
    for (std::size_t i = 0; i < cases.size(); ++i) dialog.SetEntryText(i, cases[i].typed);
    dialog.Ok(doc);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.UndoStep(), StepLabel{StepKind::Dtmf});
    const DtmfDialog reopened(doc, EnglishTexts());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(doc.codeplug().signalling.dtmfMemories[i], cases[i].stored) << cases[i].typed;
        EXPECT_EQ(reopened.Entry(i), cases[i].reopened) << cases[i].typed;
    }
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.codeplug(), opened) << "one step";
}

TEST(DtmfDialog, UnchangedOrDamagedEntriesKeepTheirMemories) {
    Document doc = WithMemories({-1, 0x7FFF, 3, 4, 5, 6, 7, 8});
    DtmfDialog dialog(doc, EnglishTexts());
    dialog.Ok(doc);
    EXPECT_FALSE(doc.CanUndo()) << "a negative value round-trips through its text";
    for (const char* damaged : {"G", "-1", "12345", " 1", "0x1"}) {
        dialog.SetEntryText(2, damaged);
        dialog.Ok(doc);
        EXPECT_EQ(doc.codeplug().signalling.dtmfMemories[2], 3) << damaged;
    }
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.Modified());
}

TEST(DtmfDialog, KeyFilter) {
    struct Case {
        const char* current;
        char32_t key;
        const char* result;
    };
    for (const Case c : {Case{"1", U'A', "1A"}, Case{"1", U'a', "1A"}, Case{"", U'b', ""},
                         Case{"", U'#', ""}, Case{"12", U'3', "123"}, Case{"123", U'4', "123"},
                         Case{"1", 22, "1"}, Case{"1", U'\r', "1"}, Case{"1", U'\u00e4', "1"}}) {
        EXPECT_EQ(TypeDtmfKey(c.current, c.key), c.result)
            << c.current << " + " << static_cast<unsigned>(c.key);
    }
}

}  // namespace
}  // namespace qx
