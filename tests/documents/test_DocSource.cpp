// The documents' source form and the document checker.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "documents/DocCheck.h"
#include "documents/DocSource.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/Tags.h"

using namespace vasora::documents;

namespace {

struct Compiled {
    QTextDocument doc;
    SourceResult result;
    std::vector<TagSpan> tags;
    QString tagText(std::size_t i) const { return vasora::documents::tagText(doc, tags.at(i)); }
    std::vector<int> codes() const {
        std::vector<int> c;
        for (const TagSpan& t : tags) c.push_back(t.code);
        return c;
    }
};

std::unique_ptr<Compiled> compile(const QString& text) {
    auto c = std::make_unique<Compiled>();
    c->result = compileSource({{QStringLiteral("test.vtx"), text}}, c->doc);
    c->tags = allTags(c->doc);
    return c;
}

QStringList messages(const SourceResult& r) {
    QStringList m;
    for (const SourceProblem& p : r.problems) m << p.toString();
    return m;
}

}  // namespace

TEST(DocSource, HeadingsBecomeTreeTagsWithNumberedAnchors) {
    const auto c =
        compile(QStringLiteral("% title: T\n"
                               "# Using {#100}\n"
                               "## Menu {#101}\n"
                               "## Plain\n"
                               "### Minor\n"
                               "# Physiology {#300}\n"
                               "## Compliance {#302}\n"
                               "# >>INDEX {-}\n"));
    ASSERT_TRUE(c->result.ok()) << messages(c->result).join('\n').toStdString();
    EXPECT_EQ(c->codes(), (std::vector<int>{51100, 91000, 51101, 92000, 92000, 51300, 91000, 51302,
                                            92000, 91000}));
    EXPECT_EQ(c->tagText(0), "1");
    EXPECT_EQ(c->tagText(1), "Using");
    EXPECT_EQ(c->tagText(2), "1.1");
    EXPECT_EQ(c->tagText(4), "Plain");    // numbered in the text, but without an anchor tag
    EXPECT_EQ(c->tagText(7), "2.1");      // numbering starts again under a new level-1
    EXPECT_EQ(c->tagText(9), ">>INDEX");  // unnumbered
    // The minor heading is bold text, not a tag; the plain section shows its number as text.
    EXPECT_TRUE(c->doc.toPlainText().contains("1.2 Plain"));
    EXPECT_TRUE(c->doc.toPlainText().contains("Minor"));
    EXPECT_EQ(c->doc.firstBlock().text(), "T");
    // Heading levels go into the paragraphs, so word processors show an outline.
    const QTextBlock h = c->doc.findBlock(c->tags[1].start);
    EXPECT_EQ(h.blockFormat().headingLevel(), 1);
}

TEST(DocSource, InlineMarksLinksAndTags) {
    const auto c = compile(QStringLiteral(
        "A **bold** *it* x^2^ V~s~ [see](#302) [book](info:7) [pic](fig:610) [[23041|  93.7 ]] "
        "\\*not\\* \\[x\\]\n"));
    ASSERT_TRUE(c->result.ok()) << messages(c->result).join('\n').toStdString();
    EXPECT_EQ(c->codes(), (std::vector<int>{52302, 51007, 53610, 23041}));
    EXPECT_EQ(c->tagText(3), "  93.7 ");  // a tag's text is kept exactly, blanks and all
    EXPECT_TRUE(c->doc.toPlainText().endsWith("*not* [x]"));
    QTextCursor cur(&c->doc);
    auto formatAt = [&](const QString& word) {
        const int at = c->doc.toPlainText().indexOf(word);
        cur.setPosition(at + 1);
        return cur.charFormat();
    };
    EXPECT_EQ(formatAt("bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt("it ").fontItalic());
    EXPECT_EQ(formatAt("x2").verticalAlignment(), QTextCharFormat::AlignNormal);
    cur.setPosition(c->doc.toPlainText().indexOf("x2") + 2);
    EXPECT_EQ(cur.charFormat().verticalAlignment(), QTextCharFormat::AlignSuperScript);
}

TEST(DocSource, MistakesAreReportedWithFileAndLine) {
    const auto c =
        compile(QStringLiteral("# A {#1}\n"
                               "text [x](nowhere) and **open\n"
                               "\n"
                               "[[123456|t]] [[5|]]\n"
                               "# B {#1}\n"
                               "{frobnicate}\n"
                               "| a | b |\n"
                               "| c |\n"));
    const QStringList m = messages(c->result);
    ASSERT_EQ(m.size(), 7) << m.join('\n').toStdString();
    EXPECT_TRUE(m[0].startsWith("test.vtx:5: anchor 1 is given twice"));
    EXPECT_TRUE(m.join('\n').contains("test.vtx:2: unknown link target \"nowhere\""));
    EXPECT_TRUE(m.join('\n').contains("test.vtx:2: a ** * ^ or ~ is not closed"));
    EXPECT_TRUE(m.join('\n').contains("test.vtx:4: a tag must be [[CODE|text]]"));
    EXPECT_TRUE(m.join('\n').contains("test.vtx:4: tag 5 has no text"));
    EXPECT_TRUE(m.join('\n').contains("test.vtx:6: unknown directive"));
    EXPECT_TRUE(m.join('\n').contains("test.vtx:8: this table row has 1 cells, the table 2"));
}

TEST(DocSource, TablesListsNotesIndexAndFigures) {
    const auto c =
        compile(QStringLiteral("# One {#10}\n"
                               "- first\n"
                               "  and more\n"
                               "2. second\n"
                               "> a note\n"
                               "| **Q** | V |\n"
                               "|---|---|\n"
                               "| P\\|x | [[21011|       ]] |\n"
                               "{figure 642}\n"
                               "# Two {#20}\n"
                               "# >>INDEX {-}\n"
                               "{index}\n"));
    ASSERT_TRUE(c->result.ok()) << messages(c->result).join('\n').toStdString();
    const QString text = c->doc.toPlainText();
    EXPECT_TRUE(text.contains(QStringLiteral("\u2022\tfirst and more")));
    EXPECT_TRUE(text.contains("2.\tsecond"));
    EXPECT_TRUE(text.contains("a note"));
    EXPECT_TRUE(text.contains("P|x"));
    // The index links to every anchored section, in order.
    const std::vector<int> codes = c->codes();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(std::vector<int>(codes.end() - 2, codes.end()), (std::vector<int>{52010, 52020}));
    EXPECT_NE(std::find(codes.begin(), codes.end(), 53642), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), 21011), codes.end());
}

TEST(DocSource, WrittenAndReadBackTheTagsSurviveAndTheBytesAreStable) {
    const auto c =
        compile(QStringLiteral("% title: Round trip\n# A {#5}\nSee [b](#6).\n"
                               "| [[10000|start]] | [[23011|  1.0  ]] |\n"
                               "# B {#6}\n[[43000|Fill table 3]]\n"));
    ASSERT_TRUE(c->result.ok());
    const QByteArray once = writeRtf(c->doc);
    QTextDocument back;
    ASSERT_TRUE(readRtf(once, back).clean());
    std::vector<int> codes;
    for (const TagSpan& t : allTags(back)) codes.push_back(t.code);
    EXPECT_EQ(codes, c->codes());
    EXPECT_EQ(writeRtf(back), once);
    // Compiling again gives the same bytes: the shipped documents can be checked against
    // their sources.
    EXPECT_EQ(writeRtf(compile(QStringLiteral("% title: Round trip\n# A {#5}\nSee [b](#6).\n"
                                              "| [[10000|start]] | [[23011|  1.0  ]] |\n"
                                              "# B {#6}\n[[43000|Fill table 3]]\n"))
                           ->doc),
              once);
}

TEST(DocSource, AFolderIsReadInNameOrder) {
    QTemporaryDir dir;
    auto put = [&](const char* name, const char* text) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    put("20-b.vtx", "# B {#2}\n");
    put("10-a.vtx", "# A {#1}\n");
    put("notes.txt", "# Not a source\n");
    SourceResult r;
    const QList<SourceFile> files = readSourcePath(dir.path(), r);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0].name, "10-a.vtx");
    SourceResult missing;
    EXPECT_TRUE(readSourcePath(dir.filePath("none"), missing).isEmpty());
    EXPECT_FALSE(missing.ok());
}

TEST(DocCheck, LinksNeedAnchorsFiguresNeedFilesHeadingsNeedParents) {
    QTemporaryDir dir;
    QFile(dir.filePath("Img610.jpg")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("Img001.BMP")).open(QIODevice::WriteOnly);
    const auto info =
        compile(QStringLiteral("## Early\n# A {#100}\nSee [it](#100) [no](#101) "
                               "[f](fig:610) [g](fig:611) [h](fig:1)\n"
                               "[[51100|again]]\n"));
    ASSERT_TRUE(info->result.ok());
    const QStringList p = checkDocument({&info->doc, dir.path(), nullptr});
    const QString all = p.join('\n');
    EXPECT_EQ(p.size(), 5) << all.toStdString();
    EXPECT_TRUE(all.contains("level-2 heading \"Early\" stands before any level-1 heading"));
    EXPECT_TRUE(all.contains("has no anchor 51101"));
    EXPECT_TRUE(all.contains("figure 611 has no picture file Img611"));
    // The information viewer finds no BMP: figure 1 exists only for the lab book.
    EXPECT_TRUE(all.contains("figure 1 has no picture file Img001"));
    EXPECT_TRUE(all.contains("anchor 51100 stands twice"));

    // A lab book: its links lead into the information file, its figures may be BMP.
    const auto book =
        compile(QStringLiteral("[ok](info:100) [missing](info:102) [f](fig:1) "
                               "[wrong place](#100)\n"));
    const QStringList q = checkDocument({&book->doc, dir.path(), &info->doc});
    EXPECT_EQ(q.size(), 2) << q.join('\n').toStdString();
    EXPECT_TRUE(q.join('\n').contains("no anchor 51102"));
    EXPECT_TRUE(q.join('\n').contains("leads inside the information file"));
}

// 53900 opens the live diagram window and needs no picture file, even where an Img900 would
// be looked for; the rest of 53900..53999 is kept for live figures the program does not have.
TEST(DocCheck, TheLiveDiagramNeedsNoPictureOtherLiveNumbersAreUnknown) {
    QTemporaryDir empty;
    const auto info =
        compile(QStringLiteral("# A {#100}\n[live](fig:900) [[53900|again]] "
                               "[next](fig:901) [last](fig:999) [low](fig:899)\n"));
    ASSERT_TRUE(info->result.ok());
    const QStringList p = checkDocument({&info->doc, empty.path(), nullptr});
    const QString all = p.join('\n');
    EXPECT_EQ(p.size(), 3) << all.toStdString();
    EXPECT_TRUE(all.contains("figure 53901 is an unknown live figure")) << all.toStdString();
    EXPECT_TRUE(all.contains("figure 53999 is an unknown live figure"));
    // 899 is an ordinary figure: its picture is missing.
    EXPECT_TRUE(all.contains("figure 899 has no picture file Img899"));
    EXPECT_FALSE(all.contains("figure 53900")) << all.toStdString();
    EXPECT_FALSE(all.contains("figure 900")) << all.toStdString();
    EXPECT_FALSE(all.contains("Img900"));

    const auto book =
        compile(QStringLiteral("Watch it: [open the live diagram](fig:900)\n\n"
                               "[[53950|not yet]]\n"));
    const QStringList q = checkDocument({&book->doc, empty.path(), &info->doc});
    ASSERT_EQ(q.size(), 1) << q.join('\n').toStdString();
    EXPECT_TRUE(q[0].contains("paragraph 1: figure 53950 is an unknown live figure"))
        << q[0].toStdString();
}

TEST(DocCheck, LabBookTablesNeedTheirStartMarkersAndButtons) {
    const auto good =
        compile(QStringLiteral("[[10000|Table 1]]\n| [[21011|  ]] | [[31015|  ]] |\n"
                               "[[41000|Fill]]\n[[80000|Plot]]\n"
                               "| [[25011| ]] | [[25012| ]] |\n[[48000|Plot it]]\n"));
    EXPECT_TRUE(checkDocument({&good->doc, QDir::tempPath(), &good->doc}).isEmpty());
    const auto bad =
        compile(QStringLiteral("| [[21011|  ]] |\n[[41000|Fill]]\n"
                               "[[10000|T]]\n| [[22011|  ]] |\n[[43000|Fill]]\n"));
    const QStringList p = checkDocument({&bad->doc, QDir::tempPath(), &bad->doc});
    const QString all = p.join('\n');
    EXPECT_EQ(p.size(), 3) << all.toStdString();
    EXPECT_TRUE(all.contains("cell 21011 has no table start marker"));
    EXPECT_TRUE(all.contains("table button 41000 has no start marker"));
    EXPECT_TRUE(all.contains("table button 43000 has no cell of table 3"));
}

// The plot table's rows carry their own markers and buttons (apply a heart rate, record the
// output); the plot button still walks back over them to the plot marker.
TEST(DocCheck, PlotTablesMayHoldRowButtonsAndTakeElevenRows) {
    auto rows = [](int n) {
        QString s = QStringLiteral("[[80000|Curve]]\n");
        for (int i = 0; i < n; ++i)
            s += QStringLiteral(
                     "| [[10000|%1]] HR [[36135|  %1  ]] [[46000|Apply]] | "
                     "[[27052|       ]] | [[27121|       ]] [[47000|Record]] |\n")
                     .arg(30 + 20 * i);
        return s + QStringLiteral("[[48000|Plot the curve]]\n");
    };
    const auto good = compile(rows(11));
    ASSERT_TRUE(good->result.ok());
    EXPECT_TRUE(checkDocument({&good->doc, QDir::tempPath(), &good->doc}).isEmpty());

    const auto tooLong = compile(rows(12));
    const QStringList p = checkDocument({&tooLong->doc, QDir::tempPath(), &tooLong->doc});
    ASSERT_EQ(p.size(), 1) << p.join('\n').toStdString();
    EXPECT_TRUE(p[0].contains("the plot table of button 48000 holds 36 cells"));

    // A plot button needs its own marker: a table start marker is not one.
    const auto noPlot =
        compile(QStringLiteral("[[10000|T]]\n| [[27052| ]] |\n[[48000|Plot]]\n"
                               "[[80000|Curve]]\n| [[27052| ]] |\n"));
    const QString all = checkDocument({&noPlot->doc, QDir::tempPath(), &noPlot->doc}).join('\n');
    EXPECT_TRUE(all.contains("table button 48000 has no start marker")) << all.toStdString();
    EXPECT_TRUE(all.contains("the plot table has no plot button 48000 after it"));
}

TEST(DocSource, AnswerFieldsAreEmptyInTheTemplateAndFilledInTheSample) {
    const QString src = QStringLiteral("Your prediction: {{ It rises. }} Why? {{Less filling.}}\n");
    QTextDocument templ, sample;
    ASSERT_TRUE(compileSource({{QStringLiteral("lb.vtx"), src}}, templ).ok());
    ASSERT_TRUE(
        compileSource({{QStringLiteral("lb.vtx"), src}}, sample, SourceVariant::Sample).ok());
    const auto t = allTags(templ), s = allTags(sample);
    ASSERT_EQ(t.size(), 2u);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(t[0].code, 61000);
    EXPECT_EQ(tagText(templ, t[0]).trimmed(), "");
    EXPECT_GE(tagText(templ, t[0]).size(), 8);  // room to click into
    EXPECT_EQ(tagText(sample, s[0]), " It rises. ");
    EXPECT_EQ(tagText(sample, s[1]), " Less filling. ");
    SourceResult bad =
        compileSource({{QStringLiteral("lb.vtx"), QStringLiteral("A {{ }} {{open")}}, templ);
    EXPECT_EQ(bad.problems.size(), 2);
}
