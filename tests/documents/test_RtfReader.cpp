#include "documents/PlainText.h"
#include "documents/RtfFormat.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/Tags.h"
#include "tests/documents/TestDocs.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

using namespace vasora::documents;
using vasora::test::read;
using vasora::test::rtf;

namespace {

QTextCharFormat formatAt(const QTextDocument& doc, int position) {
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(position + 1);
    return c.charFormat();
}

bool hasProblem(const RtfReadReport& r, const char* word) {
    for (const QString& p : r.problems)
        if (p.contains(QLatin1String(word))) return true;
    return false;
}

QTextTable* firstTable(QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (QTextTable* t = QTextCursor(b).currentTable()) return t;
    return nullptr;
}

}  // namespace

TEST(RtfReaderText, CodePagesEscapesAndUnicode) {
    QTextDocument doc;
    // Windows-1252 by default, another code page from \ansicpg, and one from a font's charset.
    EXPECT_TRUE(read(rtf("caf\\'e9 \\'80"), doc).clean());
    EXPECT_EQ(plainText(doc), QString::fromUtf8("café €"));
    read("{\\rtf1\\ansi\\ansicpg1251 \\'e0\\'e1}", doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("аб"));
    read(rtf("{\\fonttbl{\\f1\\fcharset238 Arial CE;}}{\\f1 \\'b9}"), doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("ą"));
    read(rtf("a\\{b\\}c\\\\d\\~e\\tab f"), doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("a{b}c\\d\u00A0e\tf"));
}

TEST(RtfReaderText, UnicodeSkipCountIsScopedPerGroup) {
    QTextDocument doc;
    read(rtf("\\uc1\\u8364?{\\uc2\\u8364 xy}\\u8364?c"), doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("€€€c"));
    // \'hh counts as one skipped character; a negative value is the upper half of 16 bits.
    read(rtf("\\u-3913\\'b7z"), doc);
    EXPECT_EQ(plainText(doc), QString(QChar(0xF0B7)) + "z");
    // A surrogate pair joins; a lone half is replaced.
    read(rtf("\\u-10179?\\u-8704?|\\u-10179?"), doc);
    EXPECT_EQ(plainText(doc), QString::fromUtf8("😀|\uFFFD"));
}

TEST(RtfReaderLimits, HostileUnicodeSkipIsClampedAndStopsAtGroupEnd) {
    QTextDocument doc;
    read(rtf("{\\uc99999999 \\u65 abcdefghijklmnop}QRS"), doc);
    // The skip is clamped to eight characters and never eats text past its group.
    EXPECT_EQ(plainText(doc), "AijklmnopQRS");
    read(rtf("{\\uc-5 \\u66 x}"), doc);
    EXPECT_EQ(plainText(doc), "Bx");
}

TEST(RtfReaderLimits, DepthLimitSkipsDeeperGroupsOnly) {
    QTextDocument doc;
    const int deep = RtfLimits::kMaxDepth + 50;
    QByteArray body;
    for (int i = 1; i <= deep; ++i) {
        body += '{';
        if (i == 10) body += "ten ";
        if (i == RtfLimits::kMaxDepth - 1) body += "inside ";
        if (i == deep) body += "lost ";
    }
    for (int i = 0; i < deep; ++i) body += '}';
    body += "after";
    const RtfReadReport r = read(rtf(body), doc);
    EXPECT_TRUE(hasProblem(r, "nested deeper"));
    EXPECT_EQ(plainText(doc), "ten inside after");
    // A million open braces neither crash nor hang the reader.
    QByteArray flood(1000000, '{');
    read("{\\rtf1 " + flood, doc);
}

TEST(RtfReaderLimits, WordLengthAndParameterDigits) {
    QTextDocument doc;
    const QByteArray word32(32, 'q');
    EXPECT_TRUE(read(rtf("\\" + word32 + " ok"), doc).clean());
    EXPECT_EQ(plainText(doc), "ok");
    RtfReadReport r = read(rtf("\\" + word32 + "q text"), doc);
    EXPECT_TRUE(hasProblem(r, "longer than 32"));
    EXPECT_EQ(plainText(doc), "text");

    EXPECT_TRUE(read(rtf("{\\fs2147483647 big}"), doc).clean());
    r = read(rtf("{\\fs99999999999999999999 big}\\li-99999999999 x"), doc);
    EXPECT_TRUE(hasProblem(r, "more than 10 digits"));
    EXPECT_EQ(plainText(doc), "bigx");
    // The size is clamped to what a font may have.
    EXPECT_LE(formatAt(doc, 0).fontPointSize(), 1638.0);
}

TEST(RtfReaderLimits, BinaryDataIsCheckedAgainstTheDataLeft) {
    QTextDocument doc;
    // Braces inside \bin data are data, even in a skipped group.
    EXPECT_TRUE(read(rtf("{\\*\\unknown \\bin4 }}{{}visible"), doc).clean());
    EXPECT_EQ(plainText(doc), "visible");
    RtfReadReport r = read(rtf("x\\bin999999 abc"), doc);
    EXPECT_TRUE(hasProblem(r, "\\bin"));
    EXPECT_EQ(plainText(doc), "x");
    r = read(rtf("x\\bin-5 abc"), doc);
    EXPECT_TRUE(hasProblem(r, "\\bin"));
    r = read(rtf("x\\bin99999999999999 abc"), doc);
    EXPECT_TRUE(hasProblem(r, "\\bin"));
    EXPECT_TRUE(hasProblem(r, "digits"));
}

TEST(RtfReaderLimits, TablesAreCappedAndBadIndexesFallBack) {
    QTextDocument doc;
    QByteArray colors = "{\\colortbl;";
    for (int i = 0; i < RtfLimits::kMaxColors + 10; ++i) colors += "\\red1\\green2\\blue3;";
    colors += "}";
    RtfReadReport r = read(rtf(colors + "{\\cf1 a}{\\cf5000 b}"), doc);
    EXPECT_TRUE(hasProblem(r, "colour table"));
    EXPECT_EQ(formatAt(doc, 0).foreground().color(), QColor(1, 2, 3));
    EXPECT_FALSE(formatAt(doc, 1).hasProperty(QTextFormat::ForegroundBrush));

    r = read(rtf("{\\fonttbl{\\f0 Alpha;}{\\f1 Beta;}}{\\f1 a}{\\f77 b}{\\cf3 c}{\\highlight-4 d}"),
             doc);
    EXPECT_TRUE(r.clean());
    EXPECT_EQ(formatAt(doc, 0).fontFamilies().toStringList(), QStringList{"Beta"});
    EXPECT_FALSE(formatAt(doc, 1).hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(formatAt(doc, 2).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(formatAt(doc, 3).hasProperty(QTextFormat::BackgroundBrush));

    QByteArray wide = "\\trowd";
    for (int i = 1; i <= 200; ++i) wide += "\\cellx" + QByteArray::number(i * 100);
    wide += "\\pard\\intbl ";
    for (int i = 0; i < 200; ++i) wide += "c\\cell ";
    r = read(rtf(wide + "\\row"), doc);
    EXPECT_TRUE(hasProblem(r, "more cells"));
    ASSERT_NE(firstTable(doc), nullptr);
    EXPECT_EQ(firstTable(doc)->columns(), RtfLimits::kMaxTableColumns);
}

TEST(RtfReaderLimits, AVeryLargeDocumentIsReadToItsLimitAndSaysSo) {
    // Every paragraph costs Qt's document time and memory; past the limit reading stops at
    // once, shows what it read and says why.
    QTextDocument doc;
    QByteArray body = "first\\par ";
    for (int i = 0; i < RtfLimits::kMaxPieces + 100; ++i) body += "\\par ";
    const RtfReadReport r = read(rtf(body + "last"), doc);
    EXPECT_TRUE(hasProblem(r, "left out"));
    EXPECT_FALSE(hasProblem(r, "ends before"));
    EXPECT_EQ(doc.firstBlock().text(), "first");
    EXPECT_LE(doc.blockCount(), RtfLimits::kMaxPieces + 1);
    EXPECT_FALSE(doc.toPlainText().contains("last"));
    // Table cells count as well; the table is closed properly where reading stopped.
    QByteArray cells = "\\trowd\\cellx1000\\cellx2000";
    for (int i = 0; i < RtfLimits::kMaxPieces / 2 + 10; ++i)
        cells += "\\pard\\intbl a\\cell b\\cell\\row";
    EXPECT_TRUE(hasProblem(read(rtf(cells), doc), "left out"));
}

TEST(RtfReaderTables, AVeryLongTableGoesOnAsTablesOfLimitedLength) {
    QTextDocument doc;
    const int rows = RtfLimits::kMaxTableRows * 2 + 7;
    QByteArray body = "before\\par";
    for (int r = 0; r < rows; ++r)
        body += "\\trowd\\cellx1000\\cellx2000\\pard\\intbl r" + QByteArray::number(r) +
                "\\cell x\\cell\\row\n";
    ASSERT_TRUE(read(rtf(body + "\\pard after"), doc).clean());
    std::vector<int> lengths;
    QTextTable* last = nullptr;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextTable* t = QTextCursor(b).currentTable();
        if (t && t != last) lengths.push_back(t->rows());
        last = t;
    }
    EXPECT_EQ(lengths, (std::vector<int>{RtfLimits::kMaxTableRows, RtfLimits::kMaxTableRows, 7}));
    // No row is lost or added, and every table holds exactly the rows it filled.
    const QString text = plainText(doc);
    EXPECT_EQ(text.count("\tx"), rows);
    EXPECT_TRUE(text.contains("r0\tx\nr1\tx"));
    EXPECT_TRUE(text.contains(QStringLiteral("r%1\tx\n").arg(rows - 1)));
    EXPECT_TRUE(text.endsWith("after"));
}

TEST(RtfReaderLimits, NotRtfAndCutShortFiles) {
    QTextDocument doc;
    RtfReadReport r = read("Just some words.\nAnd more.", doc);
    EXPECT_FALSE(r.isRtf);
    EXPECT_EQ(plainText(doc), "Just some words.\nAnd more.");
    EXPECT_TRUE(r.message("x.rtf").contains("not a rich-text"));
    r = read("{\\rtf1 {\\b half", doc);
    EXPECT_TRUE(hasProblem(r, "ends before"));
    EXPECT_EQ(plainText(doc), "half");
    EXPECT_TRUE(r.message("x.rtf").contains("What could be read is shown"));
    r = read("", doc);
    EXPECT_FALSE(r.isRtf);
}

TEST(RtfReaderFormat, CharacterFormatting) {
    QTextDocument doc;
    read(rtf("{\\colortbl;\\red200\\green0\\blue0;\\red0\\green200\\blue0;}"
             "{\\b B}{\\i I}{\\ul U}{\\strike S}{\\super P}{\\sub D}{\\fs40 F}{\\cf1 C}"
             "{\\highlight2 H}{\\b\\b0 N}{\\ul\\ulnone M}"),
         doc);
    ASSERT_EQ(plainText(doc), "BIUSPDFCHNM");
    EXPECT_EQ(formatAt(doc, 0).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, 1).fontItalic());
    EXPECT_TRUE(formatAt(doc, 2).fontUnderline());
    EXPECT_TRUE(formatAt(doc, 3).fontStrikeOut());
    EXPECT_EQ(formatAt(doc, 4).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatAt(doc, 5).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(formatAt(doc, 6).fontPointSize(), 20.0);
    EXPECT_EQ(formatAt(doc, 7).foreground().color(), QColor(200, 0, 0));
    EXPECT_EQ(formatAt(doc, 8).background().color(), QColor(0, 200, 0));
    EXPECT_NE(formatAt(doc, 9).fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatAt(doc, 10).fontUnderline());
}

TEST(RtfReaderFormat, ParagraphsHeadingsAndSkippedDestinations) {
    QTextDocument doc;
    read(rtf("{\\stylesheet{\\s0 Normal;}{\\s1\\outlinelevel0 heading 1;}{\\s2 heading 2;}}"
             "{\\info{\\title Secret}}{\\*\\unknown hidden}{\\*\\generator Gen;}"
             "\\pard\\s1 Top\\par\\pard\\s2 Sub\\par"
             "\\pard\\qc\\li720\\ri360\\fi-360\\sb120\\sa240\\tqr\\tx2880 a\\tab b\\line c\\par"
             "\\pard\\qj\\sl360\\slmult1 last"),
         doc);
    ASSERT_EQ(doc.toRawText(), QString("Top\u2029Sub\u2029a\tb\u2028c\u2029last"));
    const QTextBlock top = doc.findBlockByNumber(0);
    EXPECT_EQ(top.blockFormat().headingLevel(), 1);
    EXPECT_EQ(doc.findBlockByNumber(1).blockFormat().headingLevel(), 2);
    const QTextBlockFormat f = doc.findBlockByNumber(2).blockFormat();
    EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(f.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(f.rightMargin(), 24.0);
    EXPECT_DOUBLE_EQ(f.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(f.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(f.bottomMargin(), 16.0);
    ASSERT_EQ(f.tabPositions().size(), 1);
    EXPECT_EQ(f.tabPositions()[0].type, QTextOption::RightTab);
    EXPECT_DOUBLE_EQ(f.tabPositions()[0].position, 192.0);
    const QTextBlockFormat last = doc.findBlockByNumber(3).blockFormat();
    EXPECT_EQ(last.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(last.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(last.lineHeight(), 150.0);
}

TEST(RtfReaderTables, CellsWidthsAndMergedCells) {
    QTextDocument doc;
    read(rtf("Before\\par"
             "\\trowd\\cellx1500\\cellx3000\\cellx4500"
             "\\pard\\intbl a\\cell b\\cell c\\cell\\row"
             "\\trowd\\clmgf\\cellx1500\\clmrg\\cellx3000\\clvmgf\\cellx4500"
             "\\pard\\intbl wide\\cell\\cell down\\cell\\row"
             "\\trowd\\cellx1500\\cellx3000\\clvmrg\\cellx4500"
             "\\pard\\intbl x\\cell y\\cell\\cell\\row"
             "\\trowd\\cellx4500\\pard\\intbl whole row\\cell\\row"
             "\\pard After"),
         doc);
    EXPECT_EQ(plainText(doc), "Before\na\tb\tc\nwide\tdown\nx\ty\nwhole row\nAfter");
    QTextTable* t = firstTable(doc);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rows(), 4);
    EXPECT_EQ(t->columns(), 3);
    EXPECT_EQ(t->cellAt(1, 1).column(), 0);  // merged into the cell on its left
    EXPECT_EQ(t->cellAt(2, 2).row(), 1);     // merged into the cell above
    EXPECT_EQ(t->cellAt(3, 2).columnSpan(), 3);
    const QList<QTextLength> widths = t->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 3);
    EXPECT_DOUBLE_EQ(widths[0].rawValue(), 100.0);
    // The paragraph mark before the table ends "Before"; no empty paragraph comes between.
    EXPECT_EQ(doc.findBlockByNumber(0).text(), "Before");
    EXPECT_NE(QTextCursor(doc.findBlockByNumber(1)).currentTable(), nullptr);
}

TEST(RtfReaderTables, TwoTablesStayApartAndCellsHoldParagraphs) {
    QTextDocument doc;
    read(rtf("\\trowd\\cellx1000\\pard\\intbl one\\par two\\cell\\row"
             "\\pard between\\par"
             "\\trowd\\cellx1000\\pard\\intbl three\\cell\\row\\pard"),
         doc);
    EXPECT_EQ(plainText(doc), "\none two\nbetween\nthree\n");
    int tables = 0;
    QTextTable* last = nullptr;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextTable* t = QTextCursor(b).currentTable();
        if (t && t != last) ++tables;
        last = t;
    }
    EXPECT_EQ(tables, 2);
}

TEST(RtfReaderTags, BookmarksBecomeTagsInsideCellsAndSideBySide) {
    QTextDocument doc;
    read(rtf("{\\*\\bkmkstart vt91000_1}Head{\\*\\bkmkend vt91000_1}\\par"
             "{\\*\\bkmkstart vt23011_a}1{\\*\\bkmkend vt23011_a}"
             "{\\*\\bkmkstart vt23011_b}2{\\*\\bkmkend vt23011_b}"
             "{\\*\\bkmkstart other}plain{\\*\\bkmkend other}"
             "{\\*\\bkmkstart vt123456_1}six{\\*\\bkmkend vt123456_1}\\par"
             "\\trowd\\cellx1000\\cellx2000\\pard\\intbl "
             "{\\*\\bkmkstart VT30155_9}{\\b in}put{\\*\\bkmkend VT30155_9}\\cell x\\cell\\row"),
         doc);
    const std::vector<TagSpan> tags = allTags(doc);
    ASSERT_EQ(tags.size(), 4u);
    EXPECT_EQ(tags[0].code, 91000);
    EXPECT_EQ(tagText(doc, tags[0]), "Head");
    // Two tags with the same code side by side stay two tags.
    EXPECT_EQ(tags[1].code, 23011);
    EXPECT_EQ(tags[2].code, 23011);
    EXPECT_NE(tags[1].id, tags[2].id);
    EXPECT_EQ(tagText(doc, tags[1]), "1");
    EXPECT_EQ(tagText(doc, tags[2]), "2");
    // A tag whose text changes format midway is one tag; it sits in a table cell.
    EXPECT_EQ(tags[3].code, 30155);
    EXPECT_EQ(tagText(doc, tags[3]), "input");
    EXPECT_NE(QTextCursor(doc.findBlock(tags[3].start)).currentTable(), nullptr);
}

TEST(RtfReaderFields, HyperlinksAndOtherFields) {
    QTextDocument doc;
    read(rtf("{\\field{\\*\\fldinst{HYPERLINK \"http://example.org/a b\"}}{\\fldrslt{site}}} "
             "{\\field{\\*\\fldinst HYPERLINK \\\\l \"place\"}{\\fldrslt here}} "
             "{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}"),
         doc);
    EXPECT_EQ(plainText(doc), "site here 7");
    EXPECT_EQ(formatAt(doc, 0).anchorHref(), "http://example.org/a b");
    EXPECT_TRUE(formatAt(doc, 0).isAnchor());
    EXPECT_EQ(formatAt(doc, 5).anchorHref(), "#place");
    EXPECT_FALSE(formatAt(doc, 10).isAnchor());
}

// Word processors read a file as RTF when a line break or blanks stand between its opening brace
// and "\\rtf"; so does the reader, and so does the lab book's test of a file.
TEST(RtfReader, ABraceALineBreakAndRtfIsRtf) {
    for (const QByteArray& head : {QByteArray("{\n\\rtf1 x}"), QByteArray("{\r\n\\rtf1 x}"),
                                   QByteArray("\xEF\xBB\xBF  {\\rtf1 x}")}) {
        QTextDocument doc;
        const RtfReadReport r = readRtf(head, doc);
        EXPECT_TRUE(r.isRtf) << head.toStdString();
        EXPECT_EQ(doc.toPlainText(), "x") << head.toStdString();
        EXPECT_GE(rtfStart(head), 0);
    }
    for (const QByteArray& notRtf : {QByteArray("x{\\rtf1 x}"), QByteArray("{x\\rtf1}"),
                                     QByteArray("{ \\rtf1}"), QByteArray("{"), QByteArray("")})
        EXPECT_EQ(rtfStart(notRtf), -1) << notRtf.toStdString();
}
