#pragma once

// The busy notice shown while a document loads or saves (frmActive), and the backdrop that
// covers the desktop behind the program's windows (frmClearScreen).

#include <QWidget>

namespace vasora::documents {

class frmActive final : public QWidget {
    Q_OBJECT
  public:
    explicit frmActive(QWidget* parent = nullptr);
};

class frmClearScreen final : public QWidget {
    Q_OBJECT
  public:
    explicit frmClearScreen(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

/// Shows the busy notice and lets it be drawn; hides it again when it goes out of scope.
class BusyNotice final {
  public:
    BusyNotice();
    ~BusyNotice();
    BusyNotice(const BusyNotice&) = delete;
    BusyNotice& operator=(const BusyNotice&) = delete;

  private:
    bool m_wasVisible = false;
};

}  // namespace vasora::documents
