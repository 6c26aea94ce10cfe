#pragma once

// Choosing the lab book: a new personal lab book copied from the template, one made earlier, or
// the sample; and the project folder every shipped file is found in.

#include <QWidget>

#include "shell/Forms.h"

class QLineEdit;

namespace vasora::labbook {

class frmLBUser final : public QWidget, public forms::ControlHost {
    Q_OBJECT
  public:
    explicit frmLBUser(QWidget* parent = nullptr);

    void saveNewFile();
    void retrieveFile();
    void explore();
    /// The keyboard focus on "Explore", the choice offered first.
    void focusExplore();

  protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void takeProjectPath(const QString& typed);
    void takeDerivedPaths();
    void showChosen(const QString& boxText);
    void showDisplay();
    void exitToMain();

    QLineEdit* m_sourcePath;
};

/// The project folder as typed in a path box: the platform's separators, one at the end.
QString projectPathFrom(const QString& typed);

}  // namespace vasora::labbook
