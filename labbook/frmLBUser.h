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
    /// Opens `path` as the learner's own lab book, as "Retrieve File" does with the file chosen
    /// in its dialog: a file that is no lab book is reported once and the open book stays.
    /// Returns whether the book was taken (the display then shows it).
    bool openLabBook(const QString& path);
    void explore();
    /// The keyboard focus on "Explore", the choice offered first.
    void focusExplore();

  protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    bool openChosen(const QString& chosen, const QString& typedProject);
    void takeProjectPath(const QString& typed);
    void takeDerivedPaths();
    void showChosen(const QString& boxText);
    /// The learner's own lab book `file` (named `name`) becomes the chosen one, with the
    /// project folder typed; shown in the box, not yet read.
    void takeLabBook(const QString& name, const QString& file, const QString& typedProject);
    void showDisplay();
    void exitToMain();

    QLineEdit* m_sourcePath;
};

/// The project folder as typed in a path box: the platform's separators, one at the end.
QString projectPathFrom(const QString& typed);

}  // namespace vasora::labbook
