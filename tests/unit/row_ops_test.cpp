// Insert, delete, move and clear whole memory channels: where every channel
// ends up, priorities following the channel they name, one undo step each.
#include "app/row_ops.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_builder.h"

namespace qx {
namespace {

using test::LoadedDocument;
using test::ScriptedUi;

// Channels 0..5 in use, named "C0".."C5"; channel 0 has channel 3 as its
// priority, the call channel channel 5.
Document Numbered() {
    Document doc = LoadedDocument(3);
    doc.Change({}, [](Codeplug& c) {
        for (int i = 0; i <= 5; ++i) {
            c.Memory(i) = c.Memory(0);
            c.Memory(i).inUse = true;
            c.Memory(i).blank = false;
            c.Memory(i).name = "C" + std::to_string(i);
        }
        c.Memory(0).priority = Priority::OfChannel(3);
        c.CallChannel().priority = Priority::OfChannel(5);
    });
    return doc;
}

// The names of channels 0..7, "-" for a channel not in use.
std::string Names(const Document& doc) {
    std::string names;
    for (int i = 0; i <= 7; ++i) {
        const Channel& c = doc.codeplug().Memory(i);
        names += (names.empty() ? "" : " ") + (c.inUse ? c.name : std::string("-"));
    }
    return names;
}

// Which channel each priority names: channel 0's (wherever "C0" went) and the call channel's.
std::string Priorities(const Document& doc) {
    std::string text;
    for (int i = 0; i < kChannelRows; ++i) {
        if (doc.codeplug().Memory(i).name == "C0")
            text = doc.codeplug().Memory(i).priority.ToString();
    }
    return text + "/" + doc.codeplug().CallChannel().priority.ToString();
}

TEST(RowOps, EachOperationMovesTheChannelsAndTheirPriorities) {
    struct Case {
        const char* name;
        bool (*run)(Document&);
        bool changed;
        std::string names, priorities;
        StepKind step;
    };
    const std::vector<Case> cases = {
        {"insert at 2",
         [](Document& d) {
             ScriptedUi ui;
             return InsertChannel(d, 2, ui);
         },
         true, "C0 C1 - C2 C3 C4 C5 -", "04/06", StepKind::InsertChannel},
        {"delete 1 and 3",
         [](Document& d) {
             return DeleteChannels(d, {3, 1, 3});
         },
         true, "C0 C2 C4 C5 - - - -", "off/03", StepKind::DeleteChannels},
        {"move 1 and 2 down",
         [](Document& d) {
             return MoveChannels(d, {1, 2}, 1);
         },
         true, "C0 C3 C1 C2 C4 C5 - -", "01/05", StepKind::MoveChannels},
        {"move 3 and 5 up",
         [](Document& d) {
             return MoveChannels(d, {5, 3}, -1);
         },
         true, "C0 C1 C3 C2 C5 C4 - -", "02/04", StepKind::MoveChannels},
        {"move 0 up: nothing",
         [](Document& d) {
             return MoveChannels(d, {0, 2}, -1);
         },
         false, "C0 C1 C2 C3 C4 C5 - -", "03/05", StepKind::Other},
        {"move 99 down: nothing", [](Document& d) { return MoveChannels(d, {99}, 1); }, false,
         "C0 C1 C2 C3 C4 C5 - -", "03/05", StepKind::Other},
        {"clear 3", [](Document& d) { return ClearChannels(d, {3}); }, true, "C0 C1 C2 - C4 C5 - -",
         "off/05", StepKind::ClearChannels},
        {"delete nothing valid",
         [](Document& d) {
             return DeleteChannels(d, {-1, 100});
         },
         false, "C0 C1 C2 C3 C4 C5 - -", "03/05", StepKind::Other},
    };
    for (const Case& c : cases) {
        Document doc = Numbered();
        const Codeplug before = doc.codeplug();
        EXPECT_EQ(c.run(doc), c.changed) << c.name;
        EXPECT_EQ(Names(doc), c.names) << c.name;
        EXPECT_EQ(Priorities(doc), c.priorities) << c.name;
        if (!c.changed) {
            EXPECT_EQ(doc.codeplug(), before) << c.name;
            continue;
        }
        ASSERT_TRUE(doc.UndoStep().has_value()) << c.name;
        EXPECT_EQ(doc.UndoStep()->kind, c.step) << c.name;
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(doc.codeplug(), before) << c.name << ": one undo step";
    }
}

TEST(RowOps, AnInsertThatWouldLoseChannel99Asks) {
    Document doc = Numbered();
    doc.Change({}, [](Codeplug& c) {
        c.Memory(99) = c.Memory(1);
        c.Memory(99).name = "LAST";
    });
    const Codeplug before = doc.codeplug();
    ScriptedUi ui;
    ui.answers = {Answer::No};
    EXPECT_FALSE(InsertChannel(doc, 0, ui));
    EXPECT_EQ(ui.questions, std::vector<std::string>{doc.texts.insertLosesLast});
    EXPECT_EQ(doc.codeplug(), before);
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(InsertChannel(doc, 0, ui));
    EXPECT_FALSE(doc.codeplug().Memory(0).inUse);
    EXPECT_EQ(doc.codeplug().Memory(1).name, "C0");
    EXPECT_EQ(doc.codeplug().Memory(99).name, "");  // "LAST" was pushed out
    EXPECT_EQ(MovedChannels({4, 2, 2}, -1), (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace qx
