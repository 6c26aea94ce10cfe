#include "workbench/frmChangeParam.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "workbench/ParameterChanges.h"

namespace vasora::workbench {

frmChangeParam::frmChangeParam()
    : ChangeDialog("frmChangeParam", QStringLiteral("Change a Parameter value"),
                   QString::fromUtf8(kParamBlankMessage.data(),
                                     static_cast<qsizetype>(kParamBlankMessage.size()))) {
    auto* rows = new QVBoxLayout(this);

    auto* row1 = new QHBoxLayout;
    row1->addWidget(makeLabel("lblSegment", {}));
    row1->addWidget(makeLabel("lblParameter", {}));
    row1->addWidget(makeLabel("Label2", QStringLiteral(" is ")));
    QLabel* value = makeLabel("lblValue", {});
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    row1->addWidget(value);
    row1->addWidget(makeLabel("lblUnits", {}));
    row1->addStretch();
    rows->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    row2->addWidget(makeLabel("Label4", QStringLiteral("It is")));
    row2->addWidget(makeLabel("lblPercentNormal", {}));
    row2->addWidget(makeLabel("Label6", QStringLiteral("% of normal.")));
    row2->addStretch();
    rows->addLayout(row2);

    auto* row3 = new QHBoxLayout;
    row3->addWidget(makeLabel("Label5", QStringLiteral("Please enter a new value:  ")));
    row3->addWidget(makeInput());
    row3->addWidget(makeLabel("lblUnit", {}));
    row3->addStretch();
    rows->addLayout(row3);

    QLabel* warning = makeLabel(
        "lblWarning",
        QStringLiteral("Biological parameters do not change instantly. Please do not attempt a "
                       "greater than  50% change per 0.1 minute run."));
    warning->setWordWrap(true);
    rows->addWidget(warning);

    auto* row5 = new QHBoxLayout;
    row5->addStretch();
    row5->addWidget(makeOk(QStringLiteral("&OK")));
    row5->addWidget(makeCancel());
    rows->addLayout(row5);

    setFixedWidth(460);
}

void frmChangeParam::prepare(const DialogTexts& t) {
    setLabel(this, "lblSegment", t.segment);
    setLabel(this, "lblParameter", t.parameter);
    setLabel(this, "lblValue", t.value);
    setLabel(this, "lblUnits", t.units);
    setLabel(this, "lblPercentNormal", t.percentNormal);
    setLabel(this, "lblUnit", t.unit);
}

}  // namespace vasora::workbench
