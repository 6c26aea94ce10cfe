#pragma once

// The lab book display: the learner's lab book in the rich-text control, with its contents tree
// on the left and buttons to the model, the strip chart and the main menu. It opens beside the
// model window; typing is confined to the book's fields (TypingGuard), and a click on a tag runs
// the lab book's tag event.

#include <QString>
#include <QWidget>

#include "shell/Forms.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vasora::documents {
class ScrivoControl;
}

namespace vasora::labbook {

class TypingGuard;

/// Where the display's view was, for its scrolling, and the input field last clicked.
struct DisplayState {
    qint32 RememberedPara = 0;    ///< paragraph last jumped to
    qint32 RememberedOffset = 0;  ///< subtracted from that paragraph's y when the view returns
    qint16 FieldStart = 0;        ///< CursorChar at the start of the input field last clicked
    qint16 FieldLength = 0;       ///< its length
};

class frmDisplay final : public QWidget, public forms::Loadable, public forms::ControlHost {
    Q_OBJECT
  public:
    explicit frmDisplay(QWidget* parent = nullptr);

    /// The load steps: the control set up, and the chosen lab book loaded.
    void load() override;

    /// Loads LabBookFile with its contents tree when a lab book has been chosen (LabBookState
    /// 1), unless that very book is open already. A book that cannot be read is reported with
    /// its name, and the display is left empty and the book not loaded (LabBookState stays 1).
    void loadChosen();

    documents::ScrivoControl* text() const { return m_text; }
    QTreeWidget* tree() const { return m_tree; }
    TypingGuard* guard() const { return m_guard; }
    DisplayState& state() { return m_state; }

    /// The file of the lab book loaded completely into the control; empty when none is.
    QString loadedFile() const { return m_loadedFile; }
    /// Whether the learner's book has changed since it was loaded or last saved.
    bool changedSinceSaved() const;
    /// The next loadChosen reads the file again even when it is the one shown (a fresh copy of
    /// the template has replaced it).
    void forgetLoaded() { m_loadedFile.clear(); }

  protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    QPushButton* button(const char* name, const QString& caption, const QString& tip = {});
    void layoutControls();
    void showHideContents();
    void scrollToRemembered();
    void buildTree();
    void leaveEmpty();
    void showTextMenu(const QPoint& at);

    documents::ScrivoControl* m_text;
    QTreeWidget* m_tree;
    QPushButton* m_plotData;
    QPushButton* m_saveLB;
    QPushButton* m_loadModel;
    QPushButton* m_buildTree;
    QPushButton* m_showHide;
    QPushButton* m_mainMenu;
    QLabel* m_expose;
    TypingGuard* m_guard;
    DisplayState m_state;
    QString m_loadedFile;
    bool m_widthChecked = false;
};

}  // namespace vasora::labbook
