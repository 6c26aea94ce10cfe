// Runs the vasora-rtf program on the seed files and checks what it prints and returns.

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "../support/RtfTool.h"

namespace {

using vasora::test::ToolRun;

ToolRun tool(const QStringList& args) {
    return vasora::test::rtfTool(args);
}

QString corpus(const char* name) {
    return qEnvironmentVariable("VASORA_SOURCE_DIR") + "/tests/documents/fuzz/corpus/" + name;
}

}  // namespace

TEST(VasoraRtf, TagsListsEveryTagWithItsParts) {
    const ToolRun r = tool({"tags", corpus("tags.rtf")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "0\t0\t91000\t9\t1\t0\t0\tExperiment");
    EXPECT_EQ(lines[2], "2\t0\t23011\t2\t3\t1\t1\t  93.7 ");
    EXPECT_EQ(lines[4], "3\t3\t33015\t3\t3\t1\t5\t50");
    EXPECT_EQ(lines[6], "4\t7\t51012\t5\t1\t12\t0\tlink");
}

TEST(VasoraRtf, TextAndRoundTrip) {
    const ToolRun text = tool({"text", corpus("table.rtf")});
    ASSERT_EQ(text.code, 0);
    EXPECT_TRUE(text.out.startsWith("Before\na\tb\tc\nwide two\n")) << text.out.toStdString();
    QTemporaryDir dir;
    const QString once = dir.filePath("once.rtf"), twice = dir.filePath("twice.rtf");
    ASSERT_EQ(tool({"roundtrip", corpus("tags.rtf"), once}).code, 0);
    ASSERT_EQ(tool({"roundtrip", once, twice}).code, 0);
    QFile a(once), b(twice);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

TEST(VasoraRtf, PartialReadsPrintWhatWasReadAndSaySo) {
    QTemporaryDir dir;
    auto file = [&](const char* name, const QByteArray& data) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return f.fileName();
    };
    // A plain text file: its text, the problem on the error stream, status 3.
    ToolRun r = tool({"text", corpus("notrtf.rtf")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.err.contains("not a rich-text")) << r.err.toStdString();
    EXPECT_FALSE(r.out.trimmed().isEmpty());
    // A file cut short: what was read, tags included; the round trip is written all the same.
    const QString cut = file("cut.rtf",
                             "{\\rtf1 first\\par {\\*\\bkmkstart vt43000_1}[Go]"
                             "{\\*\\bkmkend vt43000_1} and {\\b more");
    r = tool({"text", cut});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "first\n[Go] and more\n");
    EXPECT_TRUE(r.err.contains("ends before")) << r.err.toStdString();
    r = tool({"tags", cut});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.out, "1\t0\t43000\t4\t3\t0\t0\t[Go]\n");
    r = tool({"roundtrip", cut, dir.filePath("out.rtf")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(tool({"text", dir.filePath("out.rtf")}).code, 0);
}

TEST(VasoraRtf, UnreadableFilesAndWrongUseFail) {
    ToolRun r = tool({"tags", corpus("no-such-file.rtf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("cannot open"));
    EXPECT_EQ(tool({"frobnicate", corpus("tags.rtf")}).code, 2);
    EXPECT_EQ(tool({}).code, 2);
}

TEST(VasoraRtf, WhatIsNotAPlainFileIsNeverReplacedByTheOutput) {
    // A device or a pipe named as the output (an author's "compile ... /dev/null") stays what
    // it is: the write is refused with the reason, for compile and roundtrip alike.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString source = qEnvironmentVariable("VASORA_SOURCE_DIR") + "/content/src/FileHelp.vtx";
    for (const QStringList& args : {QStringList{"compile", source, pipe},
                                    QStringList{"roundtrip", corpus("tags.rtf"), pipe}}) {
        const ToolRun r = tool(args);
        EXPECT_EQ(r.code, 1) << args[0].toStdString();
        EXPECT_TRUE(r.err.contains("it is not a plain file")) << r.err.toStdString();
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << args[0].toStdString();
    }
    // A plain file is still written.
    EXPECT_EQ(tool({"compile", source, dir.filePath("help.rtf")}).code, 0);
    EXPECT_GT(QFileInfo(dir.filePath("help.rtf")).size(), 1000);
}
