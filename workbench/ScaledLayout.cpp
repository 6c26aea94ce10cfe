#include "workbench/ScaledLayout.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace vasora::workbench {

void ScaledLayout::apply(double scale) {
    scale = std::clamp(scale, 0.3, 1.0);
    if (m_design.empty()) {
        for (QObject* o : m_window->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && !w->isWindow()) {
                auto* f = qobject_cast<QFrame*>(w);
                m_design.push_back({w, w->geometry(), w->font(), f ? f->lineWidth() : 0});
            }
    }
    m_scale = scale;
    auto s = [scale](int v) { return int(std::lround(v * scale)); };
    m_window->setFixedSize(s(m_designSize.width()), s(m_designSize.height()));
    for (const Design& d : m_design) {
        const QRect& g = d.geometry;
        d.widget->setGeometry(s(g.x()), s(g.y()), std::max(1, s(g.width())),
                              std::max(1, s(g.height())));
        QFont f = d.font;
        // The weight may have been changed since by a display (a stiff ventricle's compliance).
        f.setBold(d.widget->font().bold());
        // Small text is set a little wider than in proportion, so type is scaled a little more
        // than the boxes it sits in.
        const double type = scale < 1 ? scale * 0.94 : 1;
        if (f.pointSizeF() > 0)
            f.setPointSizeF(f.pointSizeF() * type);
        else
            f.setPixelSize(std::max(1, int(std::lround(f.pixelSize() * type))));
        d.widget->setFont(f);
        // A frame shrinks with its box, or it would eat the text's room.
        if (auto* fr = qobject_cast<QFrame*>(d.widget); fr && d.lineWidth > 1)
            fr->setLineWidth(std::max(1, int(std::lround(d.lineWidth * scale))));
        fitText(d.widget);
    }
}

void ScaledLayout::fitText(QWidget* w) const {
    // Where the scaled type still does not fit its box (small sizes are set relatively wider,
    // and a check box's mark keeps its size), it is made smaller until it does.
    QString text;
    int room = 0;
    if (auto* l = qobject_cast<QLabel*>(w)) {
        text = l->text();
        room = l->contentsRect().width() - 2 * l->margin();
    } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
        text = c->text();
        room = c->width() - w->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, c) -
               w->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, c) - 2;
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        text = b->text();
        room = b->width() - 8;
    }
    if (text.isEmpty() || room <= 0) return;
    const auto* frame = qobject_cast<QFrame*>(w);
    const int height = w->height() - (frame ? 2 * frame->frameWidth() : 0);
    QFont f = w->font();
    for (int k = 0; k < 8; ++k) {
        const QFontMetrics fm(f);
        if (fm.horizontalAdvance(text) <= room && fm.height() <= std::max(height, 1) + 2) break;
        if (f.pointSizeF() > 0)
            f.setPointSizeF(std::max(3.0, f.pointSizeF() * 0.93));
        else
            f.setPixelSize(std::max(3, int(f.pixelSize() * 0.93)));
    }
    w->setFont(f);
}

}  // namespace vasora::workbench
