// The scripted dialog seam answers from its queues and records every request.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "shell/Dialogs.h"
#include "tests/support/UnaskedAnswers.h"

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
    vasora::test::expectEveryAnswerAsked(s);
}

TEST(Dialogs, AMessageRepeatedAskAfterTheThirdAndNoSilencesItsKind) {
    ScriptedSeam s;
    SeamGuard guard(s);
    s.answers = {Answer::No};
    {
        RepeatedMessages repeats;
        for (int i = 0; i < 100; ++i)
            messageBox(QStringLiteral("Case on row error (R:%1) in C2").arg(i));
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
    vasora::test::expectEveryAnswerAsked(s);
}

// What the GUI tests' fixtures check as each test ends: an answer queued and never asked for
// fails the test, and the failure names it.
TEST(Dialogs, AnswersNeverAskedForAreNamedAndFailTheTest) {
    ScriptedSeam s;
    SeamGuard guard(s);
    s.answers = {Answer::Yes, Answer::Cancel};
    s.paths = {QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    s.printFiles = {QStringLiteral("c.pdf")};
    EXPECT_EQ(ask(QStringLiteral("save?")), Answer::Yes);
    EXPECT_EQ(seam().openFile(nullptr, QStringLiteral("Open"), {}, {}), "a.txt");
    EXPECT_EQ(vasora::test::unaskedAnswers(s),
              (QStringList{QStringLiteral("question answered Cancel"),
                           QStringLiteral("file dialog choosing \"b.txt\""),
                           QStringLiteral("print dialog printing to \"c.pdf\"")}));
    EXPECT_NONFATAL_FAILURE(vasora::test::expectEveryAnswerAsked(s),
                            "scripted dialog answers never asked for: question answered Cancel; "
                            "file dialog choosing \"b.txt\"; print dialog printing to \"c.pdf\"");
    // Once every answer is taken, or dropped, there is nothing to report.
    EXPECT_EQ(ask(QStringLiteral("and?"), {}, Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(seam().saveFile(nullptr, QStringLiteral("Save"), {}, {}, Replace::DialogAsks),
              "b.txt");
    s.printFiles.clear();
    EXPECT_TRUE(vasora::test::unaskedAnswers(s).isEmpty());
    vasora::test::expectEveryAnswerAsked(s);
}
