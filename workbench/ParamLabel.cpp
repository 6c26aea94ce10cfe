#include "workbench/ParamLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace vasora::workbench {

namespace {
const char* const kChangeTip = "Click to change this parameter";
const char* const kNotNowTip =
    "Changes only while the ventricles beat at their own rates: tick \"separate RV and LV "
    "Heart Rates\" in Options";
}  // namespace

ParamLabel::ParamLabel(QWidget* parent) : QLabel(parent) {
    setLineWidth(2);
    setAutoFillBackground(true);
    setChangeable(true);
}

void ParamLabel::setChangeable(bool changeable) {
    m_changeable = changeable;
    setFocusPolicy(changeable ? Qt::StrongFocus : Qt::NoFocus);
    if (changeable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    setFrameStyle(QFrame::Panel | (changeable ? QFrame::Raised : QFrame::Sunken));
    explain();
    update();
}

void ParamLabel::setNote(const QString& note) {
    if (note == m_note) return;
    m_note = note;
    explain();
}

void ParamLabel::explain() {
    QString tip = QString::fromLatin1(m_changeable ? kChangeTip : kNotNowTip);
    if (!m_note.isEmpty()) tip = m_note + QLatin1Char('\n') + tip;
    setToolTip(tip);
    setAccessibleDescription(tip);
}

void ParamLabel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_pressed = true;
    QLabel::mousePressEvent(e);
}

void ParamLabel::mouseReleaseEvent(QMouseEvent* e) {
    const bool click =
        m_changeable && m_pressed && e->button() == Qt::LeftButton && rect().contains(e->pos());
    m_pressed = false;
    QLabel::mouseReleaseEvent(e);
    if (click) emit clicked();
}

void ParamLabel::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (m_changeable) emit clicked();
            return;
        default:
            QLabel::keyPressEvent(e);
    }
}

void ParamLabel::paintEvent(QPaintEvent* e) {
    QLabel::paintEvent(e);
    if (!hasFocus()) return;
    QPainter p(this);
    QPen pen(palette().color(QPalette::WindowText), 1, Qt::DotLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(3, 3, -4, -4));
}

void ParamLabel::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    update();
}

void ParamLabel::focusOutEvent(QFocusEvent* e) {
    QLabel::focusOutEvent(e);
    update();
}

}  // namespace vasora::workbench
