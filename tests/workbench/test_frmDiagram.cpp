// Guyton's diagram window driven as a learner drives it: opened by the model window's button and
// by a figure tag, redrawn at every display while shown, keeping the curves of before a change
// pale with the transient's dots, saving its data and its picture.

#include <QAccessible>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "documents/frmImage.h"
#include "documents/frmInfo.h"
#include "model/Derived.h"
#include "shell/LiveFigures.h"
#include "tests/support/GuiFixture.h"
#include "workbench/DiagramHistory.h"
#include "workbench/DiagramPainter.h"
#include "workbench/ParameterChanges.h"
#include "workbench/frmDiagram.h"

using namespace vasora;
using model::state;
using workbench::frmDiagram;

namespace {

class DiagramWindow : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        click(forms::frmMain, "cmdCVModel");
        ASSERT_TRUE(visible(forms::frmCVModel));
    }
    frmDiagram* open() {
        click(forms::frmCVModel, "cmdDiagram");
        QApplication::processEvents();
        return forms::existing<frmDiagram>(forms::frmDiagram);
    }
    void tickAutoRun() {
        auto* box = child<QCheckBox>(forms::frmCVModel, "chkAutoRun");
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }
    // A hemorrhage of 1000 ml through the change logic, then AutoRun to the new equilibrium.
    void bleedAndSettle() {
        ASSERT_EQ(workbench::changeBloodVolume(-1000).status, workbench::ChangeResult::Applied);
        tickAutoRun();
        ASSERT_TRUE(model::flowsAgree(state()));
        QApplication::processEvents();
    }
    static int pixelsOf(const QImage& image, QColor c) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == c) ++n;
        return n;
    }
};

}  // namespace

TEST_F(DiagramWindow, TheModelWindowsButtonOpensOneWindowThatShowsTheStateShown) {
    EXPECT_FALSE(forms::exists(forms::frmDiagram));
    frmDiagram* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->objectName(), "frmDiagram");
    EXPECT_EQ(w->windowTitle(), "Guyton Diagram");
    // The curves cross where the model window's cardiac output and right atrial pressure are.
    const model::GuytonDiagram& g = w->data().guyton;
    ASSERT_TRUE(g.crossing.found);
    EXPECT_NEAR(g.crossing.flow, caption("lblFlowLeftV").toDouble(), 0.01 * 5500);
    EXPECT_NEAR(g.crossing.pra, caption("lblPra").toDouble(), 0.2);
    EXPECT_GT(g.pmsf, g.crossing.pra);
    // Hidden and opened again: the same window, not a second one.
    w->hide();
    EXPECT_EQ(open(), w);
    EXPECT_TRUE(w->isVisible());
    screenshot(w, "frmDiagram");
}

TEST_F(DiagramWindow, AtTheSmallScreenItCoversNoValueOfTheModelWindow) {
    frmDiagram* w = open();
    QWidget* cv = forms::existing(forms::frmCVModel);
    EXPECT_FALSE(w->frameGeometry().intersects(cv->frameGeometry()))
        << w->frameGeometry().x() << "," << w->frameGeometry().y() << " " << w->width() << "x"
        << w->height() << " model " << cv->frameGeometry().right() << " "
        << cv->frameGeometry().bottom();
    EXPECT_TRUE(kSmallScreen.contains(w->frameGeometry()));
    EXPECT_GE(w->width(), 300);
}

TEST_F(DiagramWindow, AfterAHemorrhageTheCurvesBeforeStayPaleAndTheTransientLeavesDots) {
    frmDiagram* w = open();
    const model::Crossing was = w->data().guyton.crossing;
    const int repaints = w->repaintsAsked();
    bleedAndSettle();
    const workbench::DiagramHistory& h = w->history();
    ASSERT_TRUE(h.before().has_value());
    EXPECT_NEAR(h.before()->guyton.crossing.flow, was.flow, 1e-6);
    EXPECT_GE(h.trail().size(), 5u);
    // The new crossing: less flow at a lower right atrial pressure, as the model window shows.
    const model::Crossing now = w->data().guyton.crossing;
    EXPECT_LT(now.flow, 0.9 * was.flow);
    EXPECT_LT(now.pra, was.pra);
    EXPECT_NEAR(now.flow, caption("lblFlowLeftV").toDouble(), 0.01 * now.flow);
    EXPECT_LT(w->data().guyton.pmsf, h.before()->guyton.pmsf);
    // The trail runs from near the old operating point towards the new one.
    EXPECT_LT(std::fabs(h.trail().back().y - now.flow), std::fabs(h.trail().front().y - now.flow));
    // Drawn within the repaint interval, about a thirtieth of a second.
    QTest::qWait(80);
    EXPECT_GT(w->repaintsAsked(), repaints);
    // The dots are drawn, in their own colour.
    EXPECT_GT(pixelsOf(w->picture(), workbench::diagram::kTrail), 20);
    screenshot(w, "frmDiagram-hemorrhage");

    // The next change: the equilibrium just reached is the pale set, the trail starts again
    // there (AutoRun, still ticked, takes the run on to the next equilibrium).
    ASSERT_EQ(workbench::changeBloodVolume(500).status, workbench::ChangeResult::Applied);
    click(forms::frmCVModel, "cmdRun");
    ASSERT_TRUE(h.before().has_value());
    EXPECT_NEAR(h.before()->guyton.crossing.flow, now.flow, 1e-6);
    ASSERT_FALSE(h.trail().empty());
    EXPECT_NEAR(h.trail().front().y, now.flow, 0.05 * now.flow);
    EXPECT_GT(w->data().guyton.crossing.flow, now.flow);
}

TEST_F(DiagramWindow, RestartForgetsTheCurvesBeforeAndTheDots) {
    frmDiagram* w = open();
    bleedAndSettle();
    ASSERT_TRUE(w->history().before().has_value());
    click(forms::frmCVModel, "cmdRestart");
    EXPECT_FALSE(w->history().before().has_value());
    EXPECT_TRUE(w->history().trail().empty());
    QApplication::processEvents();
    EXPECT_EQ(pixelsOf(w->picture(), workbench::diagram::kTrail), 0);
}

TEST_F(DiagramWindow, AHiddenWindowDoesNotWorkAndCatchesUpWhenShown) {
    frmDiagram* w = open();
    w->hide();
    const double flow = w->data().guyton.operating.y;
    bleedAndSettle();
    EXPECT_DOUBLE_EQ(w->data().guyton.operating.y, flow);
    EXPECT_TRUE(w->history().trail().empty());
    open();
    EXPECT_LT(w->data().guyton.operating.y, 0.9 * flow);
    // The percent display is a display of the model window too.
    const int repaints = w->repaintsAsked();
    click(forms::frmCVModel, "cmdPercent");
    QTest::qWait(60);
    EXPECT_GT(w->repaintsAsked(), repaints);
}

TEST_F(DiagramWindow, SavesItsDataAsTheEnginesCsvAndItsPanelsAsAPicture) {
    frmDiagram* w = open();
    QTemporaryDir dir;
    seam.paths.push_back(dir.filePath("curves"));
    click(forms::frmDiagram, "cmdSaveData");
    QFile csv(dir.filePath("curves.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().toStdString(), model::diagramCsv(model::diagramData(state())));
    EXPECT_TRUE(seam.messages().isEmpty());

    seam.paths.push_back(dir.filePath("curves.png"));
    click(forms::frmDiagram, "cmdSavePicture");
    QImage saved(dir.filePath("curves.png"));
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), w->findChild<QWidget*>("fraPanels")->size() * w->devicePixelRatio());
    // The curves are in the picture.
    EXPECT_GT(pixelsOf(saved, workbench::diagram::kVenousReturn), 50);
    EXPECT_GT(pixelsOf(saved, workbench::diagram::kCardiacFunction), 50);
}

TEST_F(DiagramWindow, ASaveThatCannotBeWrittenIsReportedWithTheReason) {
    open();
    QTemporaryDir dir;
    const QString missing = dir.filePath("no such folder/curves.csv");
    seam.paths.push_back(missing);
    click(forms::frmDiagram, "cmdSaveData");
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].contains("could not be saved"))
        << seam.messages()[0].toStdString();
    EXPECT_TRUE(seam.messages()[0].contains("curves.csv"));
    EXPECT_FALSE(QFile::exists(missing));
    // Cancel saves nothing and says nothing.
    seam.shown.clear();
    click(forms::frmDiagram, "cmdSavePicture");
    EXPECT_TRUE(seam.messages().isEmpty());
}

TEST_F(DiagramWindow, PanelsAndButtonsHaveNamesAndTheKeyboardReachesThemInOrder) {
    frmDiagram* w = open();
    for (const char* name : {"picGuyton", "picLoops"}) {
        QAccessibleInterface* a =
            QAccessible::queryAccessibleInterface(w->findChild<QWidget*>(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << name;
        EXPECT_FALSE(a->text(QAccessible::Description).isEmpty()) << name;
    }
    QAccessibleInterface* g =
        QAccessible::queryAccessibleInterface(w->findChild<QWidget*>("picGuyton"));
    EXPECT_TRUE(g->text(QAccessible::Description).contains("ml/min"));
    for (const char* name : {"cmdSavePicture", "cmdSaveData", "cmdClose"}) {
        auto* b = w->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name).isEmpty());
        EXPECT_FALSE(b->accessibleDescription().isEmpty()) << name;
    }
    std::vector<QString> order;
    QWidget* at = w->findChild<QWidget*>("picGuyton");
    do {
        if (at->focusPolicy() & Qt::TabFocus) order.push_back(at->objectName());
        at = at->nextInFocusChain();
    } while (at != w->findChild<QWidget*>("picGuyton") && order.size() < 20);
    const std::vector<QString> expected = {"picGuyton", "picLoops", "cmdSavePicture", "cmdSaveData",
                                           "cmdClose"};
    EXPECT_EQ(order, expected);
    // The text under the panels says where the loop's shape comes from.
    auto* note = w->findChild<QLabel*>("lblLoopCorners");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->wordWrap());
    EXPECT_TRUE(note->text().contains("corners"));
}

TEST_F(DiagramWindow, FigureTag53900OfTheInformationFileOpensTheDiagram) {
    QTemporaryDir dir;
    QFile f(dir.filePath("live.rtf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(
        "{\\rtf1 Heart and veins\\par See {\\*\\bkmkstart vt53900_1}the live diagram"
        "{\\*\\bkmkend vt53900_1} now.\\par}");
    f.close();
    appState().InfoFile = f.fileName();
    appState().ImagePath = dir.path() + "/";
    auto* info = forms::get<documents::frmInfo>(forms::frmInfo);
    ASSERT_NE(info, nullptr);
    info->show();
    info->resize(800, 500);
    documents::ScrivoControl& text = *info->text();
    const auto tags = documents::allTags(*text.document());
    auto it = std::find_if(tags.begin(), tags.end(),
                           [](const documents::TagSpan& t) { return t.code == 53900; });
    ASSERT_NE(it, tags.end());
    QTextCursor c(text.document());
    c.setPosition(it->start + 1);
    text.setTextCursor(c);
    QApplication::processEvents();
    QTest::mouseClick(text.viewport(), Qt::LeftButton, {}, text.cursorRect(c).center());
    EXPECT_TRUE(visible(forms::frmDiagram));
    EXPECT_TRUE(seam.messages().isEmpty()) << seam.messages().join('\n').toStdString();
    EXPECT_FALSE(forms::exists(forms::frmImage));
}

TEST_F(DiagramWindow, ALiveFigureWithNoWindowSaysSo) {
    // From the lab book's side as well: the number alone decides.
    EXPECT_TRUE(documents::ShowFigure(900, documents::FigureSource::LabBook));
    EXPECT_TRUE(visible(forms::frmDiagram));
    EXPECT_FALSE(documents::ShowFigure(901, documents::FigureSource::LabBook));
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_TRUE(seam.messages()[0].contains("901"));
    EXPECT_FALSE(forms::exists(forms::frmImage));
    shell::resetLiveFigures();
    EXPECT_FALSE(documents::ShowFigure(900, documents::FigureSource::Info));
    EXPECT_EQ(seam.messages().size(), 2);
}

// --- The history and the axes, without a window -----------------------------------------------

namespace {
model::DiagramData at(double flow) {
    model::DiagramData d;
    d.guyton.operating = {flow / 1000, flow};
    d.guyton.crossing = {true, flow / 1000, flow};
    return d;
}
}  // namespace

TEST(DiagramHistory, KeepsTheLastEquilibriumBeforeAChangeAndTheDotsUntilTheNext) {
    workbench::DiagramHistory h;
    h.displayed(at(5500), true, 0);
    h.displayed(at(5400), true, 0.1);  // still at equilibrium: nothing pale yet
    EXPECT_FALSE(h.before());
    h.displayed(at(5000), false, 0.2);
    h.displayed(at(4800), false, 0.3);
    ASSERT_TRUE(h.before());
    EXPECT_EQ(h.before()->guyton.crossing.flow, 5400);
    ASSERT_EQ(h.trail().size(), 2u);
    EXPECT_EQ(h.trail()[1].y, 4800);
    h.displayed(at(4700), true, 0.4);  // settled: the dots stay
    h.displayed(at(4700), true, 0.5);
    EXPECT_EQ(h.trail().size(), 2u);
    EXPECT_EQ(h.before()->guyton.crossing.flow, 5400);
    h.displayed(at(4900), false, 0.6);  // the next change
    EXPECT_EQ(h.before()->guyton.crossing.flow, 4700);
    EXPECT_EQ(h.trail().size(), 1u);
    h.displayed(at(5500), true, 0);  // model time went back: a restart
    EXPECT_FALSE(h.before());
    EXPECT_TRUE(h.trail().empty());
}

TEST(DiagramAxes, StepsAreRoundAndTheRangesHoldTheCurves) {
    EXPECT_DOUBLE_EQ(workbench::diagram::niceStep(10, 5), 2);
    EXPECT_DOUBLE_EQ(workbench::diagram::niceStep(7000, 6), 2000);
    EXPECT_DOUBLE_EQ(workbench::diagram::niceStep(0.9, 4), 0.5);
    const workbench::diagram::Axis a = workbench::diagram::niceAxis(-3.2, 8.7, 6);
    EXPECT_DOUBLE_EQ(a.step, 2);
    EXPECT_DOUBLE_EQ(a.from, -4);
    EXPECT_DOUBLE_EQ(a.to, 10);
    EXPECT_EQ(workbench::diagram::strokeWorkText(97.4), "Stroke work 97 mmHg\u00B7ml (13 mJ)");
}

TEST_F(DiagramWindow, EachPanelDrawsTheNumbersOfItsStateOverWhatItKeepsFromFrameToFrame) {
    frmDiagram* w = open();
    const model::DiagramData now = w->data();
    auto paint = [](void (*panel)(QPainter&, const QRectF&, const workbench::diagram::Scene&),
                    const model::DiagramData& d) {
        QImage image(560, 420, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter p(&image);
        panel(p, QRectF(0, 0, 560, 420), {&d, nullptr, nullptr});
        return image;
    };
    using workbench::diagram::paintGuyton;
    using workbench::diagram::paintLoops;
    // Drawn again from what the panel kept, the same state gives the same picture.
    const QImage guyton = paint(paintGuyton, now);
    EXPECT_EQ(paint(paintGuyton, now), guyton);
    const QImage loops = paint(paintLoops, now);
    EXPECT_EQ(paint(paintLoops, now), loops);
    // The stroke work is written only in the loops' header: another one changes the picture.
    model::DiagramData other = now;
    other.left.strokeWork += 40;
    EXPECT_NE(paint(paintLoops, other), loops);
    // So is the afterload in Guyton's header, above the plot.
    other = now;
    other.guyton.afterload += 10;
    const QImage changed = paint(paintGuyton, other);
    EXPECT_NE(changed.copy(0, 0, 560, 90), guyton.copy(0, 0, 560, 90));
    EXPECT_EQ(changed.copy(0, 200, 560, 220), guyton.copy(0, 200, 560, 220));
}
