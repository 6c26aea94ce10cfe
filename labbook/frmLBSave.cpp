#include "labbook/frmLBSave.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "labbook/LabBookSave.h"
#include "labbook/frmDisplay.h"
#include "shell/Dialogs.h"

namespace vasora::labbook {

frmLBSave::frmLBSave(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName(forms::frmLBSave.str());
    setWindowTitle(QStringLiteral("         Your copy of the  Lab Book"));
    auto* label = new QLabel(
        QStringLiteral(" Quitting!   Want to save the    changes in YOUR Lab Book?"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 1.2);
    f.setBold(true);
    label->setFont(f);
    auto* yesButton = new QPushButton(QStringLiteral("Yes"), this);
    yesButton->setObjectName(QStringLiteral("cmdSaveLBFile"));
    yesButton->setToolTip(QStringLiteral("Save changes to the Lab Book."));
    yesButton->setDefault(true);
    auto* no = new QPushButton(QStringLiteral("No"), this);
    no->setObjectName(QStringLiteral("cmdNo"));
    no->setToolTip(QStringLiteral("No, continue running."));
    connect(yesButton, &QPushButton::clicked, this, &frmLBSave::yes);
    connect(no, &QPushButton::clicked, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(yesButton);
    buttons->addWidget(no);
    auto* v = new QVBoxLayout(this);
    v->addWidget(label, 1);
    v->addLayout(buttons);
    resize(380, 150);
    indexControls(this);
}

bool frmLBSave::askOnQuitting() {
    m_failed = false;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop wait;
    connect(this, &frmLBSave::answered, &wait, &QEventLoop::quit);
    show();
    raise();
    activateWindow();
    if (isVisible()) wait.exec();
    return !m_failed;
}

void frmLBSave::yes() {
    if (isExploreName()) {
        ui::messageBox(QString::fromLatin1(kDoNotSaveExplore), {}, this);
        hide();
        return;
    }
    // The question is answered once the book is written (or could not be).
    m_saving = true;
    hide();
    // The busy notice stays up while the program ends.
    forms::show(forms::frmActive);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    auto* display = forms::existing<frmDisplay>(forms::frmDisplay);
    // A save that failed or was refused (the template, the sample, a book read only in part)
    // keeps the program running, so that the learner can save elsewhere; No still ends it.
    m_failed = display && saveLabBook(*display) != SaveResult::Saved;
    if (m_failed) forms::hide(forms::frmActive);
    m_saving = false;
    emit answered();
}

void frmLBSave::closeEvent(QCloseEvent* e) {
    // Closing the question by its frame answers No.
    e->accept();
    hide();
}

void frmLBSave::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    if (!m_saving) emit answered();
}

}  // namespace vasora::labbook
