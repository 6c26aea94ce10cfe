#pragma once

// The question on quitting: save the changes in the learner's own lab book?

#include <QWidget>

#include "shell/Forms.h"

namespace vasora::labbook {

class frmLBSave final : public QWidget, public forms::ControlHost {
    Q_OBJECT
  public:
    explicit frmLBSave(QWidget* parent = nullptr);

    /// Shows the question modally and waits until it is answered. Returns false when the
    /// learner answered Yes and the book could not be written: the program must not end then,
    /// so that the learner can free space or try again.
    bool askOnQuitting();

  signals:
    void answered();

  protected:
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    void yes();

    bool m_failed = false;
    bool m_saving = false;
};

}  // namespace vasora::labbook
