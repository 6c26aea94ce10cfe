#pragma once

// The information viewer: the information file with its contents tree, links between its
// topics, a history of the places visited (Back and Forward), the index, a find box, and the
// way back to the lab book or the main menu.

#include <QWidget>

#include "shell/Forms.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vasora::documents {

class ScrivoControl;

class frmInfo final : public QWidget, public forms::Loadable, public forms::ControlHost {
    Q_OBJECT
  public:
    explicit frmInfo(QWidget* parent = nullptr);

    /// The load steps: the information file, the contents tree, the index heading.
    void load() override;

    ScrivoControl* text() const { return m_text; }
    QTreeWidget* tree() const { return m_tree; }
    int indexPara() const { return m_indexPara; }

    /// Shows the topic with the anchor 51000 + topic, as a link from the place shown now would;
    /// false (and the learner told) when the file has no such anchor.
    bool showTopic(int topic);

    /// A link of the lab book: the anchor `anchorCode` (51NNN) is searched from the top of the
    /// file, brought to the top of the view and remembered as the place the link left from;
    /// the viewer is shown. False, with the viewer left as it was and nothing reported, when
    /// the file has no such anchor.
    bool showAnchor(int anchorCode);

    /// Looks for `text` after the cursor (from the top again past the end) and brings it into
    /// view; false when the text is nowhere in the file.
    bool findNext(const QString& text);

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    QPushButton* button(const char* name, const QString& caption, const QString& tip = {});
    void layoutControls();
    void tagClicked();
    bool followAnchor(int anchorCode, bool reportMissing);
    void walkHistory(bool back);
    void updateHistoryButtons();
    void showHideContents();
    void scrollToParagraph(int paragraph);
    void returnClicked();
    void toMainClicked();

    ScrivoControl* m_text;
    QTreeWidget* m_tree;
    QPushButton* m_back;
    QPushButton* m_forward;
    QPushButton* m_index;
    QPushButton* m_buildTree;
    QPushButton* m_showHide;
    QPushButton* m_return;
    QPushButton* m_toMain;
    QLineEdit* m_find;
    int m_indexPara = 0;
    int m_linkFromPara = 0, m_linkFromChar = 0;
};

}  // namespace vasora::documents
