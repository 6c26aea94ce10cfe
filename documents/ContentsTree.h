#pragma once

// The two-level contents tree of a document, built once from its heading tags (91000 level 1,
// 92000 level 2), for the lab book display and the information viewer alike.

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

namespace vasora::documents {

class ScrivoControl;

/// How the two viewers' trees differ.
struct ContentsTreeKind final {
    QString rootText;  ///< "Lab Book Contents", "Information file Contents"
    /// The information viewer records the paragraph of its ">>INDEX" heading.
    bool recordIndex = false;
};

/// The node's tag: the heading's position as " " + paragraph x 10000 + character.
QString nodeTag(int paragraph, int character);

/// Fills the tree from the control's headings: the root, each level-1 heading under it, each
/// level-2 heading under the level-1 heading before it (under the root when none came before).
/// Every heading is found once, in order, whatever else the document holds; the cursor is left
/// at the start. Returns the ">>INDEX" paragraph when asked to record it, else 0 (also when the
/// document has none).
int BuildContentsTree(ScrivoControl& control, QTreeWidget& tree, const ContentsTreeKind& kind);

/// A click on a node: the cursor goes to the node's heading and the view brings it to the top.
/// Returns the heading's paragraph, or -1 for a node without a position (then the learner is
/// told "No text for this item.").
int contentsNodeClicked(ScrivoControl& control, const QTreeWidgetItem* node);

}  // namespace vasora::documents
