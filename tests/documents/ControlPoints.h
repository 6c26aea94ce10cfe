#pragma once

// Where the tests point the mouse in a text control, whatever fonts the machine has and
// wherever its lines happen to wrap.

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QPoint>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextLayout>

namespace vasora::test {

/// The viewport point over the middle of the character at an absolute position. The character's
/// width is measured on its own line, so a character that ends a line (the next one wrapping to
/// the line below) is hit too.
inline QPoint characterPoint(const QTextEdit& edit, int position) {
    QTextCursor c(edit.document());
    c.setPosition(position);
    const QRect left = edit.cursorRect(c);
    const QTextBlock block = c.block();
    const int inBlock = position - block.position();
    int width = 0;
    if (const QTextLayout* layout = block.layout(); layout && inBlock < block.length() - 1) {
        const QTextLine line = layout->lineForTextPosition(inBlock);
        if (line.isValid()) width = int(line.cursorToX(inBlock + 1) - line.cursorToX(inBlock));
    }
    return QPoint(left.x() + std::max(1, width / 2), left.center().y());
}

/// The same point after the view has scrolled, as a learner scrolls, so that the character is in
/// view; the cursor stays where it is.
inline QPoint pointInView(QTextEdit& edit, int position) {
    // The scroll range follows the layout, which is made as the text is first shown.
    edit.document()->documentLayout()->documentSize();
    QCoreApplication::processEvents();
    QTextCursor c(edit.document());
    c.setPosition(position);
    const QRect r = edit.cursorRect(c);
    QScrollBar* bar = edit.verticalScrollBar();
    const int h = edit.viewport()->height();
    if (r.top() < 0 || r.bottom() > h) bar->setValue(bar->value() + r.center().y() - h / 2);
    return characterPoint(edit, position);
}

}  // namespace vasora::test
