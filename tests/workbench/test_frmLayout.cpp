// The layout sheet: opened from both menus, filled on activation, coloured by the engine's view
// with the model window, Return, and printing through the print seam to a PDF file.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>

#include "core/NumberFormat.h"
#include "model/Palette.h"
#include "tests/support/GuiFixture.h"
#include "workbench/LayoutSheet.h"
#include "workbench/frmLayout.h"

using namespace vasora;
using model::state;

namespace {

QColor back(QWidget* w) {
    return w->palette().color(QPalette::Window);
}
QColor fore(QWidget* w) {
    return w->palette().color(QPalette::WindowText);
}

void activate(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    QApplication::processEvents();
}

}  // namespace

class LayoutSheet : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        start();
        sheet = qobject_cast<workbench::frmLayout*>(forms::existing(forms::frmLayout));
        ASSERT_NE(sheet, nullptr) << "the main menu's load creates the sheet";
    }
    QLabel* label(const char* name) { return child<QLabel>(forms::frmLayout, name); }
    QString text(const char* name) {
        QLabel* l = label(name);
        return l ? l->text() : QStringLiteral("<missing %1>").arg(QString::fromLatin1(name));
    }

    workbench::frmLayout* sheet = nullptr;
};

TEST_F(LayoutSheet, OpensFromBothMenusAndFillsOnActivation) {
    auto* mainLayout = child<QPushButton>(forms::frmMain, "cmdLayout");
    ASSERT_NE(mainLayout, nullptr);
    EXPECT_TRUE(mainLayout->isEnabled());
    EXPECT_TRUE(text("lblTime").isEmpty()) << "filled only when first shown";
    EXPECT_EQ(child<QLineEdit>(forms::frmLayout, "txtCurrentF")->text(), "Original Parameter Set");

    click(forms::frmMain, "cmdLayout");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_FALSE(visible(forms::frmCVModel));
    EXPECT_FALSE(visible(forms::frmPlotData));
    EXPECT_TRUE(visible(forms::frmMain));
    activate(sheet);
    EXPECT_EQ(text("lblTime"), "0.000");
    EXPECT_EQ(text("lblFlowSysA"), " 5500.");
    EXPECT_EQ(text("lblPressSysA"), " 93.7");
    EXPECT_EQ(text("lblCompSysA"), " 2.00");
    EXPECT_EQ(text("lblResisSysA"), "0.01582");
    EXPECT_EQ(text("lblVunstrsSysV"), " 2905.1");
    EXPECT_EQ(text("lblVtotalSysA"), QString::fromStdString(formatNumber(
                                         state().Vstrs[1] + state().Vunstrs[1], " ###0.0")));
    // Filling the sheet only reads the model state.
    EXPECT_EQ(text("lblResisRghtV"), "zero");
    EXPECT_EQ(text("lblResisLeftV"), "zero");
    EXPECT_EQ(text("lblHR_RV"), "72.0");
    EXPECT_EQ(text("lblK2_RV"), "1.000");
    EXPECT_EQ(text("lblVo_RV"), "3.0");
    EXPECT_EQ(text("lblPla"),
              QString::fromStdString(formatNumber(
                  state().Press[5] - state().Flow[5] * state().Resis[5], "  ####0.00")));
    EXPECT_EQ(text("lblVtotStrs"),
              QString::fromStdString(formatNumber(state().VstrsTotal, "####0.0")));
    EXPECT_EQ(text("lblPit"), " -4.0");
    EXPECT_EQ(text("lblCompPericard"), "2.0");
    EXPECT_EQ(text("lblSystP"), "119");

    // A run elsewhere shows when the sheet next becomes the active window.
    model::RunModel();
    EXPECT_EQ(text("lblTime"), "0.000");
    QWidget* menu = forms::existing(forms::frmMain);
    QApplication::setActiveWindow(menu);
    QApplication::processEvents();
    EXPECT_EQ(text("lblTime"), "0.000");
    activate(sheet);
    EXPECT_EQ(text("lblTime"), "0.100");
    screenshot(sheet, "frmLayout");

    // From the model window: the sheet shows, the model window and the strip chart hide.
    sheet->hide();
    click(forms::frmMain, "cmdCVModel");
    auto* cvLayout = child<QPushButton>(forms::frmCVModel, "cmdLayout");
    ASSERT_TRUE(cvLayout->isEnabled());
    click(forms::frmCVModel, "cmdLayout");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_FALSE(visible(forms::frmCVModel));
    EXPECT_FALSE(visible(forms::frmPlotData));
}

TEST_F(LayoutSheet, LegendAndDesignColoursTellTheClassesApart) {
    EXPECT_EQ(back(label("Label56")), QColor(255, 192, 128));
    EXPECT_EQ(back(label("Label51")), QColor(255, 255, 0));
    EXPECT_EQ(back(label("Label55")), QColor(192, 255, 255));
    EXPECT_EQ(back(label("Label53")), QColor(192, 255, 192));
    EXPECT_EQ(label("Label51")->text(), "      Parameter");
    EXPECT_EQ(back(label("lblResisSysV")), QColor(255, 255, 0));
    EXPECT_EQ(back(label("lblEjectF_LV")), QColor(255, 192, 128));
    EXPECT_EQ(back(label("lblVunstrsPulmA")), QColor(192, 255, 192));
    EXPECT_EQ(back(label("lblVunstrsSysV")), back(label("Label27")));
    EXPECT_EQ(back(label("lblK2_RV")), QColor(Qt::white));
    EXPECT_EQ(back(label("lblVo_RV")), QColor(192, 255, 192));
    EXPECT_EQ(back(label("lblVo_LV")), QColor(255, 255, 0));
    EXPECT_NE(child<QWidget>(forms::frmLayout, "ImgLayout"), nullptr);
}

TEST_F(LayoutSheet, AChangedParameterIsMarkedOnBothWindowsAndSurvivesRefills) {
    click(forms::frmMain, "cmdCVModel");
    for (model::Window w : {model::Window::CVModel, model::Window::Layout})
        model::view().setBackColor(w, "lblResisSysA", model::kColorChanged);
    state().Resis[1] = 0.02;
    model::RunModel();
    model::DisplayValues();
    const QColor changed(200, 255, 255);
    EXPECT_EQ(back(child<QLabel>(forms::frmCVModel, "lblResisSysA")), changed);
    EXPECT_EQ(back(label("lblResisSysA")), changed);
    activate(sheet);
    EXPECT_EQ(text("lblResisSysA"), "0.02000");
    EXPECT_EQ(back(label("lblResisSysA")), changed);
    EXPECT_EQ(back(label("lblResisSysV")), QColor(255, 255, 0));
    // A new normal gives every parameter label its yellow again, on both windows.
    model::StoreNormals();
    EXPECT_EQ(back(label("lblResisSysA")), QColor(255, 255, 0));
    EXPECT_EQ(back(child<QLabel>(forms::frmCVModel, "lblResisSysA")), QColor(255, 255, 0));
}

TEST_F(LayoutSheet, AStiffVentricleShowsItsEffectiveComplianceInRed) {
    state().Vstrs[3] = 175;
    sheet->fill();
    EXPECT_EQ(text("lblCompRghtV"), " 21.00");
    EXPECT_EQ(fore(label("lblCompRghtV")), QColor(Qt::black));
    state().Vstrs[3] = 175.1;
    state().Press[3] = 10;
    sheet->fill();
    EXPECT_EQ(text("lblCompRghtV"),
              QString::fromStdString(formatNumber(175.1 / (10 - state().Pit), " ###0.00")));
    EXPECT_EQ(fore(label("lblCompRghtV")), QColor(255, 0, 0));
    EXPECT_EQ(fore(label("lblCompLeftV")), QColor(Qt::black));
}

TEST_F(LayoutSheet, ReturnAndTheWindowFrameLandOnTheModelWindow) {
    click(forms::frmMain, "cmdLayout");
    click(forms::frmLayout, "cmdReturn");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(visible(forms::frmMain));
    EXPECT_TRUE(visible(forms::frmCVModel));
    EXPECT_TRUE(visible(forms::frmPlotData));

    click(forms::frmCVModel, "cmdLayout");
    ASSERT_FALSE(visible(forms::frmCVModel));
    sheet->close();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(visible(forms::frmCVModel));
    EXPECT_TRUE(visible(forms::frmPlotData));
}

TEST_F(LayoutSheet, PrintsTheSheetAsTextToAPdfFileOrNotAtAllOnCancel) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    activate(sheet);
    click(forms::frmLayout, "cmdPrint");  // no file queued: the dialog is cancelled
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].kind, "print");
    EXPECT_TRUE(seam.messages().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    const QString pdf = dir.filePath(QStringLiteral("layout.pdf"));
    seam.printFiles.push_back(pdf);
    click(forms::frmLayout, "cmdPrint");
    EXPECT_TRUE(seam.messages().isEmpty());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 5000);
    // Real text: the page uses fonts with a text mapping, and holds no picture of the window.
    EXPECT_TRUE(bytes.contains("/Font"));
    EXPECT_TRUE(bytes.contains("/ToUnicode"));
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
}

TEST_F(LayoutSheet, ThePrintedSheetFitsThePageAndKeepsItsShape) {
    activate(sheet);
    model::view().setBackColor(model::Window::Layout, "lblPit", model::kColorChanged);
    // A portrait page at print resolution: the sheet is scaled down to its width and centred.
    QImage page(2480, 3508, QImage::Format_RGB32);
    page.fill(Qt::gray);
    QPainter p(&page);
    const QRectF placed = workbench::paintLayoutSheet(p, *sheet, QRectF(page.rect()));
    p.end();
    if (const QString d = qEnvironmentVariable("VASORA_SCREENSHOTS"); !d.isEmpty())
        page.save(QDir(d).filePath(QStringLiteral("frmLayout-page.png")));
    EXPECT_NEAR(placed.width(), 2480, 0.5);
    EXPECT_NEAR(placed.height() / placed.width(),
                double(workbench::kLayoutSheetSize.height()) / workbench::kLayoutSheetSize.width(),
                1e-6);
    EXPECT_TRUE(QRectF(page.rect()).contains(placed));
    EXPECT_EQ(page.pixelColor(5, 5), QColor(Qt::gray));  // outside the sheet: untouched
    const double scale = placed.width() / workbench::kLayoutSheetSize.width();
    auto at = [&](QWidget* w) {
        const QPointF c = QPointF(w->geometry().topLeft()) + QPointF(3, 3);
        return page.pixelColor((placed.topLeft() + c * scale).toPoint());
    };
    EXPECT_EQ(at(label("lblPit")), QColor(200, 255, 255));
    EXPECT_EQ(at(label("lblEjectF_RV")), QColor(255, 192, 128));
    EXPECT_EQ(at(label("lblCompSysV")), QColor(255, 255, 0));
}

TEST_F(LayoutSheet, ScaledToASmallScreenItStillPrintsAtItsDesignSize) {
    activate(sheet);
    // 1920 x 1080 at 200 % leaves a screen of 960 x 540 pixels.
    sheet->setDisplayScale(0.7);
    EXPECT_EQ(sheet->width(), int(std::lround(1100 * 0.7)));
    const QRect pitOnScreen = label("lblPit")->geometry();
    for (QLabel* l : sheet->findChildren<QLabel*>()) {
        if (l->isHidden() || l->text().isEmpty()) continue;
        EXPECT_TRUE(sheet->rect().contains(l->geometry())) << l->text().toStdString();
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("scaled.pdf"));
    seam.printFiles.push_back(pdf);
    click(forms::frmLayout, "cmdPrint");
    EXPECT_TRUE(QFile(pdf).size() > 5000);
    // After printing the sheet is back at its scale on the screen.
    EXPECT_DOUBLE_EQ(sheet->displayScale(), 0.7);
    EXPECT_EQ(label("lblPit")->geometry(), pitOnScreen);
    // And at scale 1 every control stands where its design put it.
    sheet->setDisplayScale(1);
    EXPECT_EQ(sheet->size(), workbench::kLayoutSheetSize);
}
