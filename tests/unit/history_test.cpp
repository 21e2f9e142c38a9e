#include "app/history.h"

#include <gtest/gtest.h>

#include "codeplug/defaults.h"

namespace qx {
namespace {

Codeplug Named(const std::string& name) {
    Codeplug codeplug = NewCodeplug(3);
    codeplug.Memory(0).name = name;
    return codeplug;
}

StepLabel Edit(int row) { return {StepKind::ChannelEdit, row, ChannelField::Name}; }

TEST(History, UndoAndRedoWalkTheSteps) {
    History history(Named(""));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo());
    for (int i = 1; i <= 40; ++i) ASSERT_TRUE(history.Commit(Named(std::to_string(i)), Edit(i)));
    EXPECT_EQ(history.UndoStep(), Edit(40));
    EXPECT_FALSE(history.RedoStep());
    while (history.Undo()) {
    }
    EXPECT_EQ(history.Current(), Named(""));
    EXPECT_EQ(history.RedoStep(), Edit(1));
    while (history.Redo()) {
    }
    EXPECT_EQ(history.Current(), Named("40"));
    EXPECT_EQ(history.StepCount(), 40u);
}

TEST(History, AnUnchangedCodeplugIsNoStep) {
    History history(Named("A"));
    EXPECT_FALSE(history.Commit(Named("A"), Edit(1)));
    EXPECT_FALSE(history.CanUndo());
}

TEST(History, ANewStepDropsWhatWasUndone) {
    History history(Named(""));
    ASSERT_TRUE(history.Commit(Named("A"), Edit(1)));
    ASSERT_TRUE(history.Commit(Named("B"), Edit(2)));
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.Commit(Named("C"), Edit(3)));
    EXPECT_FALSE(history.CanRedo());
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(history.Current(), Named("A"));
}

TEST(History, ModifiedFollowsTheCleanState) {
    History history(Named(""));
    EXPECT_FALSE(history.Modified());
    ASSERT_TRUE(history.Commit(Named("A"), Edit(1)));
    EXPECT_TRUE(history.Modified());
    history.MarkClean();  // saved
    EXPECT_FALSE(history.Modified());
    ASSERT_TRUE(history.Undo());
    EXPECT_TRUE(history.Modified());  // undone past the save
    ASSERT_TRUE(history.Redo());
    EXPECT_FALSE(history.Modified());  // back at the saved state
    ASSERT_TRUE(history.Commit(Named("B"), Edit(1)));
    ASSERT_TRUE(history.Commit(Named("A"), Edit(1)));
    EXPECT_FALSE(history.Modified());  // the same values as saved
}

TEST(History, KeepsTheNewestStepsUpToItsLimit) {
    History history(Named(""), 200);
    for (int i = 1; i <= 250; ++i) ASSERT_TRUE(history.Commit(Named(std::to_string(i)), Edit(i)));
    EXPECT_EQ(history.StepCount(), 200u);
    int undone = 0;
    while (history.Undo()) ++undone;
    EXPECT_EQ(undone, 200);
    EXPECT_EQ(history.Current(), Named("50"));
    EXPECT_TRUE(history.Modified());  // the clean state was forgotten, not reached
}

}  // namespace
}  // namespace qx
