#include "documents/ContentsTree.h"

#include <QTreeWidget>

#include "documents/ScrivoControl.h"
#include "shell/Dialogs.h"

namespace vasora::documents {

namespace {
constexpr int kTagRole = Qt::UserRole;
}

QString nodeTag(int paragraph, int character) {
    return QLatin1Char(' ') + QString::number(qint64(paragraph) * 10000 + character);
}

int BuildContentsTree(ScrivoControl& control, QTreeWidget& tree, const ContentsTreeKind& kind) {
    tree.clear();
    tree.setHeaderHidden(true);
    auto* root = new QTreeWidgetItem(&tree, {kind.rootText});
    root->setData(0, kTagRole, QString());
    QTreeWidgetItem* level1 = nullptr;
    int indexPara = 0;

    // Every tag once, from the start: each search begins where the tag found before ends, so a
    // heading is never skipped or met twice, whatever tags stand next to each other.
    control.setRangeStart(0);
    control.setRangeLength(0);
    while (ScrivoAPI::FIND_NTAG(control, 0, 1) > 0) {
        const TagSpan t = control.currentTag();
        if (!t.valid()) break;
        const int code = t.code;
        if (code == 91000 || code == 92000) {
            const QString text = control.TagText();
            const QString tag = nodeTag(control.CursorPara(), control.CursorChar());
            // A level-2 heading before any level-1 heading hangs on the root.
            QTreeWidgetItem* parent = code == 91000 || !level1 ? root : level1;
            auto* node = new QTreeWidgetItem(parent, {text});
            node->setData(0, kTagRole, tag);
            if (code == 91000) {
                level1 = node;
                if (kind.recordIndex &&
                    text.trimmed().left(7).toUpper() == QLatin1String(">>INDEX"))
                    indexPara = control.CursorPara();
            }
        }
        control.setRangeStart(t.end());
        control.setRangeLength(0);
    }
    root->setExpanded(true);
    control.setCursorPara(0);
    control.setCursorChar(0);
    control.setRangeStart(0);
    return indexPara;
}

int contentsNodeClicked(ScrivoControl& control, const QTreeWidgetItem* node) {
    if (!node) return -1;
    const QString s = node->data(0, kTagRole).toString();
    // The root has no position of its own: it stands for the top of the text.
    if (s == QLatin1String(" ")) {
        ui::messageBox(QStringLiteral("No text for this item."), {}, &control);
        return -1;
    }
    const qint64 v = s.trimmed().toLongLong();
    const int paragraph = int(v / 10000);
    const int character = int(v - qint64(paragraph) * 10000);
    control.setCursorPara(paragraph);
    control.setCursorChar(character);
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(control, paragraph, 0, x, y);
    control.setScrollTop(y);
    return paragraph;
}

}  // namespace vasora::documents
