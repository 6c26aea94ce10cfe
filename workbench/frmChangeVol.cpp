#include "workbench/frmChangeVol.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "workbench/ParameterChanges.h"

namespace vasora::workbench {

frmChangeVol::frmChangeVol()
    : ChangeDialog("frmChangeVol", QStringLiteral("Change Blood volume or Unstressed volume"),
                   QString::fromUtf8(kVolBlankMessage.data(),
                                     static_cast<qsizetype>(kVolBlankMessage.size()))) {
    auto* rows = new QVBoxLayout(this);

    auto* row1 = new QHBoxLayout;
    row1->addWidget(makeLabel("lblSegment", {}));
    row1->addWidget(makeLabel("lblParameter", {}));
    row1->addWidget(makeLabel("Label4", QStringLiteral(" is ")));
    QLabel* value = makeLabel("lblValue", {});
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    row1->addWidget(value);
    row1->addWidget(makeLabel("Label6", QStringLiteral("  ml ")));
    row1->addStretch();
    rows->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    row2->addWidget(makeLabel("Label2", QStringLiteral("  It is")));
    row2->addWidget(makeLabel("lblPercentNormal", {}));
    row2->addWidget(makeLabel("Label3", QStringLiteral(" % Normal")));
    row2->addStretch();
    rows->addLayout(row2);

    auto* row3 = new QHBoxLayout;
    row3->addWidget(makeLabel("Label8", QStringLiteral(" Make Volume CHANGE:")));
    row3->addWidget(makeInput());
    row3->addWidget(makeLabel("Label5", QStringLiteral("  ml ")));
    row3->addStretch();
    rows->addLayout(row3);

    const char* const notes[][2] = {
        {"Label1", " A transfusions is positive    ( + )   A hemorrhages is negative ( -- )"},
        {"Label9",
         "  VENOCONSTRICTION   ( a decrease        in Unstressed Volume )  is  NEGATIVE (-)"},
        {"Label7", "  Volume changes will be completed      in ca. 1.5 min. This is VERY fast."},
        {"Label10",
         " The Stressed volume is increased by an      Increase in total  Blood Volume or a  "
         "       Decrease in total Unstressed Volume"},
    };
    for (const auto& n : notes) {
        QLabel* note = makeLabel(n[0], QString::fromLatin1(n[1]));
        note->setWordWrap(true);
        rows->addWidget(note);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeOk(QStringLiteral("&OK")));
    buttons->addWidget(makeCancel());
    rows->addLayout(buttons);

    setFixedWidth(460);
}

void frmChangeVol::prepare(const DialogTexts& t) {
    setLabel(this, "lblSegment", t.segment);
    setLabel(this, "lblParameter", t.parameter);
    setLabel(this, "lblValue", t.value);
    setLabel(this, "lblPercentNormal", t.percentNormal);
}

}  // namespace vasora::workbench
