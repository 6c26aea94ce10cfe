#include "workbench/ChangeDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "shell/Dialogs.h"
#include "shell/Forms.h"
#include "workbench/ParameterChanges.h"

namespace vasora::workbench {

ChangeDialog::ChangeDialog(const char* name, const QString& title, QString blankMessage)
    : QDialog(nullptr), m_blankMessage(std::move(blankMessage)) {
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    setModal(true);
}

QLabel* ChangeDialog::makeLabel(const char* name, const QString& caption) {
    auto* l = new QLabel(caption, this);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLineEdit* ChangeDialog::makeInput() {
    m_input = new QLineEdit(this);
    m_input->setObjectName(QStringLiteral("txtInputValue"));
    m_input->setAccessibleName(QStringLiteral("The new value"));
    return m_input;
}

QPushButton* ChangeDialog::makeOk(const QString& caption) {
    auto* ok = new QPushButton(caption, this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setToolTip(QStringLiteral("Make the change"));
    // Enter in the text box presses the default button.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ChangeDialog::accept);
    return ok;
}

QPushButton* ChangeDialog::makeCancel() {
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setToolTip(QStringLiteral("Do not make a change"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &ChangeDialog::reject);
    return cancel;
}

std::optional<double> ChangeDialog::ask() {
    m_entered.reset();
    exec();
    return m_entered;
}

void ChangeDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (m_input) {
        m_input->clear();
        m_input->setFocus();
    }
}

void ChangeDialog::accept() {
    const NumberText e = readNumber(m_input ? m_input->text().toStdString() : std::string());
    if (e.kind == NumberText::Blank) {
        ui::messageBox(m_blankMessage, {}, this);
        m_input->setFocus();
        return;
    }
    if (e.kind == NumberText::NotNumber) {
        ui::messageBox(QString::fromUtf8(kNotNumericMessage.data(),
                                         static_cast<qsizetype>(kNotNumericMessage.size())),
                       {}, this);
        leave(std::nullopt);
    } else {
        leave(e.value);
    }
    // Back on the model window, the strip chart is in view and Run has the focus.
    forms::show(forms::frmPlotData);
    if (QWidget* cv = forms::existing(forms::frmCVModel))
        if (auto* run = cv->findChild<QWidget*>(QStringLiteral("cmdRun"))) run->setFocus();
}

void ChangeDialog::reject() {
    leave(std::nullopt);
}

void ChangeDialog::leave(std::optional<double> answer) {
    m_entered = answer;
    done(answer ? QDialog::Accepted : QDialog::Rejected);
}

void setLabel(QWidget* dialog, const char* name, const std::string& text) {
    if (auto* l = dialog->findChild<QLabel*>(QString::fromLatin1(name)))
        l->setText(QString::fromStdString(text));
}

}  // namespace vasora::workbench
