#pragma once
// The library's insert-object dialog: a new object of a registered server's class, or an
// object made from a file.
#include <QDialog>
#include <vector>

#include "Platform.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace scrivoole {

class InsertObjectDialog final : public QDialog {
    Q_OBJECT
  public:
    InsertObjectDialog(QWidget* parent, const std::vector<platform::ServerEntry>& servers);
    platform::InsertChoice choice() const;

  private:
    void browse();
    void updateState();

    QRadioButton* m_createNew;
    QRadioButton* m_fromFile;
    QListWidget* m_types;
    QLineEdit* m_file;
    QPushButton* m_browse;
    QPushButton* m_ok;
};

}  // namespace scrivoole
