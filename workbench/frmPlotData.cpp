#include "workbench/frmPlotData.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "workbench/CVModelActions.h"
#include "workbench/StripChart.h"

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

    auto* top = new QHBoxLayout;
    top->addWidget(legend(this, "Label1", "--- Blood Pressure ---", QColor(0, 0, 255)));
    top->addWidget(legend(this, "Label2", "--- Cardiac Output ---", QColor(255, 0, 0)));
    top->addWidget(legend(this, "Label3", "--- Venous Return ---", QColor(255, 0, 255)));
    top->addWidget(legend(this, "lblZeroLine", "--- Zero line", QColor(0, 0, 0)));
    top->addStretch();
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
    top->insertWidget(top->count() - 2, axis);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(6, 4, 6, 2);
    v->setSpacing(2);
    v->addLayout(top);
    v->addWidget(m_chart, 1);
    v->addWidget(m_marks);

    connect(hide, &QPushButton::clicked, this, [] { clickHidePlot(); });
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

}  // namespace vasora::workbench
