#include "workbench/StripChartExport.h"

#include <QPainter>

#include "model/Vasora_Model_coding.h"
#include "workbench/StripChart.h"

namespace vasora::workbench {

namespace {

using S = StripChartSurface;

QByteArray cell(int y, double (*convert)(int), int decimals) {
    return y < 0 ? QByteArray() : QByteArray::number(convert(y), 'f', decimals);
}

}  // namespace

SweepTimes sweepTimes(double modelTime, int plotSpan) {
    // At exactly a sweep's end the trace is still drawn in the sweep before.
    const int sweep = model::stripChartSweep(modelTime);
    return {double(sweep < 0 ? 0 : sweep), plotSpan / 1000.0 / S::kLogicalWidth};
}

QByteArray stripChartCsv(const StripChartSurface& chart, const SweepTimes& times) {
    QByteArray out =
        "minute,arterial pressure (mmHg),cardiac output (L/min),venous return (L/min)\r\n";
    const double sweepMinutes = times.minutesPerUnit * S::kLogicalWidth;
    auto rows = [&](bool previous, double start) {
        for (int x = 0; x < S::kLogicalWidth; ++x) {
            auto at = [&](S::Trace t) {
                return previous ? chart.previousYAt(t, x) : chart.yAt(t, x);
            };
            const int p = at(S::Pressure), co = at(S::CardiacOutput), vr = at(S::VenousReturn);
            if (p < 0 && co < 0 && vr < 0) continue;
            out += QByteArray::number(start + x * times.minutesPerUnit, 'f', 3) + ',' +
                   cell(p, &S::mmHgAt, 1) + ',' + cell(co, &S::litresPerMinuteAt, 3) + ',' +
                   cell(vr, &S::litresPerMinuteAt, 3) + "\r\n";
        }
    };
    if (chart.previousPoints() > 0) rows(true, times.currentStart - sweepMinutes);
    rows(false, times.currentStart);
    return out;
}

QImage stripChartPicture(const StripChartSurface& chart, const QStringList& timeMarks, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    QFont font = p.font();
    font.setPixelSize(std::max(10, size.height() / 36));
    p.setFont(font);
    const QFontMetrics fm(font);
    const int line = fm.height() + 6;

    // The legend above, the time marks below, the chart between.
    struct Key {
        QString text;
        QColor colour;
    };
    const Key keys[] = {{QStringLiteral("Blood pressure (mmHg)"), QColor(0, 0, 255)},
                        {QStringLiteral("Cardiac output (L/min)"), QColor(255, 0, 0)},
                        {QStringLiteral("Venous return (L/min)"), QColor(255, 0, 255)},
                        {QStringLiteral("Pale: the 3 minutes before"), QColor(120, 120, 120)}};
    int x = 10;
    for (const Key& k : keys) {
        p.setPen(QPen(k.colour, 3));
        p.drawLine(x, line / 2, x + 24, line / 2);
        p.drawText(QRect(x + 30, 0, fm.horizontalAdvance(k.text) + 4, line),
                   Qt::AlignLeft | Qt::AlignVCenter, k.text);
        x += 30 + fm.horizontalAdvance(k.text) + 24;
    }
    const QRectF chartRect(0, line, size.width(), size.height() - 2 * line);
    const QRectF area =
        StripChartWidget::plotAreaFor(chartRect.size(), font).translated(chartRect.topLeft());
    chart.paint(p, area);
    p.setPen(Qt::black);
    for (int i = 0; i < timeMarks.size() && i < 3; ++i)
        p.drawText(
            QRectF(area.left() + i * area.width() / 3, area.bottom() + 4, area.width() / 3, line),
            Qt::AlignLeft | Qt::AlignVCenter, timeMarks[i]);
    return image;
}

}  // namespace vasora::workbench
