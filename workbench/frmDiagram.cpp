#include "workbench/frmDiagram.h"

#include <QBoxLayout>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionFocusRect>

#include "core/AtomicFile.h"
#include "model/Derived.h"
#include "model/ModelState.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"

namespace vasora::workbench {

namespace {

// At most about 30 repaints a second while AutoRun settles the circulation.
constexpr int kRepaintMs = 33;

using PaintFn = void (*)(QPainter&, const QRectF&, const diagram::Scene&);

// One panel: white, painted by the diagram painter from the window's scene.
class DiagramPanel final : public QWidget {
  public:
    DiagramPanel(frmDiagram* owner, PaintFn paint)
        : QWidget(owner), m_owner(owner), m_paint(paint) {
        setMinimumSize(300, 220);
        setFocusPolicy(Qt::TabFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        m_paint(p, QRectF(rect()).adjusted(2, 2, -2, -2), m_owner->scene());
        if (hasFocus()) {
            QStyleOptionFocusRect o;
            o.initFrom(this);
            o.rect = rect().adjusted(1, 1, -1, -1);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &o, &p, this);
        }
    }

  private:
    frmDiagram* m_owner;
    PaintFn m_paint;
};

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QString& tip) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setAccessibleDescription(tip);
    b->setAutoDefault(true);
    return b;
}

}  // namespace

frmDiagram::frmDiagram(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmDiagram"));
    setWindowTitle(QStringLiteral("Guyton Diagram"));
    setAccessibleName(windowTitle());

    m_panels = new QWidget(this);
    m_panels->setObjectName(QStringLiteral("fraPanels"));
    m_panelLayout = new QBoxLayout(QBoxLayout::TopToBottom, m_panels);
    m_panelLayout->setContentsMargins(0, 0, 0, 0);
    m_panelLayout->setSpacing(4);
    m_guyton = new DiagramPanel(this, &diagram::paintGuyton);
    m_guyton->setObjectName(QStringLiteral("picGuyton"));
    m_guyton->setAccessibleName(QStringLiteral("Guyton's diagram"));
    m_loops = new DiagramPanel(this, &diagram::paintLoops);
    m_loops->setObjectName(QStringLiteral("picLoops"));
    m_loops->setAccessibleName(QStringLiteral("Pressure-volume loops"));
    m_guyton->setParent(m_panels);
    m_loops->setParent(m_panels);
    m_panelLayout->addWidget(m_guyton, 1);
    m_panelLayout->addWidget(m_loops, 1);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblLoopCorners"));
    m_summary->setWordWrap(true);
    m_summary->setText(QStringLiteral(
        "Only the loop's corners come from the model: the end of filling, the valves opening at "
        "the arterial pressures and the end of systole on the end-systolic line. A mean-flow "
        "model has no pressure wave within a beat; a measured loop adds the real shape of "
        "ejection and relaxation."));

    auto* picture = button(this, "cmdSavePicture", QStringLiteral("Save Picture\u2026"),
                           QStringLiteral("Save the two panels as a PNG picture"));
    auto* data = button(this, "cmdSaveData", QStringLiteral("Save Data\u2026"),
                        QStringLiteral("Save the curves and the loops as a CSV table"));
    auto* close = button(this, "cmdClose", QStringLiteral("Close"),
                         QStringLiteral("Hide the diagram window"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(picture);
    buttons->addWidget(data);
    buttons->addWidget(close);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(4, 4, 4, 4);
    v->setSpacing(4);
    v->addWidget(m_panels, 1);
    v->addWidget(m_summary);
    v->addLayout(buttons);

    setTabOrder(m_guyton, m_loops);
    setTabOrder(m_loops, picture);
    setTabOrder(picture, data);
    setTabOrder(data, close);
    connect(picture, &QPushButton::clicked, this, [this] { savePicture(); });
    connect(data, &QPushButton::clicked, this, [this] { saveData(); });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, this, [this] { repaintNow(); });
    // Where it opens is decided with the other workbench windows (WindowPlacement).
    resize(640, 760);
}

const model::DiagramData& frmDiagram::data() const {
    if (m_stale) {
        m_data = model::diagramData(model::state());
        m_stale = false;
    }
    return m_data;
}

diagram::Scene frmDiagram::scene() const {
    if (!m_computed) return {};
    const auto& before = m_history.before();
    return {&data(), before ? &*before : nullptr, &m_history.trail()};
}

void frmDiagram::modelDisplayed() {
    if (!isVisible()) return;
    recompute();
    scheduleRepaint();
}

void frmDiagram::recompute() {
    const model::ModelState& s = model::state();
    m_computed = true;
    m_stale = true;
    if (model::flowsAgree(s)) {
        // An equilibrium: its curves become the pale set of the next change.
        m_agreed = s;
        m_history.clock(s.ModelTime);
    } else {
        // On the way (AutoRun's repetitions): only the operating point now, the curves when
        // the panels are drawn, at most about 30 times a second.
        if (m_agreed) {
            m_history.displayed(model::diagramData(*m_agreed), true, m_agreed->ModelTime);
            m_agreed.reset();
        }
        m_history.moved({model::rightAtrialPressure(s), s.Flow[model::LeftV]}, s.ModelTime);
    }
}

void frmDiagram::scheduleRepaint() {
    // Always by the timer: a run's display goes on at once, the drawing when the event loop
    // (or AutoRun's pause between repetitions) comes round. An equilibrium is drawn at the
    // next turn of the loop. On the way to one, a frame comes at most every kRepaintMs, the
    // first one too: an AutoRun that settles sooner is drawn once, when it has settled, with
    // the dots of all its runs.
    if (model::flowsAgree(model::state())) {
        m_repaintTimer.start(0);
        return;
    }
    if (!m_repaintTimer.isActive()) m_repaintTimer.start(kRepaintMs);
}

void frmDiagram::repaintNow() {
    ++m_repaints;
    const model::DiagramData& d = data();
    const model::GuytonDiagram& g = d.guyton;
    m_guyton->setAccessibleDescription(
        g.crossing.found
            ? QStringLiteral("Venous return and cardiac function cross at %1 ml/min and a right "
                             "atrial pressure of %2 mmHg; Pmsf %3 mmHg.")
                  .arg(g.crossing.flow, 0, 'f', 0)
                  .arg(g.crossing.pra, 0, 'f', 1)
                  .arg(g.pmsf, 0, 'f', 1)
            : QStringLiteral("The curves do not cross; Pmsf %1 mmHg.").arg(g.pmsf, 0, 'f', 1));
    m_loops->setAccessibleDescription(QStringLiteral("Left ventricle: %1. Right ventricle: %2.")
                                          .arg(diagram::strokeWorkText(m_data.left.strokeWork),
                                               diagram::strokeWorkText(m_data.right.strokeWork)));
    m_guyton->update();
    m_loops->update();
}

void frmDiagram::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    recompute();
    repaintNow();
}

void frmDiagram::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // Side by side in a wide window, one above the other in a tall one.
    m_panelLayout->setDirection(width() > 1.3 * height() ? QBoxLayout::LeftToRight
                                                         : QBoxLayout::TopToBottom);
}

QImage frmDiagram::picture() {
    return m_panels->grab().toImage();
}

QString frmDiagram::chooseFile(const QString& title, const QString& filter,
                               const QString& extension) {
    const QString project = appState().ProjectPath;
    const QString folder = project.isEmpty() ? QString() : learnerFolder(project, kLabBookFolder);
    QString path = ui::seam().saveFile(this, title, folder, filter, ui::Replace::CallerAsks);
    if (path.isEmpty()) return {};
    if (!path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
    return ui::mayReplace(path, QStringLiteral("A file named"), this) ? path : QString();
}

void frmDiagram::writeFile(const QString& path, const QByteArray& bytes) {
    // The whole file or nothing: a failed save leaves an earlier file of that name intact.
    const std::string why = writeFileAtomically(QFile::encodeName(path).toStdString(),
                                                std::string_view(bytes.constData(), bytes.size()));
    if (why.empty()) return;
    ui::messageBox(QStringLiteral("The file %1 could not be saved: %2")
                       .arg(QDir::toNativeSeparators(path), QString::fromStdString(why)),
                   {}, this);
}

void frmDiagram::saveData() {
    const QString path = chooseFile(QStringLiteral("Save the data of Guyton's diagram"),
                                    QStringLiteral("CSV table (*.csv)"), QStringLiteral(".csv"));
    if (path.isEmpty()) return;
    // The state the model window shows now, whether or not the window was shown at its display.
    const std::string csv = model::diagramCsv(model::diagramData(model::state()));
    writeFile(path, QByteArray::fromStdString(csv));
}

void frmDiagram::savePicture() {
    const QString path = chooseFile(QStringLiteral("Save the picture of Guyton's diagram"),
                                    QStringLiteral("PNG picture (*.png)"), QStringLiteral(".png"));
    if (path.isEmpty()) return;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture().save(&buffer, "PNG")) {
        ui::messageBox(QStringLiteral("The picture could not be made; nothing was saved."), {},
                       this);
        return;
    }
    writeFile(path, bytes);
}

}  // namespace vasora::workbench
