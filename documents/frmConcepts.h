#pragma once

// The concepts diagram: how the quantities of the circulation act on one another, drawn by the
// figures' own painter so that it is sharp at any size.

#include <QWidget>

namespace vasora::documents {

class frmConcepts final : public QWidget {
    Q_OBJECT
  public:
    explicit frmConcepts(QWidget* parent = nullptr);

  protected:
    void closeEvent(QCloseEvent* e) override;
};

}  // namespace vasora::documents
