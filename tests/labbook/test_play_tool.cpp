// vasora-rtf play run as the teacher runs it: the sample made from a source, played, replayed.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "../support/Files.h"
#include "../support/RtfTool.h"

namespace {

using vasora::test::ToolRun;

ToolRun tool(const QStringList& args) {
    return vasora::test::rtfTool(args);
}

using vasora::test::readFile;
using vasora::test::writeFile;

}  // namespace

TEST(PlayTool, TheSampleIsMadeFromItsSourceAndReplaysToTheSameBytes) {
    QTemporaryDir dir;
    const QString src = dir.filePath("book.vtx"), sample = dir.filePath("sample.rtf");
    const QString out = dir.filePath("Explore.rtf"), again = dir.filePath("again.rtf");
    ASSERT_TRUE(writeFile(src,
                          "# Resistance\n"
                          "[[10000|Table 1]]\n"
                          "| MAP | [[21011|       ]] | CO | [[21052|       ]] |\n"
                          "[[41000|Fill]]\n\n"
                          "Prediction: {{It rises.}}\n\n"
                          "[[10000|Table 2]]\n"
                          "| Resistance | [[32015|  200  ]] |\n"
                          "[[42000|Apply]]\n\n"
                          "[[10000|Table 3]]\n"
                          "| MAP | [[23011|       ]] |\n"
                          "[[43000|Fill]]\n"));
    ASSERT_EQ(tool({"compile", "--sample", src, sample}).code, 0);
    const ToolRun played = tool({"play", sample, out});
    ASSERT_EQ(played.code, 0) << played.err.toStdString();
    EXPECT_TRUE(played.out.contains("table 1 \"Table 1\": 2 output cell(s) filled"))
        << played.out.toStdString();
    EXPECT_TRUE(played.out.contains("table 2 \"Table 2\": 1 input cell(s) applied bottom to top"));
    EXPECT_TRUE(played.out.contains("AutoRun: flows equal at"));
    EXPECT_TRUE(played.out.contains("table 3 \"Table 3\": 1 output cell(s) filled"));
    EXPECT_FALSE(played.out.contains("message:"));
    const QByteArray book = readFile(out);
    EXPECT_TRUE(book.contains("It rises."));
    // The filled book is listed with its values, and replaying it changes nothing.
    const ToolRun tags = tool({"tags", out});
    EXPECT_FALSE(tags.out.contains("\t21011\t2\t1\t1\t1\t       \n")) << tags.out.toStdString();
    ASSERT_EQ(tool({"play", out, again}).code, 0);
    EXPECT_EQ(readFile(again), book);
}

TEST(PlayTool, ABookThatCannotBeReadWholeIsNotPlayed) {
    QTemporaryDir dir;
    const QString notes = dir.filePath("notes.rtf"), out = dir.filePath("out.rtf");
    ASSERT_TRUE(writeFile(notes, "just some notes"));
    const ToolRun r = tool({"play", notes, out});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains("notes.rtf")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(tool({"play", dir.filePath("missing.rtf"), out}).code, 1);
    EXPECT_EQ(tool({"play", notes}).code, 2);
}
