#pragma once

// Where the tests point the mouse in a text control.

#include <QPoint>
#include <QTextCursor>
#include <QTextEdit>

namespace vasora::test {

/// The viewport point over the middle of the character at an absolute position.
inline QPoint characterPoint(const QTextEdit& edit, int position) {
    QTextCursor c(edit.document());
    c.setPosition(position);
    const QRect left = edit.cursorRect(c);
    c.setPosition(position + 1);
    const QRect right = edit.cursorRect(c);
    return QPoint((left.x() + right.x()) / 2, left.center().y());
}

}  // namespace vasora::test
