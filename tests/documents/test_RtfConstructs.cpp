// Constructs that teachers' word processors write and the reader once got wrong: double-byte
// and Mac code pages, symbol fonts, the \uN skip, footnotes, text boxes, list numbers, nested
// tables, destinations of damaged files, deep nesting. Each file is small and written by hand.

#include "documents/PlainText.h"
#include "documents/RtfFormat.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "tests/documents/TestDocs.h"

#include <gtest/gtest.h>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace vasora::documents;
using vasora::test::read;

namespace {

QString textOf(const QByteArray& rtf, RtfReadReport* report = nullptr) {
    QTextDocument doc;
    const RtfReadReport r = read(rtf, doc);
    if (report) *report = r;
    return plainText(doc);
}

// The text after a round trip through the writer, which must read back as the first read did.
QString textAfterRoundTrip(const QByteArray& rtf) {
    QTextDocument first;
    read(rtf, first);
    const QByteArray written = writeRtf(first);
    QTextDocument second;
    EXPECT_TRUE(read(written, second).clean());
    EXPECT_EQ(writeRtf(second), written);
    return plainText(second);
}

bool mentions(const RtfReadReport& r, const QString& words) {
    return r.problems.join(QLatin1Char(' ')).contains(words);
}

const QByteArray kHead = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}";

}  // namespace

TEST(RtfCodePages, DoubleByteTextIsDecodedByRunsNotByBytes) {
    const QByteArray fonts =
        kHead +
        "{\\f1\\fcharset134 SimSun;}{\\f2\\fcharset128 MS Mincho;}{\\f3\\fcharset136 "
        "MingLiU;}{\\f4\\fcharset129 Batang;}}";
    // A lead byte in a skipped group must not shift the characters after it.
    EXPECT_EQ(textOf(fonts + "{\\f1{\\*\\unknown \\'b2}\\'b2\\'e2\\'ca\\'d4}}"),
              QString::fromUtf8("测试"));
    // A stray lead byte spoils only its own run.
    EXPECT_EQ(textOf(fonts + "{\\f1 \\'b2}{\\f1 \\'b2\\'e2\\'ca\\'d4}}"),
              QString::fromUtf8("\uFFFD测试"));
    // Shift-JIS, a trail byte written as a plain letter; Big5; Korean.
    EXPECT_EQ(textOf(fonts + "{\\f2 \\'83A\\'83\\'43}}"), QString::fromUtf8("アイ"));
    EXPECT_EQ(textOf(fonts + "{\\f3 \\'b4\\'fa\\'b8\\'d5}}"), QString::fromUtf8("測試"));
    EXPECT_EQ(textOf(fonts + "{\\f4 \\'c7\\'d1}}"), QString::fromUtf8("한"));
    // The document's own code page is double-byte too.
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg936 \\'b2\\'e2\\'ca\\'d4 ok}"),
              QString::fromUtf8("测试 ok"));
    EXPECT_EQ(textAfterRoundTrip(fonts + "{\\f1 \\'b2\\'e2\\'ca\\'d4}}"),
              QString::fromUtf8("测试"));
    // Bytes waiting to be decoded belong to the font name they stand in.
    QTextDocument doc;
    read(kHead + "{\\f1 Caf\\'e9;}{\\f2 Other;}}{\\f1 x}{\\f2 y}}", doc);
    QTextCursor c(&doc);
    c.setPosition(1);
    EXPECT_EQ(c.charFormat().fontFamilies().toStringList(), QStringList{QString::fromUtf8("Café")});
    c.setPosition(2);
    EXPECT_EQ(c.charFormat().fontFamilies().toStringList(), QStringList{"Other"});
}

TEST(RtfCodePages, MacCodePagesAreReadAndUnknownOnesNamed) {
    EXPECT_EQ(textOf("{\\rtf1\\mac caf\\'8e}"), QString::fromUtf8("café"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg10000 caf\\'8e}"), QString::fromUtf8("café"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg10007 \\'80\\'81}"), QString::fromUtf8("АБ"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg10001 \\'83\\'41}"), QString::fromUtf8("ア"));
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg10029 \\'84}"), QString::fromUtf8("Ą"));
    // Mac character sets of fonts: Roman, Japanese, Greek, Cyrillic.
    const QByteArray fonts = kHead +
                             "{\\f1\\fcharset77 Times;}{\\f2\\fcharset78 Osaka;}{\\f3\\fcharset85 "
                             "Greek;}{\\f4\\fcharset89 Cyr;}}";
    EXPECT_EQ(textOf(fonts + "{\\f1 \\'8e}{\\f2 \\'83\\'41}{\\f3 \\'e1}{\\f4 \\'80}}"),
              QString::fromUtf8("éアαА"));
    // A code page no decoder serves: its text is read as Windows-1252 and the message says
    // which one it was.
    RtfReadReport r;
    EXPECT_EQ(textOf("{\\rtf1\\ansi\\ansicpg10004 a\\'e9}", &r), QString::fromUtf8("aé"));
    EXPECT_TRUE(mentions(r, "code page 10004")) << r.problems.join("; ").toStdString();
    textOf(kHead + "{\\f1\\fcharset84 Arabic;}}{\\f1 \\'c7}}", &r);
    EXPECT_TRUE(mentions(r, "code page 10004")) << r.problems.join("; ").toStdString();
    // A font that is declared but never used needs no message.
    EXPECT_TRUE(textOf(kHead + "{\\f1\\fcharset84 Arabic;}}plain}", &r) == "plain" && r.clean());
}

TEST(RtfSymbolFonts, SymbolAndWingdingsBecomeUnicode) {
    const QByteArray fonts = kHead +
                             "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset2 "
                             "Wingdings;}{\\f3\\fnil\\fcharset2 Custom Dingbats;}}";
    // Greek letters, signs and the bullet of the Symbol font, by letter, by byte and by the
    // private-use code points Word writes.
    EXPECT_EQ(textOf(fonts + "{\\f1 abgDm \\'a3\\'b3\\'b1\\'b7\\'ae}}"),
              QString::fromUtf8("αβγΔμ ≤≥±•→"));
    EXPECT_EQ(textOf(fonts + "{\\f1\\uc1\\u-3913\\'b7\\u-3999 a}}"), QString::fromUtf8("•α"));
    // Wingdings bullets as their look-alikes.
    EXPECT_EQ(textOf(fonts + "{\\f2 \\'a7\\'d8\\'fc\\'6c\\u-3929 x}}"), QString::fromUtf8("▪➢✓●▪"));
    // A symbol font the reader has no table for keeps its characters and its name.
    EXPECT_EQ(textOf(fonts + "{\\f3 ab}}"), "ab");
    // The mapped text no longer needs the symbol font, and is written as Unicode.
    QTextDocument doc;
    read(fonts + "x{\\f1 a}}", doc);
    QTextCursor c(&doc);
    c.setPosition(2);
    EXPECT_FALSE(c.charFormat().fontFamilies().toStringList().contains("Symbol"));
    EXPECT_EQ(textAfterRoundTrip(fonts + "{\\f1 a\\'a3b}}"), QString::fromUtf8("α≤β"));
}

TEST(RtfUnicode, ATabOrLineBreakAfterUnicodeIsItsFallback) {
    // "\u8804" followed by a control word or symbol, which counts as the one character of its
    // fallback: the digits after it all stay.
    EXPECT_EQ(textOf("{\\rtf1\\uc1 \\u8804\\tab 8804}"), QString::fromUtf8("≤8804"));
    EXPECT_EQ(textOf("{\\rtf1\\uc1 \\u8804\\line 8804}"), QString::fromUtf8("≤8804"));
    EXPECT_EQ(textOf("{\\rtf1\\uc1 \\u8804\t8804}"), QString::fromUtf8("≤8804"));
    EXPECT_EQ(textOf("{\\rtf1\\uc1 \\u8804\\~8804}"), QString::fromUtf8("≤8804"));
    // Line ends in the file are no characters; the fallback after them is still passed over.
    EXPECT_EQ(textOf("{\\rtf1\\uc1 \\u8804\r\n?8804}"), QString::fromUtf8("≤8804"));
    // A paragraph mark is never eaten as a fallback.
    EXPECT_EQ(textOf("{\\rtf1\\uc1 \\u8804\\par 8804}"), QString::fromUtf8("≤\n8804"));
}

TEST(RtfFootnotes, NumbersInTheTextAndNotesAtTheEnd) {
    RtfReadReport r;
    const QByteArray doc =
        "{\\rtf1\\ansi\\deff0 Blood "
        "pressure{\\super\\chftn}{\\footnote\\pard\\plain{\\super\\chftn}"
        " Measured at rest.} rises.\\par Heart rate{\\super\\chftn}{\\*\\footnote\\pard{\\super"
        "\\chftn} Second note{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}\\par more.}\\par}";
    EXPECT_EQ(textOf(doc, &r),
              "Blood pressure1 rises.\nHeart rate2\n1 Measured at rest.\n2 Second note3\nmore.");
    EXPECT_TRUE(r.clean());
    EXPECT_EQ(textAfterRoundTrip(doc),
              "Blood pressure1 rises.\nHeart rate2\n1 Measured at rest.\n2 Second note3\nmore.");
}

TEST(RtfTextBoxes, TheTextOfADrawingTextBoxIsAParagraphAtItsAnchor) {
    const QByteArray box =
        "{\\*\\do\\dobxcolumn\\dobypara\\dodhgt8192\\dptxbx\\dptxlrtb{\\dptxbxtext\\pard\\plain "
        "{\\b Box} text\\par}\\dpx0\\dpy0\\dpxsize2000\\dpysize1000}";
    EXPECT_EQ(textOf("{\\rtf1\\ansi Before " + box + "after.\\par Next}"),
              "Before \nBox text\nafter.\nNext");
    // A shape whose result is the old drawing object: the box text once, not the shape's own.
    const QByteArray shape =
        "{\\shp{\\*\\shpinst{\\sp{\\sn fillColor}{\\sv 255}}{\\shptxt Box "
        "text\\par}}{\\shprslt " +
        box + "}}";
    EXPECT_EQ(textOf("{\\rtf1\\ansi Before\\par " + shape + "after}"), "Before\nBox text\nafter");
    EXPECT_EQ(textAfterRoundTrip("{\\rtf1\\ansi Before " + box + "after.}"),
              "Before \nBox text\nafter.");
}

TEST(RtfLists, NumbersAreGeneratedFromTheListTable) {
    const QByteArray lists =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
        "{\\*\\listtable"
        "{\\list\\listtemplateid1{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
        "{\\levelnumbers\\'01;}\\fi-360\\li720}{\\listlevel\\levelnfc4\\levelstartat1"
        "{\\leveltext\\'02\\'01);}{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc0{\\leveltext"
        "\\'04\\'00.\\'02.;}{\\levelnumbers\\'01\\'03;}\\levelfollow1}\\listid100}"
        "{\\list\\listtemplateid2{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}"
        "{\\levelnumbers;}\\f1}\\listid200}"
        "{\\list\\listtemplateid3{\\listlevel\\levelnfc2\\levelstartat4{\\leveltext\\'02\\'00.;}"
        "{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc3\\levelstartat26{\\leveltext\\'01\\'01;}"
        "{\\levelnumbers\\'01;}}\\listid300}}"
        "{\\*\\listoverridetable{\\listoverride\\listid100\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid200\\listoverridecount0\\ls2}"
        "{\\listoverride\\listid300\\listoverridecount0\\ls3}}";
    const QByteArray body =
        "\\pard\\ls1 Heart\\par\\pard\\ls1\\ilvl1 Left\\par\\pard\\ls1\\ilvl1 Right\\par"
        "\\pard\\ls1\\ilvl2 Deep\\par\\pard\\ls1 Vessels\\par\\pard\\ls1\\ilvl1 Again\\par"
        "\\pard\\ls2 Dot\\par\\pard\\ls3 four\\par\\pard\\ls3 five\\par"
        "\\pard\\ls3\\ilvl1 z\\par\\pard\\ls3\\ilvl1 aa\\par\\pard plain}";
    const QString expected = QString::fromUtf8(
        "1.\tHeart\na)\tLeft\nb)\tRight\n1.1. Deep\n2.\tVessels\na)\tAgain\n•\tDot\niv.\tfour\n"
        "v.\tfive\nZ\tz\nAA\taa\nplain");
    EXPECT_EQ(textOf(lists + body), expected);
    EXPECT_EQ(textAfterRoundTrip(lists + body), expected);
    // Where the file gives the number text itself, that text is shown and none is added.
    EXPECT_EQ(textOf(lists + "{\\listtext\\pard\\plain 7.\\tab}\\pard\\ls1 Given\\par"
                             "\\pard\\ls1 Next}"),
              "7.\tGiven\n2.\tNext");
}

TEST(RtfLists, OldParagraphNumbersAreGenerated) {
    const QByteArray doc =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
        "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\fi-360\\li360 One\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}\\fi-360\\li360 Two\\par"
        "\\pard{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb \\'b7}}Dot\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pnucltr\\pnstart1{\\pntxta )}}Alpha\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pnlcrm\\pnstart3{\\pntxtb (}{\\pntxta )}}Third\\par"
        "\\pard{\\pntext\\f0 9.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}Given\\par"
        "\\pard Plain}";
    EXPECT_EQ(textOf(doc), QString::fromUtf8("1.\tOne\n2.\tTwo\n•\tDot\nA)\tAlpha\n(iii)\tThird\n"
                                             "9.\tGiven\nPlain"));
}

TEST(RtfNestedTables, NestedRowsAreKeptAndTheFallbackIsNotShown) {
    const QByteArray doc =
        "{\\rtf1\\ansi\\deff0\\trowd\\cellx3000\\cellx6000"
        "\\pard\\intbl\\itap1 outer A\\cell"
        "\\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000"
        "\\cellx2000\\nestrow}{\\nonesttables n1 n2\\par}"
        "\\pard\\intbl\\itap2 n3\\nestcell\\nestcell n4\\nestcell{\\*\\nesttableprops\\trowd"
        "\\cellx1000\\cellx1500\\cellx2000\\nestrow}{\\nonesttables n3 n4\\par}"
        "\\pard\\intbl\\itap1 end B\\cell\\trowd\\cellx3000\\cellx6000\\row"
        "\\pard after\\par}";
    // The nested rows are lines of the outer cell, their cells apart by tabs, each once.
    const QString text = textOf(doc);
    EXPECT_EQ(text, "\nouter A\tn1\tn2 n3\t\tn4 end B\nafter\n");
    EXPECT_EQ(textAfterRoundTrip(doc), text);
}

TEST(RtfDestinations, WordsDestinationsAreSkippedEvenWithoutTheirStar) {
    // A damaged file that lost the \* of Word's own destinations.
    RtfReadReport r;
    EXPECT_EQ(textOf("{\\rtf1\\ansi{\\themedata 504b030414000600}{\\colorschememapping "
                     "3c3f786d6c}{\\xmlnstbl{\\xmlns1 http://schemas.example/}}{\\wgrffmtfilter "
                     "2450}{\\datastore 0105000002}{\\latentstyles\\lsdstimax376{\\lsdlockedexcept "
                     "\\lsdqformat1 Normal;}}{\\generator Writer 1.0;}{\\mmathPr\\mdispDef1}"
                     "{\\rsidtbl \\rsid123}{\\pgptbl{\\pgp\\ipgp0}}Text}",
                     &r),
              "Text");
    EXPECT_TRUE(r.clean());
}

TEST(RtfLimits, DepthInTheThousandsIsRead) {
    // A mail nested 2714 groups deep is read to its innermost text.
    QByteArray body;
    for (int i = 0; i < 2714; ++i) body += i % 100 == 50 ? "{\\b0 " : "{";
    body += "innermost";
    for (int i = 0; i < 2714; ++i) body += '}';
    RtfReadReport r;
    EXPECT_EQ(textOf("{\\rtf1 " + body + " after}", &r), "innermost after");
    EXPECT_TRUE(r.clean());
    EXPECT_GE(RtfLimits::kMaxDepth, 2714);
}
