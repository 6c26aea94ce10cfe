// The shipped documents: each is what its source compiles to, byte for byte, and the checker
// finds nothing wrong in any of them.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTextDocument>

#include "documents/DocCheck.h"
#include "documents/DocSource.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"

using namespace vasora::documents;

namespace {

QString content() {
    return qEnvironmentVariable("VASORA_SOURCE_DIR") + QStringLiteral("/content/");
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every document that has a source: a .vtx file or a folder of them under content/src.
QStringList documentsWithSources() {
    QStringList names;
    const QDir src(content() + QStringLiteral("src"));
    for (const QFileInfo& f : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        if (f.isDir() || f.suffix() == QLatin1String("vtx")) names << f.completeBaseName();
    return names;
}

}  // namespace

TEST(ShippedDocuments, EachIsWhatItsSourceCompilesTo) {
    const QStringList names = documentsWithSources();
    ASSERT_GE(names.size(), 3) << "FinalNT, FileHelp and OptionsHelp at least";
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QString path = content() + QStringLiteral("src/") + name;
        if (!QFileInfo(path).isDir()) path += QStringLiteral(".vtx");
        SourceResult r;
        const QList<SourceFile> files = readSourcePath(path, r);
        QTextDocument doc;
        const SourceResult compiled = compileSource(files, doc);
        for (const SourceProblem& p : compiled.problems)
            ADD_FAILURE() << p.toString().toStdString();
        const QByteArray shipped = bytesOf(content() + name + QStringLiteral(".rtf"));
        ASSERT_FALSE(shipped.isEmpty());
        EXPECT_TRUE(writeRtf(doc) == shipped)
            << "compile it again: vasora-rtf compile content/src/" << name.toStdString()
            << " content/" << name.toStdString() << ".rtf";
    }
}

TEST(ShippedDocuments, TheCheckerFindsNothingInAnyOfThem) {
    QTextDocument info;
    ASSERT_TRUE(readRtf(bytesOf(content() + QStringLiteral("FinalNT.rtf")), info).clean());
    const QStringList rtfs = QDir(content()).entryList({QStringLiteral("*.rtf")}, QDir::Files);
    ASSERT_GE(rtfs.size(), 3);
    for (const QString& name : rtfs) {
        SCOPED_TRACE(name.toStdString());
        QTextDocument doc;
        const RtfReadReport r = readRtf(bytesOf(content() + name), doc);
        EXPECT_TRUE(r.clean()) << r.problems.join("; ").toStdString();
        const bool isInfo = name.compare(QLatin1String("FinalNT.rtf"), Qt::CaseInsensitive) == 0;
        const QStringList problems = checkDocument({&doc, content(), isInfo ? nullptr : &info});
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    }
}

TEST(ShippedDocuments, TheInformationFileIsARealTeachingText) {
    QTextDocument info;
    ASSERT_TRUE(readRtf(bytesOf(content() + QStringLiteral("FinalNT.rtf")), info).clean());
    const QString text = info.toPlainText();
    // At least thirty sections, and every figure of the figure window's table shown somewhere.
    EXPECT_GE(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), 15000);
    const QByteArray rtf = bytesOf(content() + QStringLiteral("FinalNT.rtf"));
    for (int fig : {602, 610, 611, 615, 616, 621, 642, 644, 645, 646, 649, 651, 652, 699})
        EXPECT_TRUE(rtf.contains(QByteArray("vt53") + QByteArray::number(fig))) << fig;
    EXPECT_TRUE(text.contains(QStringLiteral(">>INDEX")));
}
