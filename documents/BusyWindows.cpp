#include "documents/BusyWindows.h"

#include "shell/WindowPlacement.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "shell/Forms.h"

namespace vasora::documents {

frmActive::frmActive(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(forms::frmActive.str());
    setWindowTitle(QStringLiteral("File loading / saving"));
    auto* l1 = new QLabel(
        QStringLiteral("        Patience Please           Computer working on                   "
                       "text file."),
        this);
    l1->setObjectName(QStringLiteral("Label1"));
    l1->setWordWrap(true);
    QFont f = l1->font();
    f.setBold(true);
    l1->setFont(f);
    auto* l2 = new QLabel(
        QStringLiteral("  If nothing gets loaded, the        Path is probably wrong"), this);
    l2->setObjectName(QStringLiteral("Label2"));
    l2->setWordWrap(true);
    auto* v = new QVBoxLayout(this);
    v->addWidget(l1);
    v->addWidget(l2);
    setFixedSize(300, 130);
    move(shell::workArea().center() - rect().center());
}

// A tool window, so that it has no entry of its own in the task bar: on X11 the toolkit makes
// it a utility window transient for the program, which task bars leave out. Kept below the
// program's other windows, and never taking the focus from them.
frmClearScreen::frmClearScreen(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint |
                          Qt::WindowDoesNotAcceptFocus) {
    setObjectName(forms::frmClearScreen.str());
    setWindowTitle(QStringLiteral("Form1"));
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void frmClearScreen::showEvent(QShowEvent* e) {
    // The desktop's work area, so that the backdrop lies behind the program's windows and
    // leaves the task bar free.
    setGeometry(shell::workArea(this));
    lower();
    QWidget::showEvent(e);
}

void frmClearScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(rect().topLeft(), rect().bottomLeft());
    g.setColorAt(0, QColor(232, 238, 246));
    g.setColorAt(1, QColor(206, 216, 232));
    p.fillRect(rect(), g);
    p.setPen(QColor(170, 182, 204));
    QFont f = font();
    f.setPixelSize(std::max(24, height() / 10));
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect().adjusted(0, 0, -40, -30), Qt::AlignRight | Qt::AlignBottom,
               QStringLiteral("Vasora"));
}

BusyNotice::BusyNotice() {
    QWidget* w = forms::get(forms::frmActive);
    if (!w) return;
    m_wasVisible = w->isVisible();
    w->show();
    w->raise();
    // Let the notice be drawn before the work begins.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyNotice::~BusyNotice() {
    if (!m_wasVisible) forms::hide(forms::frmActive);
}

}  // namespace vasora::documents
