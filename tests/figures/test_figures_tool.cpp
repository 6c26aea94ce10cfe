// vasora-figures, run in-process, and the images it wrote into the project folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

#include "../support/TempDir.h"
#include "figures/FigureData.h"
#include "figures/Figures.h"
#include "tools/figures/FiguresTool.h"

namespace vasora::figures {
namespace {

struct ToolRun {
    int status;
    QString out, err;
};

ToolRun run(const QStringList& args) {
    ToolRun r;
    QTextStream out(&r.out), err(&r.err);
    r.status = runFiguresTool(args, out, err);
    out.flush();
    err.flush();
    return r;
}

TEST(FiguresTool, DataPrintsTheFiguresTableAsCsv) {
    const ToolRun r = run({"--data", "645"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), toCsv(*figureData(645)));
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("heart_rate_set_per_min,edv_ml,"));
}

TEST(FiguresTool, RefusesWhatItCannotDo) {
    ToolRun r = run({"--data", "602"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains("diagram"));
    EXPECT_EQ(run({"--data", "603"}).status, 2);
    EXPECT_EQ(run({"--data", "six"}).status, 1);
    r = run({});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("usage:"));
    EXPECT_EQ(run({"--bogus"}).status, 1);
    EXPECT_EQ(run({"a", "b"}).status, 1);
}

TEST(FiguresTool, ListsEveryFigureWithItsSize) {
    const ToolRun r = run({"--list"});
    EXPECT_EQ(r.status, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(figureList().size()));
    EXPECT_TRUE(lines[0].startsWith("Img602.jpg\t680x532\tdiagram\t"));
}

TEST(FiguresTool, WritesEveryFigureAsAJpegOfTwiceItsSize) {
    testing::TempDir tmp;
    const QString dir = QString::fromStdString(tmp.path()) + "/made/on/demand";
    const ToolRun r = run({dir});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const FigureInfo& f : figureList()) {
        QImageReader reader(QDir(dir).filePath(figureFileName(f.number)));
        EXPECT_EQ(reader.format(), "jpeg") << f.number;
        const QImage img = reader.read();
        EXPECT_EQ(img.size(), f.size * 2) << f.number;
    }
}

TEST(FiguresTool, AFolderThatCannotBeMadeIsAFailure) {
    testing::TempDir tmp;
    const QString file = QString::fromStdString(tmp.path()) + "/a-file";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const ToolRun r = run({file + "/sub"});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(r.err.isEmpty());
}

// The program shows the committed images; each figure the documents use must be there and be
// a picture of the right size. (The bytes are not compared: fonts differ between machines.)
TEST(ShippedFigures, EveryFigureIsInTheProjectFolderAndDecodes) {
    const QString content = qEnvironmentVariable("VASORA_SOURCE_DIR") + "/content";
    ASSERT_TRUE(QDir(content).exists()) << content.toStdString();
    for (const FigureInfo& f : figureList()) {
        const QString path = QDir(content).filePath(figureFileName(f.number));
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), "jpeg") << path.toStdString();
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull())
            << path.toStdString() << ": " << reader.errorString().toStdString();
        EXPECT_EQ(img.size(), f.size * 2) << path.toStdString() << " is out of date";
    }
}

}  // namespace
}  // namespace vasora::figures
