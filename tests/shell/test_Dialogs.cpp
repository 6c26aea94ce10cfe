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

TEST(Dialogs, AMessageRepeatedAskAfterTheThirdAndNoSilencesItsKind) {
    ScriptedSeam s;
    SeamGuard guard(s);
    s.answers = {Answer::No};
    {
        RepeatedMessages repeats;
        for (int i = 0; i < 100; ++i) messageBox(QStringLiteral("Case on row error (R:%1) in C2").arg(i));
        messageBox(QStringLiteral("Another kind"));
    }
    ASSERT_EQ(s.messages().size(), 4);
    EXPECT_EQ(s.messages()[2], "Case on row error (R:2) in C2");
    EXPECT_EQ(s.messages()[3], "Another kind");
    ASSERT_EQ(s.shown.size(), 5u);
    EXPECT_EQ(s.shown[3].kind, "question");
    EXPECT_TRUE(s.shown[3].text.contains("Show the rest"));
    // Yes shows them all; and once the guard is gone every message shows again.
    s.shown.clear();
    s.answers = {Answer::Yes};
    {
        RepeatedMessages repeats;
        for (int i = 0; i < 6; ++i) messageBox(QStringLiteral("Same"));
    }
    EXPECT_EQ(s.messages().size(), 6);
    s.shown.clear();
    for (int i = 0; i < 5; ++i) messageBox(QStringLiteral("Same"));
    EXPECT_EQ(s.messages().size(), 5);
}
