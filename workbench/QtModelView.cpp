#include "workbench/QtModelView.h"

#include "workbench/ValueAccess.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "workbench/ParamLabel.h"
#include "workbench/StripChart.h"
#include "workbench/frmPlotData.h"

namespace vasora::workbench {

using model::Rgb;
using model::Window;

namespace {

QColor qcolor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

void setRoleColour(QWidget* w, QPalette::ColorRole role, Rgb c) {
    const QColor q = qcolor(c);
    if (w->palette().color(role) == q) return;
    QPalette p = w->palette();
    p.setColor(role, q);
    w->setPalette(p);
}

}  // namespace

forms::FormName formName(Window w) {
    switch (w) {
        case Window::CVModel:
            return forms::frmCVModel;
        case Window::Layout:
            return forms::frmLayout;
        case Window::PlotData:
            return forms::frmPlotData;
        case Window::Plot:
            return forms::frmPlot;
    }
    return forms::frmCVModel;
}

QtModelView::QtModelView() {
    m_sinceRepaint.start();
}

QWidget* QtModelView::control(Window w, std::string_view name) {
    // A window that is not registered (yet) is simply not written to. The window is looked up
    // once and remembered for as long as it lives.
    Host& h = m_hosts[static_cast<int>(w)];
    if (!h.window) {
        h.window = forms::get(formName(w));
        h.host = dynamic_cast<forms::ControlHost*>(h.window.data());
    }
    return h.window && h.host ? h.host->control(name) : nullptr;
}

frmPlotData* QtModelView::plot() {
    if (!m_plot) m_plot = forms::get<frmPlotData>(forms::frmPlotData);
    return m_plot;
}

void QtModelView::setCaption(Window w, std::string_view name, std::string_view text) {
    QWidget* c = control(w, name);
    if (!c) return;
    const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (auto* l = qobject_cast<QLabel*>(c)) {
        if (l->text() != t) {
            l->setText(t);
            valueShown(l);
        }
    } else if (auto* b = qobject_cast<QAbstractButton*>(c)) {
        if (b->text() != t) b->setText(t);
    } else if (auto* e = qobject_cast<QLineEdit*>(c)) {
        if (e->text() != t) e->setText(t);
    }
}

void QtModelView::setBackColor(Window w, std::string_view name, Rgb colour) {
    QWidget* c = control(w, name);
    if (!c) return;
    if (qobject_cast<QAbstractButton*>(c)) {
        setRoleColour(c, QPalette::Button, colour);
    } else {
        c->setAutoFillBackground(true);
        setRoleColour(c, QPalette::Window, colour);
    }
}

void QtModelView::setForeColor(Window w, std::string_view name, Rgb colour) {
    QWidget* c = control(w, name);
    if (!c) return;
    setRoleColour(
        c, qobject_cast<QAbstractButton*>(c) ? QPalette::ButtonText : QPalette::WindowText, colour);
}

void QtModelView::setNote(Window w, std::string_view name, std::string_view text) {
    if (auto* p = qobject_cast<ParamLabel*>(control(w, name)))
        p->setNote(QString::fromUtf8(text.data(), qsizetype(text.size())));
}

void QtModelView::setBold(Window w, std::string_view name, bool bold) {
    QWidget* c = control(w, name);
    if (!c || c->font().bold() == bold) return;
    QFont f = c->font();
    f.setBold(bold);
    c->setFont(f);
}

void QtModelView::setChecked(Window w, std::string_view name, bool checked) {
    if (auto* b = qobject_cast<QAbstractButton*>(control(w, name)))
        if (b->isChecked() != checked) b->setChecked(checked);
}

void QtModelView::click(Window w, std::string_view name) {
    if (auto* b = qobject_cast<QAbstractButton*>(control(w, name)); b && b->isEnabled()) b->click();
}

void QtModelView::setEnabled(Window w, std::string_view name, bool enabled) {
    if (auto* l = qobject_cast<ParamLabel*>(control(w, name))) l->setChangeable(enabled);
}

void QtModelView::showWindow(Window w) {
    if (w == Window::PlotData) {
        if (frmPlotData* p = plot(); p && !p->isVisible()) p->show();
        return;
    }
    forms::show(formName(w));
}

void QtModelView::bringToFront(Window w) {
    QWidget* win = w == Window::PlotData ? plot() : forms::get(formName(w));
    if (!win) return;
    win->show();
    win->raise();
    win->activateWindow();
}

void QtModelView::hideWindow(Window w) {
    if (w == Window::PlotData) {
        if (m_plot && m_plot->isVisible()) m_plot->hide();
        return;
    }
    forms::hide(formName(w));
}

// The chart's logical grid, the same whatever the window's size.
int QtModelView::plotWidth() {
    return StripChartSurface::kLogicalWidth;
}

int QtModelView::plotHeight() {
    return StripChartSurface::kLogicalHeight;
}

void QtModelView::plotClear() {
    if (frmPlotData* p = plot()) {
        p->chart()->surface().clear();
        p->chart()->changed();
    }
}

void QtModelView::plotSweepEnd() {
    if (frmPlotData* p = plot()) {
        p->chart()->surface().endSweep();
        p->chart()->changed();
    }
}

void QtModelView::plotPoint(int x, int y, Rgb colour, int penWidth) {
    if (!m_plot) plot();
    if (m_plot) {
        m_plot->chart()->surface().point(x, y, colour, penWidth);
        m_plot->chart()->changed();
    }
}

void QtModelView::message(std::string_view text) {
    ui::messageBox(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::string QtModelView::captionOf(Window w, std::string_view name) {
    QWidget* c = control(w, name);
    QString t;
    if (auto* l = qobject_cast<QLabel*>(c))
        t = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(c))
        t = b->text();
    else if (auto* e = qobject_cast<QLineEdit*>(c))
        t = e->text();
    return t.toStdString();
}

void QtModelView::titledMessage(std::string_view title, std::string_view text) {
    ui::messageBox(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                   QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())));
}

void QtModelView::focus(Window w, std::string_view name) {
    QWidget* c = control(w, name);
    if (!c) return;
    // The window of the control becomes the active one, so that the keys reach the control.
    if (QWidget* win = c->window(); win->isVisible() && !win->isActiveWindow())
        win->activateWindow();
    c->setFocus();
}

void QtModelView::autoRunStep() {
    // Let the windows repaint while AutoRun settles the circulation, at most about 60 times a
    // second. The learner's clicks and keys wait until AutoRun is done.
    if (m_sinceRepaint.elapsed() < 16) return;
    m_sinceRepaint.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtModelView::valuesShown() {
    emit m_notifier.valuesShown();
}

}  // namespace vasora::workbench
