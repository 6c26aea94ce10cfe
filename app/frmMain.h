#pragma once

// The main menu: the first window. Its load step fixes the project folder and the paths of the
// shipped files and primes the model window and the layout sheet.

#include <QWidget>

#include "shell/Forms.h"

class QLineEdit;
class QVBoxLayout;

namespace vasora {

class frmMain final : public QWidget, public forms::ControlHost, public forms::Loadable {
    Q_OBJECT
  public:
    explicit frmMain(QWidget* parent = nullptr);

    /// The start-up steps.
    void load() override;

    /// What ends the program; tests replace it so that quitting does not end the test run.
    static void setQuitHandler(std::function<void()> quit);
    /// The program's own ending: every window goes and the event loop ends, whatever state
    /// the windows are in.
    static void endProgram();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void buildTitle(QVBoxLayout& v);
    void buildButtons(QVBoxLayout& v);
    void buildPath(QVBoxLayout& v);
    void infoClicked();
    void labBookClicked();
    void modelClicked();
    void conceptsClicked();
    void layoutClicked();
    void helpClicked();
    void quit();

    bool m_quitting = false;
    QLineEdit* m_sourcePath = nullptr;
    QWidget* m_lastButton = nullptr;
};

}  // namespace vasora
