// Every figure paints real content at its nominal size, carries its title above its drawing,
// fills whatever rectangle it is given, leaves the painter as it found it, and the list holds
// exactly the figures the documents use.

#include <gtest/gtest.h>

#include <QPainter>
#include <set>

#include "figures/FigureData.h"
#include "figures/FigurePainters.h"
#include "figures/Figures.h"
#include "figures/Style.h"

namespace vasora::figures {
namespace {

// The figures the information text and the lab book show, by their numbers.
const std::set<int> kPlanned = {602, 610, 611, 615, 616, 621, 642, 644, 645,
                                646, 649, 651, 652, 653, 699, 1,   2};

bool isWhite(QRgb c) {
    return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245;
}

double inkShare(const QImage& img, const QRect& r) {
    long ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (!isWhite(img.pixel(x, y))) ++ink;
    return static_cast<double>(ink) / (static_cast<double>(r.width()) * r.height());
}

TEST(FigureList, HoldsExactlyThePlannedFiguresEachOnce) {
    std::set<int> listed;
    for (const FigureInfo& f : figureList()) {
        EXPECT_TRUE(listed.insert(f.number).second) << "listed twice: " << f.number;
        EXPECT_GE(f.size.width(), 400) << f.number;
        EXPECT_GE(f.size.height(), 300) << f.number;
        EXPECT_NE(f.paint, nullptr);
    }
    EXPECT_EQ(listed, kPlanned);
    EXPECT_EQ(findFigure(603), nullptr);
    EXPECT_EQ(findFigure(0), nullptr);
}

TEST(FigureList, FileNamesHaveThreeDigitsAsTheFigureWindowLooksThemUp) {
    EXPECT_EQ(figureFileName(1), "Img001.jpg");
    EXPECT_EQ(figureFileName(2), "Img002.jpg");
    EXPECT_EQ(figureFileName(602), "Img602.jpg");
}

TEST(FigureList, ADataFigureIsOneThatHasATable) {
    for (const FigureInfo& f : figureList())
        EXPECT_EQ(figureData(f.number).has_value(), f.hasData) << f.number;
}

class EveryFigure : public ::testing::TestWithParam<int> {};

TEST_P(EveryFigure, RendersAtTwiceItsSizeWithInkInEveryQuarter) {
    const int n = GetParam();
    const QImage img = renderFigure(n);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), logicalSize(n) * 2);
    const double share = inkShare(img, img.rect());
    EXPECT_GT(share, 0.04) << "next to nothing drawn";
    EXPECT_LT(share, 0.75) << "a figure is mostly white paper";
    // Scaled to fill: no quarter of the picture is empty.
    const int w = img.width() / 2, h = img.height() / 2;
    for (const QRect& q :
         {QRect(0, 0, w, h), QRect(w, 0, w, h), QRect(0, h, w, h), QRect(w, h, w, h)})
        EXPECT_GT(inkShare(img, q), 0.005) << "empty quarter at " << q.x() << "," << q.y();
}

TEST_P(EveryFigure, LooksTheSameAtAnyScale) {
    // Everything is drawn in the figure's own units, so the sharp image, halved, is the plain
    // one up to smoothing and the hinting of text.
    const int n = GetParam();
    const QImage once = renderFigure(n, 1.0).convertToFormat(QImage::Format_Grayscale8);
    const QImage twice = renderFigure(n, 2.0)
                             .scaled(once.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                             .convertToFormat(QImage::Format_Grayscale8);
    ASSERT_EQ(once.size(), twice.size());
    double diff = 0;
    for (int y = 0; y < once.height(); ++y) {
        const uchar* a = once.constScanLine(y);
        const uchar* b = twice.constScanLine(y);
        for (int x = 0; x < once.width(); ++x) diff += std::abs(int(a[x]) - int(b[x]));
    }
    EXPECT_LT(diff / (once.width() * once.height()), 8.0);
}

TEST_P(EveryFigure, FitsAWideTargetCentredAndLeavesThePainterAsItWas) {
    const int n = GetParam();
    const QSize nominal = logicalSize(n);
    QImage img(nominal.width() * 2, nominal.height(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    p.setPen(QPen(Qt::green, 3));
    const QTransform before = p.transform();
    ASSERT_TRUE(paintFigure(n, p, QRectF(img.rect())));
    EXPECT_EQ(p.transform(), before);
    EXPECT_FALSE(p.hasClipping());
    EXPECT_EQ(p.pen().color(), QColor(Qt::green));
    p.end();
    // The whole target is white paper; the picture keeps its proportions in the middle.
    const int side = nominal.width() / 2;
    EXPECT_EQ(inkShare(img, QRect(0, 0, side - 2, img.height())), 0.0);
    EXPECT_EQ(inkShare(img, QRect(img.width() - side + 2, 0, side - 2, img.height())), 0.0);
    EXPECT_GT(inkShare(img, QRect(side, 0, nominal.width(), img.height())), 0.04);
}

TEST_P(EveryFigure, TheTitleSitsAboveTheDrawingAndCoversNoneOfIt) {
    const int n = GetParam();
    const QImage img = renderFigure(n, 1.0);
    ASSERT_EQ(img.size(), drawingSize(n) + QSize(0, kTitleBand));
    // The band holds the title: ink at its left, where the text starts.
    EXPECT_GT(inkShare(img, QRect(0, 0, img.width() / 3, kTitleBand)), 0.03);
    // Below it, the drawing exactly as its painter draws it alone in a picture of its own.
    QImage alone(drawingSize(n), QImage::Format_RGB32);
    alone.fill(Qt::white);
    QPainter p(&alone);
    findFigure(n)->paint(p, QRectF(alone.rect()));
    p.end();
    EXPECT_EQ(img.copy(0, kTitleBand, img.width(), img.height() - kTitleBand), alone);
}

INSTANTIATE_TEST_SUITE_P(Figures, EveryFigure,
                         ::testing::ValuesIn(kPlanned.begin(), kPlanned.end()));

TEST(Figures, AnUnknownNumberOrScalePaintsNothing) {
    EXPECT_TRUE(renderFigure(603).isNull());
    EXPECT_TRUE(renderFigure(602, 0).isNull());
    EXPECT_TRUE(renderFigure(602, -1).isNull());
    EXPECT_TRUE(renderFigure(602, 1000).isNull()) << "a picture of gigabytes is refused";
    QImage img(50, 50, QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    EXPECT_FALSE(paintFigure(603, p, QRectF(img.rect())));
    p.end();
    EXPECT_EQ(img.pixel(25, 25), QColor(Qt::black).rgb());
}

TEST(Figures, TheConceptsWindowPaintsFigure699WithItsTitle) {
    // The window paints through paintFigure into its own rectangle, as the image is made.
    const QImage figure = renderFigure(699, 1.0);
    QImage window(figure.size(), QImage::Format_RGB32);
    QPainter p(&window);
    ASSERT_TRUE(paintFigure(699, p, QRectF(window.rect())));
    p.end();
    EXPECT_EQ(window, figure);
}

// --- The title every picture carries ----------------------------------------------------------

TEST(FigureTitles, EachFigureHasItsOwnTitleThatFitsOnOneLine) {
    std::set<QString> seen;
    for (const FigureInfo& f : figureList()) {
        const QString title = figureTitle(f.number);
        EXPECT_FALSE(title.trimmed().isEmpty()) << f.number;
        EXPECT_TRUE(seen.insert(title).second) << "two figures titled " << title.toStdString();
        EXPECT_FALSE(title.contains('\n')) << f.number;
        // Within the picture's width less its margins, drawn at the title's size.
        EXPECT_LE(style::textBounds(title, style::kTitle, true).width(), f.size.width() - 28)
            << f.number << ": " << title.toStdString();
        // The house spelling of the medical words.
        for (const char* british : {"haem", "oedema", "anaem", "Haem", "Oedema"})
            EXPECT_FALSE(title.contains(QLatin1String(british))) << title.toStdString();
    }
    EXPECT_TRUE(figureTitle(603).isEmpty());
    EXPECT_TRUE(drawingSize(603).isEmpty());
}

}  // namespace
}  // namespace vasora::figures
