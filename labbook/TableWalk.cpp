#include "labbook/TableWalk.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "core/TagCodes.h"
#include "labbook/CV_Tags.h"
#include "model/Vasora_Model_coding.h"
#include "workbench/UndoHistory.h"

namespace vasora::labbook {

namespace {

using documents::TagSpan;

constexpr int kCellWidth = 7;
constexpr int kValueWidth = 6;

struct Parts {
    std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
};

Parts split(int code) {
    Parts p;
    // Codes read from a document are always within range.
    SplitTag(code, p.kind, p.p2, p.p3, p.p4);
    return p;
}

// Blanks only, as the learner's eye sees them; other white space belongs to the value.
QString trimBlanks(const QString& s) {
    qsizetype from = 0, to = s.size();
    while (from < to && s[from] == QLatin1Char(' ')) ++from;
    while (to > from && s[to - 1] == QLatin1Char(' ')) --to;
    return s.mid(from, to - from);
}

// The cells written by one click are one edit of the document, so that a view lays the table
// out once rather than once per cell. The edit is closed whenever a message box may come up or
// the model may run, since windows repaint then.
class EditBatch final {
  public:
    explicit EditBatch(QTextDocument& doc) : m_cursor(&doc) {}
    ~EditBatch() { close(); }
    EditBatch(const EditBatch&) = delete;
    EditBatch& operator=(const EditBatch&) = delete;
    void open() {
        if (!m_open) m_cursor.beginEditBlock();
        m_open = true;
    }
    void close() {
        if (m_open) m_cursor.endEditBlock();
        m_open = false;
    }

  private:
    QTextCursor m_cursor;
    bool m_open = false;
};

// The text of a table cell, trimmed.
QString cellTextAt(QTextTable& t, int row, int column) {
    const QTextTableCell cell = t.cellAt(row, column);
    if (!cell.isValid()) return {};
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText().simplified();
}

// A cell as the book shows it: the table's name, from its start marker, and the heading of the
// cell's row (or of its column, where the cell heads its row).
QString bookCellName(QTextDocument& doc, const TagSpan& cell, const TagSpan& marker) {
    QTextCursor at(&doc);
    at.setPosition(marker.valid() ? marker.start : 0);
    const QString markerText = marker.valid() ? documents::tagText(doc, marker).trimmed() : "";
    // A marker that starts a row inside a table (the plot table's rows) names the row.
    const QString table = markerText.isEmpty() ? QStringLiteral("The table")
                          : at.currentTable()  ? QStringLiteral("The row ") + markerText
                                               : markerText;
    at.setPosition(cell.start);
    QTextTable* t = at.currentTable();
    if (!t) return table + QStringLiteral(", the cell");
    const QTextTableCell c = t->cellAt(at);
    QString heading = c.column() > 0 ? cellTextAt(*t, c.row(), 0) : QString();
    if (heading.isEmpty() && c.row() > 0) heading = cellTextAt(*t, 0, c.column());
    return heading.isEmpty() ? table + QStringLiteral(", the cell")
                             : table + QStringLiteral(", the cell of ") + heading;
}

// Before an input table is applied, every cell it would apply is checked: a cell that holds no
// number, or a value the model cannot take, is reported by the book's own names for table and
// cell, and nothing of the table is applied.
bool inputsReady(QTextDocument& doc, const TagSpan& button, int table) {
    std::vector<TagSpan> inputs;
    TagSpan marker;
    for (TagSpan t = documents::findTag(doc, button.start, -1, true, 0); t.valid();
         t = documents::findTag(doc, t.start, -1, true, 0)) {
        const Parts p = split(t.code);
        if (p.kind == kTagTableStart) {
            marker = t;
            break;
        }
        if (p.kind == kTagInputCell && p.p2 == table) inputs.push_back(t);
    }
    for (const TagSpan& t : inputs) {
        const QString name = bookCellName(doc, t, marker);
        const std::string why =
            inputCellProblem(t.code, documents::tagText(doc, t).toStdString(), name.toStdString());
        if (!why.empty()) {
            model::view().message(why);
            return false;
        }
    }
    return true;
}

void walkTable(QTextDocument& doc, const TagSpan& button, TableClick& click) {
    if (!inputsReady(doc, button, click.table)) return;
    EditBatch batch(doc);
    // One click of an input table is one step for Undo, however many cells it applies.
    bool remembered = false;
    for (TagSpan t = documents::findTag(doc, button.start, -1, true, 0); t.valid();
         t = documents::findTag(doc, t.start, -1, true, 0)) {
        const Parts p = split(t.code);
        if (p.kind == kTagTableStart) {
            click.name = documents::tagText(doc, t).trimmed();
            return;
        }
        if (p.p2 != click.table) continue;
        if (p.kind == kTagOutputCell) {
            // Only a cell the table does not have brings up a message.
            const OutputCell::Kind k = outputCell(p.p3, p.p4).kind;
            if (k != OutputCell::Label && k != OutputCell::Empty) batch.close();
            const QString s = cellText(QString::fromStdString(Get_It(t.code)));
            batch.open();
            // The cell keeps its code and its number; only its text changes.
            documents::setTagText(doc, t, s);
            click.cells.push_back({t.code, s});
            ++click.outputs;
        } else if (p.kind == kTagInputCell) {
            batch.close();
            const QString s = documents::tagText(doc, t);
            if (!remembered) workbench::rememberForUndo();
            remembered = true;
            Put_It(t.code, s.toStdString());
            click.cells.push_back({t.code, s});
            ++click.inputs;
        }
    }
}

void walkPlotTable(QTextDocument& doc, const TagSpan& button, TableClick& click) {
    int index = 10, axis = 2;
    for (TagSpan t = documents::findTag(doc, button.start, -1, true, 0); t.valid();
         t = documents::findTag(doc, t.start, -1, true, 0)) {
        const Parts p = split(t.code);
        if (p.kind == kTagPlotStart) {
            click.name = documents::tagText(doc, t).trimmed();
            return;
        }
        // The walk passes over the rows' own markers and buttons and takes every cell.
        if (p.kind != kTagOutputCell && p.kind != kTagInputCell) continue;
        if (index < 0) {
            model::view().message(kPlotLayoutError);
            return;
        }
        const QString s = documents::tagText(doc, t);
        LoadPlotCell(s.toStdString(), std::int16_t(index), std::int16_t(axis));
        click.cells.push_back({t.code, s});
        ++click.plotCells;
        if (--axis < 0) {
            axis = 2;
            --index;
        }
    }
}

}  // namespace

QString cellText(const QString& caption) {
    return trimBlanks(caption).left(kValueWidth).leftJustified(kCellWidth, QLatin1Char(' '));
}

TableClick clickTableButton(QTextDocument& doc, const documents::TagSpan& button) {
    TableClick click;
    click.table = split(button.code).p2;
    if (click.plot())
        walkPlotTable(doc, button, click);
    else
        walkTable(doc, button, click);
    return click;
}

}  // namespace vasora::labbook
