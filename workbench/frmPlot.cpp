#include "workbench/frmPlot.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace vasora::workbench {

namespace {

// The sample curve the window is designed with: cardiac output rises with the heart rate
// until filling time runs short, then falls.
constexpr const char* kSample[3][frmPlot::kRows] = {
    {"0", "10", "20", "40", "72", "100", "120", "140", "180", "220", "240"},
    {"0", "1500", "2750", "4250", "5800", "6500", "6600", "6250", "4600", "1900", "600"},
    {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
};

// A box that holds no number counts as 0, as the lab book's filling reads it; the period is
// the decimal separator whatever the locale.
double number(const QLineEdit* e) {
    bool ok = false;
    const double v = e->text().trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

}  // namespace

frmPlot::frmPlot(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmPlot"));
    setWindowTitle(QStringLiteral("Plot"));

    auto* chart = new QChart;
    m_series = new QLineSeries(chart);
    m_series->setPointsVisible(true);
    chart->addSeries(m_series);
    chart->legend()->hide();
    auto* x = new QValueAxis(chart);
    x->setTitleText(QStringLiteral("Heart Rate"));
    x->setRange(0, 250);
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTickCount(6);
    auto* y = new QValueAxis(chart);
    y->setTitleText(QStringLiteral("Cardiac Output / 100"));
    y->setRange(0, 100);
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    m_series->attachAxis(x);
    m_series->attachAxis(y);
    auto* view = new QChartView(chart, this);
    view->setObjectName(QStringLiteral("MSChart1"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(460, 360);

    auto* grid = new QGridLayout;
    const char* heads[3][2] = {{"Label1", " SV"}, {"Label2", " CO"}, {"Label3", " SV"}};
    const char* columns[3] = {"txtX", "txtY", "txtZ"};
    for (int a = 0; a < 3; ++a) {
        auto* head = new QLabel(QString::fromLatin1(heads[a][1]), this);
        head->setObjectName(QString::fromLatin1(heads[a][0]));
        grid->addWidget(head, 0, a);
        for (int i = 0; i < kRows; ++i) {
            auto* e = new QLineEdit(QString::fromLatin1(kSample[a][i]), this);
            e->setObjectName(QStringLiteral("%1(%2)").arg(QString::fromLatin1(columns[a])).arg(i));
            e->setFixedWidth(64);
            grid->addWidget(e, i + 1, a);
            m_cells[static_cast<std::size_t>(a)][static_cast<std::size_t>(i)] = e;
        }
    }
    auto* draw = new QPushButton(QStringLiteral("&Plot"), this);
    draw->setObjectName(QStringLiteral("cmdPlot"));
    draw->setToolTip(QStringLiteral("Click to draw / redraw the plot"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    grid->addWidget(draw, kRows + 1, 0, 1, 3);
    grid->addWidget(close, kRows + 2, 0, 1, 3);
    connect(draw, &QPushButton::clicked, this, [this] { plot(); });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);

    auto* h = new QHBoxLayout(this);
    h->addWidget(view, 1);
    h->addLayout(grid);
    indexControls(this);
}

QLineEdit* frmPlot::cell(int axis, int index) const {
    if (axis < 0 || axis > 2 || index < 0 || index >= kRows) return nullptr;
    return m_cells[static_cast<std::size_t>(axis)][static_cast<std::size_t>(index)];
}

void frmPlot::plot() {
    QList<QPointF> pts;
    for (int i = 0; i < kRows; ++i)
        pts.append(QPointF(number(cell(0, i)), number(cell(1, i)) / 100));
    m_series->replace(pts);
}

QList<QPointF> frmPlot::points() const {
    return m_series->points();
}

}  // namespace vasora::workbench
