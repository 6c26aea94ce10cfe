#include "workbench/ValueAccess.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "model/Quantities.h"
#include "workbench/ParamLabel.h"

namespace vasora::workbench {

namespace {

constexpr const char* kValueProperty = "vasoraValueLabel";

bool isValueLabel(const QObject* o) {
    return o &&
           (o->property(kValueProperty).toBool() || o->inherits("vasora::workbench::ValueLabel"));
}

// The name is the quantity, the value the number shown; a changeable parameter is a button.
class ValueLabelAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit ValueLabelAccessible(QWidget* w)
        : QAccessibleWidget(
              w, qobject_cast<ParamLabel*>(w) ? QAccessible::Button : QAccessible::StaticText) {
        if (qobject_cast<ParamLabel*>(w)) addControllingSignal(QStringLiteral("clicked()"));
    }
    QString text(QAccessible::Text t) const override {
        const auto* l = static_cast<const QLabel*>(widget());
        switch (t) {
            case QAccessible::Name:
                return l->accessibleName();
            case QAccessible::Value:
                return l->text().trimmed();
            default:
                return QAccessibleWidget::text(t);
        }
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (auto* p = qobject_cast<const ParamLabel*>(widget())) s.disabled = !p->changeable();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QStringList actionNames() const override {
        auto* p = qobject_cast<const ParamLabel*>(widget());
        return p && p->changeable() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        auto* p = qobject_cast<ParamLabel*>(widget());
        if (p && p->changeable() && action == pressAction()) emit p->clicked();
    }
    // The value interface: the number shown, as text (it may hold a unit or be empty).
    QVariant currentValue() const override { return text(QAccessible::Value); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }
};

// The toolkit asks for an interface as early as the label's construction, and keeps the first
// it gets: the two classes of value labels are known by their class alone.
QAccessibleInterface* valueFactory(const QString& key, QObject* o) {
    if (key == QLatin1String("vasora::workbench::ParamLabel") ||
        key == QLatin1String("vasora::workbench::ValueLabel") ||
        (key == QLatin1String("QLabel") && isValueLabel(o)))
        return new ValueLabelAccessible(static_cast<QWidget*>(o));
    return nullptr;
}

// The value label nearest to `from` in the direction of the arrow `key`, by where they stand.
QLabel* nextInDirection(QWidget* window, QWidget* from, int key) {
    const QPointF c = from->geometry().center();
    QLabel* best = nullptr;
    double bestCost = std::numeric_limits<double>::max();
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l == from || !isValueLabel(l) || !l->isVisible()) continue;
        const QPointF d = QRectF(l->geometry()).center() - c;
        const double along = key == Qt::Key_Left    ? -d.x()
                             : key == Qt::Key_Right ? d.x()
                             : key == Qt::Key_Up    ? -d.y()
                                                    : d.y();
        const double across = key == Qt::Key_Left || key == Qt::Key_Right ? d.y() : d.x();
        if (along <= 1) continue;
        const double cost = along + 2 * std::abs(across);
        if (cost < bestCost) best = l, bestCost = cost;
    }
    return best;
}

class Arrows final : public QObject {
  public:
    explicit Arrows(QWidget* window) : QObject(window), m_window(window) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && isValueLabel(o)) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
                key == Qt::Key_Down) {
                if (QLabel* next = nextInDirection(m_window, static_cast<QWidget*>(o), key))
                    next->setFocus(Qt::OtherFocusReason);
                return true;
            }
        }
        return false;
    }

  private:
    QWidget* m_window;
};

}  // namespace

void ValueLabel::paintEvent(QPaintEvent* e) {
    QLabel::paintEvent(e);
    if (!hasFocus()) return;
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
}

void ValueLabel::focusInEvent(QFocusEvent* e) {
    QLabel::focusInEvent(e);
    update();
}

void ValueLabel::focusOutEvent(QFocusEvent* e) {
    QLabel::focusOutEvent(e);
    update();
}

void makeValueLabel(QLabel* l, const QString& name, bool withTip) {
    const model::Quantity* q = model::quantityByLabel(name.toStdString());
    if (!q) return;
    QString what = QString::fromUtf8(q->description.data(), qsizetype(q->description.size()));
    if (q->unitsViewPercent)
        what += QStringLiteral(" (% of normal)");
    else if (!q->unit.empty())
        what += QStringLiteral(" (%1)").arg(
            QString::fromUtf8(q->unit.data(), qsizetype(q->unit.size())));
    l->setProperty(kValueProperty, true);
    l->setAccessibleName(what);
    // Reached by a click or an arrow key, not by Tab: there are dozens of them.
    if (!qobject_cast<ParamLabel*>(l)) l->setFocusPolicy(Qt::ClickFocus);
    if (withTip) l->setToolTip(what + QStringLiteral("\nRight-click or F1: Explain"));
}

void valueShown(QLabel* l) {
    if (!QAccessible::isActive() || !isValueLabel(l)) return;
    QAccessibleValueChangeEvent e(l, l->text().trimmed());
    QAccessible::updateAccessibility(&e);
}

void arrowsBetweenValues(QWidget* window) {
    auto* arrows = new Arrows(window);
    for (QLabel* l : window->findChildren<QLabel*>())
        if (isValueLabel(l)) l->installEventFilter(arrows);
}

void installValueAccess() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(&valueFactory);
}

}  // namespace vasora::workbench
