#include "workbench/frmPlotData.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

#include "model/ModelState.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "workbench/CVModelActions.h"
#include "workbench/StripChart.h"
#include "workbench/StripChartExport.h"

namespace vasora::workbench {

namespace {
QLabel* legend(QWidget* parent, const char* name, const char* text, QColor colour) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}
}  // namespace

frmPlotData::frmPlotData(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmPlotData"));
    setWindowTitle(QStringLiteral("Data Plot"));
    // The chart is watched, not worked in: shown after every run, it never takes the focus
    // from the window the learner works in.
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* top = new QHBoxLayout;
    top->addWidget(legend(this, "Label1", "--- Blood Pressure ---", QColor(0, 0, 255)));
    top->addWidget(legend(this, "Label2", "--- Cardiac Output ---", QColor(255, 0, 0)));
    top->addWidget(legend(this, "Label3", "--- Venous Return ---", QColor(255, 0, 255)));
    top->addWidget(legend(this, "lblZeroLine", "--- Zero line", QColor(0, 0, 0)));
    top->addStretch();
    auto* dataButton = new QPushButton(QStringLiteral("Save Data..."), this);
    dataButton->setObjectName(QStringLiteral("cmdSaveData"));
    dataButton->setToolTip(QStringLiteral(
        "Save the chart's pressure, cardiac output and venous return as a CSV table"));
    dataButton->setAutoDefault(false);
    top->addWidget(dataButton);
    auto* pictureButton = new QPushButton(QStringLiteral("Save Picture..."), this);
    pictureButton->setObjectName(QStringLiteral("cmdSavePicture"));
    pictureButton->setToolTip(QStringLiteral("Save the chart as a PNG picture"));
    pictureButton->setAutoDefault(false);
    top->addWidget(pictureButton);
    auto* hide = new QPushButton(QStringLiteral(" Hide"), this);
    hide->setObjectName(QStringLiteral("cmdHide"));
    hide->setAutoDefault(false);
    top->addWidget(hide);

    m_chart = new StripChartWidget(this);
    m_chart->setObjectName(QStringLiteral("picPlot"));

    // The time marks sit under the 0, 1 and 2 minute positions of the sweep.
    m_marks = new QWidget(this);
    m_marks->setFixedHeight(fontMetrics().height() + 4);
    m_label4 = new QLabel(QStringLiteral("^-- zero  Time -> "), m_marks);
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_label5 = new QLabel(QStringLiteral("^ 1 minute"), m_marks);
    m_label5->setObjectName(QStringLiteral("Label5"));
    m_label6 = new QLabel(QStringLiteral("^2"), m_marks);
    m_label6->setObjectName(QStringLiteral("Label6"));

    // What the scales mean, beside the legend; the chart is kept as tall as the window allows.
    auto* axis = new QLabel(QStringLiteral("Pale: the 3 minutes before"), this);
    axis->setObjectName(QStringLiteral("lblScale"));
    const QString scaleTip = QStringLiteral(
        "Left scale: blood pressure in mmHg. Right scale: cardiac output and venous return in "
        "L/min. Where venous return equals cardiac output its thin line runs inside the thick "
        "red one. The pale traces are the sweep before this one.");
    axis->setToolTip(scaleTip);
    m_chart->setToolTip(scaleTip);
    top->insertWidget(top->count() - 4, axis);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(6, 4, 6, 2);
    v->setSpacing(2);
    v->addLayout(top);
    v->addWidget(m_chart, 1);
    v->addWidget(m_marks);

    connect(hide, &QPushButton::clicked, this, [] { clickHidePlot(); });
    connect(dataButton, &QPushButton::clicked, this, [this] { saveData(); });
    connect(pictureButton, &QPushButton::clicked, this, [this] { savePicture(); });
    // Where it opens is decided with the other workbench windows (WindowPlacement).
    resize(640, 380);
    indexControls(this);
}

void frmPlotData::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    placeTimeMarks();
}

void frmPlotData::closeEvent(QCloseEvent* e) {
    // Closing by the frame is the learner hiding the chart, so the runs keep it hidden.
    e->ignore();
    clickHidePlot();
}

void frmPlotData::placeTimeMarks() {
    // Under the 0, 1 and 2 minute positions of the plot area, inside the scales.
    const QRectF area = m_chart->plotArea();
    const int w = int(area.width());
    const int h = m_marks->height();
    const int x0 = m_chart->x() + int(area.left()) - m_marks->x();
    m_label4->setGeometry(x0, 0, w / 3, h);
    m_label5->setGeometry(x0 + w / 3, 0, w / 3, h);
    m_label6->setGeometry(x0 + 2 * w / 3, 0, w / 3, h);
}

QString frmPlotData::chooseFile(const QString& title, const QString& filter,
                                const QString& extension) {
    const QString project = appState().ProjectPath;
    const QString folder = project.isEmpty() ? QString() : learnerFolder(project, kLabBookFolder);
    QString path = ui::seam().saveFile(this, title, folder, filter, ui::Replace::CallerAsks);
    if (path.isEmpty()) return {};
    if (!path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
    return ui::mayReplace(path, QStringLiteral("A file named"), this) ? path : QString();
}

namespace {
// Writes the whole file or nothing: a failed save leaves an earlier file of that name intact.
void writeFile(QWidget* parent, const QString& path, const std::function<bool(QIODevice&)>& write) {
    QSaveFile f(path);
    if (f.open(QIODevice::WriteOnly) && write(f) && f.commit()) return;
    ui::messageBox(QStringLiteral("The file %1 cannot be written:\n%2")
                       .arg(QDir::toNativeSeparators(path), f.errorString()),
                   {}, parent);
}
}  // namespace

void frmPlotData::saveData() {
    const QString path = chooseFile(QStringLiteral("Save the data of the strip chart"),
                                    QStringLiteral("CSV table (*.csv)"), QStringLiteral(".csv"));
    if (path.isEmpty()) return;
    const model::ModelState& s = model::state();
    const QByteArray csv = stripChartCsv(m_chart->surface(), sweepTimes(s.ModelTime, s.PlotSpan));
    writeFile(this, path, [&](QIODevice& d) { return d.write(csv) == csv.size(); });
}

void frmPlotData::savePicture() {
    const QString path = chooseFile(QStringLiteral("Save the picture of the strip chart"),
                                    QStringLiteral("PNG picture (*.png)"), QStringLiteral(".png"));
    if (path.isEmpty()) return;
    const QImage picture = stripChartPicture(
        m_chart->surface(), {m_label4->text(), m_label5->text(), m_label6->text()});
    writeFile(this, path, [&](QIODevice& d) { return picture.save(&d, "PNG"); });
}

std::function<void()> frmPlotData::snapshot() {
    QPointer<frmPlotData> self(this);
    return [self, surface = m_chart->surface(),
            marks = QStringList{m_label4->text(), m_label5->text(), m_label6->text()}] {
        if (!self) return;
        self->m_chart->surface() = surface;
        self->m_chart->changed();
        self->m_label4->setText(marks[0]);
        self->m_label5->setText(marks[1]);
        self->m_label6->setText(marks[2]);
    };
}

}  // namespace vasora::workbench
