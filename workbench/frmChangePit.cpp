#include "workbench/frmChangePit.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "workbench/ParameterChanges.h"

namespace vasora::workbench {

frmChangePit::frmChangePit()
    : ChangeDialog("frmChangePit", QStringLiteral("Change intrathoracic pressure"),
                   QString::fromUtf8(kPitBlankMessage.data(),
                                     static_cast<qsizetype>(kPitBlankMessage.size()))) {
    auto* rows = new QVBoxLayout(this);

    auto* row1 = new QHBoxLayout;
    row1->addWidget(makeLabel("Label1", QStringLiteral(" Intrathoracic pressure is ")));
    QLabel* value = makeLabel("lblValue", {});
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    row1->addWidget(value);
    row1->addWidget(makeLabel("Label3", QStringLiteral("  mm Hg")));
    row1->addStretch();
    rows->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    row2->addWidget(makeLabel("Label4", QStringLiteral(" Please enter a new value")));
    row2->addWidget(makeInput());
    row2->addWidget(makeLabel("Label2", QStringLiteral("  mm Hg")));
    row2->addStretch();
    rows->addLayout(row2);

    // Advice only: the pressure is not rate-limited.
    QLabel* note =
        makeLabel("Label5", QStringLiteral(" Do not change Pit faster   than 5 mmHg /0.1 min"));
    note->setWordWrap(true);
    rows->addWidget(note);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeOk(QStringLiteral(" &OK")));
    buttons->addWidget(makeCancel());
    rows->addLayout(buttons);

    setFixedWidth(400);
}

void frmChangePit::prepare(const std::string& value) {
    setLabel(this, "lblValue", value);
}

}  // namespace vasora::workbench
