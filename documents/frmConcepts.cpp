#include "documents/frmConcepts.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "figures/Figures.h"
#include "shell/FormNames.h"

namespace vasora::documents {

namespace {

// The figure the concepts window shows, also the information text's overview figure.
constexpr int kConceptsFigure = 699;

class ConceptsDiagram final : public QWidget {
  public:
    explicit ConceptsDiagram(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("Image1"));
        setMinimumSize(figures::logicalSize(kConceptsFigure) / 2);
        setAccessibleName(QStringLiteral("Diagram of the concepts of the cardiovascular system"));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        figures::paintFigure(kConceptsFigure, p, QRectF(rect()).adjusted(8, 8, -8, -8));
    }
};

}  // namespace

frmConcepts::frmConcepts(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(forms::frmConcepts.str());
    setWindowTitle(QStringLiteral("Diagram of Concepts about Cardiovascular System "));
    auto* diagram = new ConceptsDiagram(this);
    auto* back = new QPushButton(QStringLiteral(" Return"), this);
    back->setObjectName(QStringLiteral("cmdReturn"));
    back->setToolTip(QStringLiteral("Hide Image and Return"));
    connect(back, &QPushButton::clicked, this, &QWidget::hide);
    auto* v = new QVBoxLayout(this);
    v->addWidget(diagram, 1);
    v->addWidget(back, 0, Qt::AlignRight);
}

void frmConcepts::closeEvent(QCloseEvent* e) {
    e->accept();
    hide();
}

}  // namespace vasora::documents
