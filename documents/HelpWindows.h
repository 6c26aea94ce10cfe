#pragma once

// The two help windows: read-only rich texts with a Return button. frmHelp explains the lab
// book's files and saving; frmOptionHelp the options window. Each loads its text once, when
// it is first used.

#include <QWidget>
#include <functional>

#include "shell/Forms.h"

namespace vasora::documents {

class ScrivoControl;

class HelpWindow final : public QWidget, public forms::Loadable, public forms::ControlHost {
    Q_OBJECT
  public:
    struct Design {
        forms::FormName name;
        QString caption;
        QString controlName;
        QString returnCaption;
        /// The help file, from the application state when the window loads.
        std::function<QString()> file;
        /// Whether the load step shows the window (frmHelp) or leaves that to its caller.
        bool showOnLoad = false;
        /// What Return does besides hiding the window.
        std::function<void()> onReturn;
    };

    explicit HelpWindow(Design design, QWidget* parent = nullptr);
    void load() override;
    ScrivoControl* text() const { return m_text; }

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void returnClicked();

    Design m_design;
    ScrivoControl* m_text;
};

/// The designs of the program's two help windows.
HelpWindow::Design fileHelpDesign();
HelpWindow::Design optionsHelpDesign();

}  // namespace vasora::documents
