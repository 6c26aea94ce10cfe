#include "options/frmOptionHelp.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vasora::options {

frmOptionHelp::frmOptionHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmOptionHelp"));
    setWindowTitle(QStringLiteral("Help for using Model Options"));
    // The instructions are a rich-text document shipped beside the program; until the viewer
    // for those documents exists the window says where they will appear.
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("scrivoOptionsHelp"));
    text->setPlaceholderText(
        QStringLiteral("The instructions for the model options will appear here."));
    auto* back = new QPushButton(QStringLiteral("Return"), this);
    back->setObjectName(QStringLiteral("cmdReturn"));
    connect(back, &QPushButton::clicked, this, &QWidget::hide);
    auto* v = new QVBoxLayout(this);
    v->addWidget(text);
    v->addWidget(back, 0, Qt::AlignRight);
    resize(520, 420);
}

}  // namespace vasora::options
