// The scripted dialog seam answers from its queues and records every request.

#include <gtest/gtest.h>

#include "shell/Dialogs.h"

using namespace vasora::ui;

TEST(Dialogs, ScriptedSeamAnswersInOrderAndFallsBackToCancel) {
    ScriptedSeam s;
    SeamGuard guard(s);
    s.answers = {Answer::Yes};
    s.paths = {QStringLiteral("a.txt")};
    messageBox(QStringLiteral("one"));
    EXPECT_EQ(ask(QStringLiteral("save?")), Answer::Yes);
    EXPECT_EQ(ask(QStringLiteral("again?"), {}, Buttons::YesNo), Answer::No);
    EXPECT_EQ(ask(QStringLiteral("and?"), {}, Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(seam().openFile(nullptr, QStringLiteral("Open"), {}, {}), "a.txt");
    EXPECT_EQ(seam().saveFile(nullptr, QStringLiteral("Save"), {}, {}, Replace::DialogAsks), "");
    ASSERT_EQ(s.shown.size(), 6u);
    EXPECT_EQ(s.messages(), QStringList{QStringLiteral("one")});
    EXPECT_EQ(s.shown[1].text, "save?");
    EXPECT_EQ(s.shown[5].kind, "save");
}
