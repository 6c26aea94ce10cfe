#include "documents/PlainText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace vasora::documents {
namespace {

QString blockText(const QTextBlock& b) {
    QString s = b.text();
    s.replace(QChar(QChar::LineSeparator), QLatin1Char(' '));
    s.remove(QChar(QChar::ObjectReplacementCharacter));
    return s;
}

QString cellText(const QTextTableCell& cell) {
    QStringList parts;
    for (auto it = cell.begin(); !it.atEnd(); ++it)
        if (it.currentBlock().isValid()) parts.append(blockText(it.currentBlock()));
    return parts.join(QLatin1Char(' '));
}

void frameText(const QTextFrame* f, QStringList& lines) {
    for (auto it = f->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* t = qobject_cast<const QTextTable*>(child)) {
                for (int r = 0; r < t->rows(); ++r) {
                    QStringList cells;
                    for (int c = 0; c < t->columns(); ++c) {
                        const QTextTableCell cell = t->cellAt(r, c);
                        if (cell.row() == r && cell.column() == c) cells.append(cellText(cell));
                    }
                    lines.append(cells.join(QLatin1Char('\t')));
                }
            } else {
                frameText(child, lines);
            }
        } else if (it.currentBlock().isValid()) {
            lines.append(blockText(it.currentBlock()));
        }
    }
}

}  // namespace

QString plainText(const QTextDocument& doc) {
    QStringList lines;
    frameText(doc.rootFrame(), lines);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace vasora::documents
