#include "documents/PlainText.h"
#include "documents/RtfFormat.h"
#include "documents/RtfPicture.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/Tags.h"
#include "tests/documents/TestDocs.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtEndian>

using namespace vasora::documents;
using vasora::test::read;
using vasora::test::rtf;

namespace {

QByteArray imageBytes(const QImage& img, const char* format) {
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return out;
}

QImage testImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(QColor(10, 120, 200));
    img.setPixelColor(0, 0, Qt::red);
    return img;
}

// The device-independent bitmap of a BMP file is the file without its 14-byte header.
QByteArray dibBytes(const QImage& img) {
    return imageBytes(img, "BMP").mid(14);
}

QByteArray pict(const QByteArray& kindWords, const QByteArray& data) {
    return "{\\pict" + kindWords + " " + data.toHex() + "}";
}

// The first image of the document and its picture data.
QTextImageFormat firstImage(const QTextDocument& doc) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return it.fragment().charFormat().toImageFormat();
    return {};
}

QImage imageOf(const QTextDocument& doc, const QTextImageFormat& f) {
    return doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
}

// Reads, writes, reads and writes again: the second read must show the same document and
// the second write the same bytes.
QByteArray checkRoundTrip(const QByteArray& source) {
    QTextDocument first;
    EXPECT_TRUE(read(source, first).clean());
    const QByteArray written = writeRtf(first);
    QTextDocument second;
    const RtfReadReport r = read(written, second);
    EXPECT_TRUE(r.clean()) << r.problems.join("; ").toStdString();
    EXPECT_EQ(plainText(second), plainText(first));
    const auto a = allTags(first), b = allTags(second);
    EXPECT_EQ(a.size(), b.size());
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        EXPECT_EQ(a[i].start, b[i].start);
        EXPECT_EQ(a[i].length, b[i].length);
        EXPECT_EQ(a[i].code, b[i].code);
    }
    EXPECT_EQ(second.blockCount(), first.blockCount());
    EXPECT_EQ(writeRtf(second), written);
    return written;
}

}  // namespace

TEST(RtfWriter, RoundTripOfTextFormattingTablesAndTags) {
    const QByteArray doc =
        rtf("{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
            "\\pard\\s1 {\\*\\bkmkstart vt91000_1}Heading{\\*\\bkmkend vt91000_1}\\par"
            "\\pard\\qc\\li720\\fi-360\\sb60\\sa120\\sl-300\\slmult0\\tqc\\tx1440 {\\b\\i bold} "
            "{\\f1\\fs18 code} {\\cf1\\ul red} {\\highlight1 hi}{\\super 2}{\\strike x}\\tab "
            "\\'e9\\u8364?\\u1046?\\{\\}\\\\\\line end\\par"
            "\\trowd\\cellx2000\\cellx4000\\clvmgf\\cellx6000"
            "\\pard\\intbl {\\*\\bkmkstart vt23011_2}  93.7 {\\*\\bkmkend vt23011_2}\\cell"
            "{\\*\\bkmkstart vt23012_3}1{\\*\\bkmkend vt23012_3}{\\*\\bkmkstart vt23012_4}2"
            "{\\*\\bkmkend vt23012_4}\\cell tall\\cell\\row"
            "\\trowd\\clmgf\\cellx2000\\clmrg\\cellx4000\\clvmrg\\cellx6000"
            "\\pard\\intbl joined\\par two\\cell\\cell\\cell\\row"
            "\\pard {\\*\\bkmkstart vt40001_5}[Fill]{\\*\\bkmkend vt40001_5} "
            "{\\field{\\*\\fldinst HYPERLINK \"http://example.org/\" \\\\l \"top\"}{\\fldrslt "
            "link}}\\par\\pard last");
    const QByteArray written = checkRoundTrip(doc);
    // Tags are bookmarks named after their code; word processors keep them.
    EXPECT_TRUE(written.contains("{\\*\\bkmkstart vt23011_2}"));
    EXPECT_TRUE(written.contains("HYPERLINK \"http://example.org/\" \\\\l \"top\""));
    EXPECT_TRUE(written.contains("\\clvmgf"));
    EXPECT_TRUE(written.contains("\\clmrg"));
    QTextDocument again;
    read(written, again);
    EXPECT_TRUE(again.toRawText().contains(QString::fromUtf8("é€Ж{}\\\u2028end")));
}

TEST(RtfWriter, RoundTripOfTheGeneratedLabBook) {
    const QByteArray book = vasora::test::labBook(20, 3, 1);
    checkRoundTrip(book);
}

TEST(RtfWriter, DocumentStartingWithATableAndEmptyParagraphs) {
    checkRoundTrip(
        rtf("\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\pard\\par\\par"
            "\\trowd\\cellx1000\\pard\\intbl b\\cell\\row"));
    checkRoundTrip(rtf("\\par\\par x\\par\\par"));
    checkRoundTrip(rtf(""));
}

TEST(RtfWriter, RangeWritesOnlyItsPart) {
    QTextDocument doc;
    read(rtf("first\\par {\\*\\bkmkstart vt53012_1}second{\\*\\bkmkend vt53012_1}\\par third"),
         doc);
    const QByteArray part = writeRtfRange(doc, 6, 6);
    QTextDocument back;
    EXPECT_TRUE(read(part, back).clean());
    EXPECT_EQ(plainText(back), "second");
    ASSERT_EQ(allTags(back).size(), 1u);
    EXPECT_EQ(allTags(back)[0].code, 53012);
    EXPECT_EQ(writeRtfRange(doc, 0, 1000), writeRtf(doc));
}

TEST(RtfPictures, PngJpegAndDibAreShownAndWrittenBackUnchanged) {
    const QByteArray png = imageBytes(testImage(12, 8), "PNG");
    const QByteArray jpeg = imageBytes(testImage(16, 16), "JPEG");
    const QByteArray dib = dibBytes(testImage(5, 3));
    for (const auto& [words, data, w, h] :
         {std::tuple{QByteArray("\\pngblip\\picwgoal300\\pichgoal150"), png, 20, 10},
          std::tuple{QByteArray("\\jpegblip"), jpeg, 16, 16},
          std::tuple{QByteArray("\\dibitmap0\\picscalex200\\picscaley200\\picwgoal75\\pichgoal45"),
                     dib, 10, 6}}) {
        QTextDocument doc;
        ASSERT_TRUE(read(rtf("a" + pict(words, data) + "b"), doc).clean()) << words.toStdString();
        const QTextImageFormat f = firstImage(doc);
        ASSERT_TRUE(f.isValid());
        EXPECT_FALSE(imageOf(doc, f).isNull());
        if (!words.contains("jpeg")) {  // JPEG is lossy; the others keep the exact colour
            EXPECT_EQ(imageOf(doc, f).pixelColor(0, 0), QColor(Qt::red)) << words.toStdString();
        }
        EXPECT_DOUBLE_EQ(f.width(), w);
        EXPECT_DOUBLE_EQ(f.height(), h);
        EXPECT_EQ(f.property(kPictDataProperty).toByteArray(), data);
        EXPECT_TRUE(writeRtf(doc).contains(data.toHex().left(100)));
        checkRoundTrip(rtf("a" + pict(words, data) + "b"));
    }
}

TEST(RtfPictures, MetafileWithABitmapIsShownOtherwiseAPlaceholder) {
    // A metafile: an 18-byte header, a StretchDIBits record holding the bitmap, the end record.
    const QByteArray dib = dibBytes(testImage(4, 4));
    QByteArray record(6 + 22, '\0');
    record.append(dib);
    if (record.size() % 2) record.append('\0');
    auto put16 = [](QByteArray& b, int at, quint16 v) {
        qToLittleEndian<quint16>(v, reinterpret_cast<uchar*>(b.data()) + at);
    };
    auto put32 = [](QByteArray& b, int at, quint32 v) {
        qToLittleEndian<quint32>(v, reinterpret_cast<uchar*>(b.data()) + at);
    };
    put32(record, 0, quint32(record.size() / 2));
    put16(record, 4, 0x0F43);
    QByteArray header(18, '\0');
    put16(header, 0, 1);
    put16(header, 2, 9);
    QByteArray end(6, '\0');
    put32(end, 0, 3);
    const QByteArray wmf = header + record + end;
    QTextDocument doc;
    ASSERT_TRUE(read(rtf(pict("\\wmetafile8\\picw100\\pich100", wmf)), doc).clean());
    EXPECT_EQ(imageOf(doc, firstImage(doc)).pixelColor(0, 0), QColor(Qt::red));

    // A metafile of drawing records only is a placeholder of the picture's size.
    const QByteArray drawing = header + end;
    ASSERT_TRUE(read(rtf(pict("\\wmetafile8\\picwgoal1500\\pichgoal750", drawing)), doc).clean());
    const QTextImageFormat f = firstImage(doc);
    EXPECT_DOUBLE_EQ(f.width(), 100.0);
    EXPECT_DOUBLE_EQ(f.height(), 50.0);
    EXPECT_FALSE(imageOf(doc, f).isNull());
    EXPECT_TRUE(writeRtf(doc).contains(drawing.toHex()));
}

TEST(RtfPictures, BrokenPictureDataIsRejectedSafely) {
    QTextDocument doc;
    RtfReadReport r = read(rtf(pict("\\pngblip", "not a png at all")), doc);
    EXPECT_FALSE(r.clean());
    EXPECT_TRUE(firstImage(doc).isValid());  // a placeholder stands in its place
    // A bitmap header that claims a huge size, or more pixels than the data holds.
    QByteArray dib = dibBytes(testImage(4, 4));
    QByteArray huge = dib;
    qToLittleEndian<qint32>(100000, reinterpret_cast<uchar*>(huge.data()) + 4);
    QString why;
    EXPECT_TRUE(decodeDib(huge, &why).isNull());
    EXPECT_FALSE(why.isEmpty());
    EXPECT_TRUE(decodeDib(dib.left(50), &why).isNull());
    EXPECT_TRUE(decodeDib(QByteArray(3, 'x'), &why).isNull());
    EXPECT_TRUE(bitmapFromMetafile(QByteArray(40, '\xff'), &why).isNull());
    // A picture cut off by the end of the file.
    r = read("{\\rtf1 {\\pict\\pngblip 89504e47", doc);
    EXPECT_FALSE(r.clean());
}

TEST(RtfObjects, EmbeddedObjectIsKeptAndItsResultShown) {
    const QByteArray png = imageBytes(testImage(6, 6), "PNG");
    const QByteArray object =
        "{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw900\\objh600"
        "{\\*\\objdata 01050000020000000b000000}{\\result " +
        pict("\\pngblip", png) + "}}";
    QTextDocument doc;
    ASSERT_TRUE(read(rtf("before " + object + " after"), doc).clean());
    EXPECT_FALSE(imageOf(doc, firstImage(doc)).isNull());
    const QByteArray written = writeRtf(doc);
    EXPECT_TRUE(written.contains(object));
    EXPECT_EQ(written.count("\\object"), 1);
    checkRoundTrip(rtf("before " + object + " after"));

    // An object without a result is a placeholder of its size.
    const QByteArray bare = "{\\object\\objemb\\objw1500\\objh300{\\*\\objdata 0102}}";
    ASSERT_TRUE(read(rtf("x" + bare + "y"), doc).clean());
    EXPECT_DOUBLE_EQ(firstImage(doc).width(), 100.0);
    EXPECT_TRUE(writeRtf(doc).contains(bare));
}

TEST(RtfRegressions, EveryKeptFileLoadsWithoutHarm) {
    // Files the fuzzer once found harmful, and the seed corpus, must all read to an end, and
    // hold the fuzz target's promises: what is written reads back with no problem of its own,
    // and writing that again gives the same bytes.
    const QString root = qEnvironmentVariable("VASORA_SOURCE_DIR");
    ASSERT_FALSE(root.isEmpty());
    int files = 0;
    for (const char* dir : {"/tests/documents/fuzz/regressions", "/tests/documents/fuzz/corpus"}) {
        QDir d(root + QLatin1String(dir));
        for (const QString& name : d.entryList(QDir::Files)) {
            QFile f(d.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            QTextDocument doc;
            const RtfReadReport first = read(f.readAll(), doc);
            const QByteArray once = writeRtf(doc);
            QTextDocument again;
            const RtfReadReport second = read(once, again);
            EXPECT_TRUE(second.isRtf) << name.toStdString();
            for (const QString& p : second.problems)
                EXPECT_TRUE(first.problems.contains(p))
                    << name.toStdString() << ": " << p.toStdString();
            EXPECT_EQ(writeRtf(again), once) << name.toStdString();
            ++files;
        }
    }
    EXPECT_GT(files, 20);
}

// The paragraph before a table keeps its line spacing however often the file is saved, as a
// document of an online word processor has it: an empty paragraph of 1.15 lines, then a table.
TEST(RtfWriter, TheParagraphBeforeATableKeepsItsSpacingSaveAfterSave) {
    const QByteArray file(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\plain\\sl276\\slmult1{\\f0\\par}"
        "\\trowd\\trgaph108\\cellx3000\\cellx6000\\pard\\intbl\\sl276\\slmult1 A\\cell B\\cell"
        "\\row\\pard\\sl276\\slmult1 After the table.\\par}");
    QTextDocument doc;
    ASSERT_TRUE(read(file, doc).isRtf);
    const QByteArray once = writeRtf(doc);
    EXPECT_TRUE(once.contains("\\sl276\\slmult1 \\trowd")) << once.toStdString();
    QTextDocument again;
    ASSERT_TRUE(read(once, again).isRtf);
    EXPECT_EQ(writeRtf(again), once);
    EXPECT_DOUBLE_EQ(again.firstBlock().blockFormat().lineHeight(), 115.0);
}

TEST(RtfWriter, OddInputsWriteStably) {
    // Inputs the fuzzer found where a second write once differed from the first.
    for (const QByteArray& body : {
             QByteArray("\\trowd\\cellx99999999\\cellx999999999\\pard\\intbl a\\cell b\\cell\\row"),
             QByteArray("{\\field{\\*\\fldinst HYPERLINK \"a\"b\"c\"}{\\fldrslt q}}"),
             QByteArray("{\\fonttbl{\\f0 A\\u729?b\tc;}}x"),
             QByteArray("x{\\object\\objemb\\objw300\\objh300{\\*\\objdata 01}\\par}y"),
             // Control characters, by byte, by number and in a symbol font.
             QByteArray("{\\fonttbl{\\f1\\fcharset2 Symbol;}}a\\'01b\\u2?c{\\f1 \\'05}d"),
             // Two fonts of the default font's name: alike in the file, apart in the document.
             QByteArray("{\\fonttbl{\\f0 Arial;}{\\f1 Arial;}}{\\b a}{\\f1\\b b}{\\b c}"),
             // A tab in a link's target, written as \\tab.
             QByteArray("{\\field{\\*\\fldinst HYPERLINK \"a\tb\\emdash c\"}{\\fldrslt q}}"),
             // A merged cell that ends with an empty paragraph takes the covered cell's format.
             QByteArray(
                 "\\trowd\\clmgf\\cellx1000\\clmrg\\cellx2000\\pard\\intbl\\tx500 a\\par\\cell"
                 "\\cell\\row"),
             QByteArray(
                 "\\trowd\\clvmgf\\cellx1000\\cellx2000\\pard\\intbl a\\cell\\sb60\\cell\\row"
                 "\\trowd\\clvmrg\\cellx1000\\cellx2000\\pard\\intbl\\cell b\\cell\\row"),
             // A field's result word inside an object, the field outside it.
             QByteArray("{\\field{\\*\\fldinst{HYPERLINK x}}{\\object\\result{t}\\fldrslt{e}}}"),
             // A lone half of a surrogate pair in a footnote.
             QByteArray("a{\\footnote b\\u-10179?c\\u-8704?d}e"),
             // Hidden text holds no object, shown or written.
             QByteArray(
                 "a{\\v{\\object\\objemb{\\*\\objdata 01}{\\result{\\pict\\pngblip 89zz}}}}b"),
         }) {
        QTextDocument first;
        const RtfReadReport firstReport = read(rtf(body), first);
        const QByteArray once = writeRtf(first);
        QTextDocument second;
        // What the writer wrote reads back with no problem the first file did not have.
        for (const QString& p : read(once, second).problems)
            EXPECT_TRUE(firstReport.problems.contains(p))
                << body.toStdString() << ": " << p.toStdString();
        EXPECT_EQ(writeRtf(second), once) << body.toStdString();
        EXPECT_EQ(plainText(second), plainText(first)) << body.toStdString();
    }
}

TEST(RtfObjects, AnObjectIsWrittenOnceWhateverItsResultHolds) {
    // An object whose shown result runs over paragraphs (or holds what belongs to the whole
    // document) cannot be kept byte for byte where it stood: its bytes were written again at
    // every paragraph of the result, and every save multiplied them. Such an object keeps what
    // it shows, and the message says its data was left out.
    const QString root = qEnvironmentVariable("VASORA_SOURCE_DIR");
    QFile found(root + "/tests/documents/fuzz/regressions/rtf-nested-object-grows.rtf");
    ASSERT_TRUE(found.open(QIODevice::ReadOnly));
    const QByteArray grown = found.readAll();
    for (const QByteArray& source :
         {rtf("x{\\object\\objemb{\\*\\objdata 01}{\\result first\\par second}}y\\par z"),
          rtf("{\\object\\objemb{\\*\\objdata 01}{\\result {\\colortbl;\\red1\\green2\\blue3;}"
              "shown}}{\\cf1 after}"),
          rtf("\\trowd\\cellx1000\\cellx2000\\pard\\intbl a{\\object\\objemb{\\result b\\cell c}}"
              "\\cell\\row"),
          // The object word not at the start of its group: the text before it is no object.
          rtf("{lead text \\object\\objemb{\\*\\objdata 01}{\\result x}} tail"), grown}) {
        QTextDocument first;
        const RtfReadReport firstReport = read(source, first);
        const QByteArray once = writeRtf(first);
        QTextDocument second;
        const RtfReadReport secondReport = read(once, second);
        for (const QString& p : secondReport.problems)
            EXPECT_TRUE(firstReport.problems.contains(p)) << p.toStdString();
        EXPECT_EQ(writeRtf(second), once);
        EXPECT_LE(once.count("\\object"), 1);
        EXPECT_LT(once.size(), 2 * source.size() + 1024);  // the writer's header, then no growth
        EXPECT_EQ(plainText(second), plainText(first));
    }
    // The object of the file found by fuzzing held its result over tables and paragraphs.
    QTextDocument doc;
    EXPECT_TRUE(read(grown, doc).problems.join(" ").contains("embedded object"));
    // An object shown in one place keeps its bytes.
    const QByteArray plain = "{\\object\\objemb{\\*\\objdata 01}{\\result {\\b shown}}}";
    read(rtf("a " + plain + " b\\par c"), doc);
    EXPECT_EQ(writeRtf(doc).count(plain), 1);
}
