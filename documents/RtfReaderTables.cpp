// The RTF reader's tables: row definitions, cells, merged cells, and the rows of a table built
// in Qt's text document as the cells come.

#include "documents/RtfFormat.h"
#include "documents/RtfReaderImpl.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace vasora::documents::rtf {
namespace {

// The most rows added to a table at once. Removing rows costs Qt time that grows with both
// their number and the table's size, so few may be left over.
constexpr int kRowBatch = 32;

}  // namespace

bool Reader::tableWord(Word w, int param) {
    ParaState& pa = m_st.para;
    switch (w) {
        case wCell:
            if (pa.nesting <= 1) {
                nextCell();
                return true;
            }
            [[fallthrough]];
        case wNestCell:
            // A nested table's row is a line of its outer cell, its cells apart by tabs; the
            // tab goes in when the next cell has something, so a row ends without one.
            m_ucSkip = 0;
            if (m_nestTabPending) {  // the cell before was empty
                m_nestTabPending = false;
                appendChar(QLatin1Char('\t'));
            }
            m_nestTabPending = true;
            return true;
        case wNestRow:
            m_ucSkip = 0;
            m_nestTabPending = false;
            endParagraph();
            return true;
        case wRow:
            if (!m_rowOpen) beginRow();
            if (m_rowOpen) finishRow();
            return true;
        case wTrowd:
            // An empty paragraph in front of a table, as the writer leaves one with no paragraph
            // mark of its own, takes the paragraph properties given before the row: they are
            // reset by the row's first \pard, and would be lost save after save.
            if (!m_table && !m_rowOpen && m_text.isEmpty() && !m_cur.currentTable() &&
                m_cur.block().length() == 1)
                applyBlockFormat();
            m_rowDef.clear();
            m_cellDef = {};
            return true;
        case wCellx:
            // Edges beyond a few metres are no table a page can hold.
            m_cellDef.edge = std::clamp(param, -RtfLimits::kMaxTableEdge, RtfLimits::kMaxTableEdge);
            if (int(m_rowDef.size()) < RtfLimits::kMaxTableColumns)
                m_rowDef.push_back(m_cellDef);
            else
                problem(QStringLiteral("a table row has more cells than allowed"));
            m_cellDef = {};
            return true;
        case wClmgf:
            m_cellDef.hFirst = true;
            return true;
        case wClmrg:
            m_cellDef.hMerge = true;
            return true;
        case wClvmgf:
            m_cellDef.vFirst = true;
            return true;
        case wClvmrg:
            m_cellDef.vMerge = true;
            return true;
        case wIntbl:
            pa.inTable = true;
            return true;
        case wItap:
            pa.nesting = std::clamp(param, 0, 1000);
            pa.inTable = pa.nesting > 0;
            return true;
        default:
            return false;
    }
}

void Reader::beginRow() {
    const int wanted = std::max(1, int(m_rowDef.size()));
    if (m_table && m_tableRows >= RtfLimits::kMaxTableRows) endTable();
    if (!roomFor(m_table ? std::max(wanted, m_table->columns()) : wanted)) return;
    if (!m_table) {
        // The paragraph mark before a table ends the paragraph above it; Qt places a table
        // after the block the cursor is in, so an empty block left by that mark is removed.
        const QTextBlock block = m_cur.block();
        if (block.length() == 1 && block.previous().isValid() &&
            !QTextCursor(block.previous()).currentTable() && !m_cur.currentTable() &&
            !m_cur.currentFrame()->parentFrame()) {
            m_cur.deletePreviousChar();
            m_blockAtCursorKnown = false;
        }
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setCellPadding(3);
        tf.setCellSpacing(0);
        tf.setBorderCollapse(true);
        QList<int> edges;
        QList<QTextLength> widths;
        int last = 0;
        for (const CellDef& d : m_rowDef) {
            edges.append(d.edge);
            widths.append(QTextLength(QTextLength::FixedLength,
                                      std::max<qreal>(4, twipsToPixels(d.edge - last))));
            last = d.edge;
        }
        if (!edges.isEmpty()) {
            tf.setProperty(kCellEdgesProperty, QVariant::fromValue(edges));
            tf.setColumnWidthConstraints(widths);
        }
        m_table = m_cur.insertTable(1, wanted, tf);
        m_tableRows = 0;
        m_blockAtCursorKnown = false;
        m_vStart.assign(size_t(wanted), -1);
    } else {
        // Every change to a table's rows makes Qt rebuild its grid of cells, so rows are
        // added in growing batches; endTable() removes the ones left over.
        if (m_tableRows >= m_table->rows())
            m_table->appendRows(std::clamp(m_tableRows, 1, kRowBatch));
        if (m_table->columns() < wanted) m_table->appendColumns(wanted - m_table->columns());
    }
    m_vStart.resize(size_t(m_table->columns()), -1);
    m_row = m_tableRows++;
    m_cellIndex = 0;
    m_cellsInRow = 0;
    m_rowOpen = true;
    moveToCell(m_row, 0);
}

void Reader::moveToCell(int row, int column) {
    const QTextTableCell cell = m_table->cellAt(row, column);
    if (cell.isValid()) m_cur = cell.lastCursorPosition();
    m_blockAtCursorKnown = false;
}

void Reader::nextCell() {
    if (!m_rowOpen) beginRow();
    if (!m_rowOpen) return;
    ensureCell();
    numberParagraph(true);
    m_paraNumbered = false;
    m_paraHasListText = false;
    m_nestTabPending = false;
    applyBlockFormat();
    ++m_cellIndex;
    // The next cell is made when something comes for it, so the mark after a row's last cell
    // adds no column.
    m_cellsInRow = std::max(m_cellsInRow, m_cellIndex);
    if (m_cellIndex < m_table->columns()) moveToCell(m_row, m_cellIndex);
}

void Reader::ensureCell() {
    if (m_cellIndex < m_table->columns()) return;
    const int more = m_cellIndex + 1 - m_table->columns();
    if (m_table->columns() < RtfLimits::kMaxTableColumns && roomFor(more * m_tableRows)) {
        m_table->appendColumns(more);
        m_vStart.resize(size_t(m_table->columns()), -1);
    } else {
        if (!m_full) problem(QStringLiteral("a table row has more cells than allowed"));
        m_cellIndex = m_table->columns() - 1;
    }
    moveToCell(m_row, m_cellIndex);
}

void Reader::finishRow() {
    const int columns = m_table->columns();
    const int defined = std::min(int(m_rowDef.size()), columns);
    // Cells merged with the one on their left.
    for (int c = 1; c < defined; ++c) {
        if (!m_rowDef[size_t(c)].hMerge) continue;
        int s = c;
        while (s > 0 && m_rowDef[size_t(s)].hMerge) --s;
        int e = c;
        while (e + 1 < defined && m_rowDef[size_t(e + 1)].hMerge) ++e;
        mergeCells(m_row, s, 1, e - s + 1);
        c = e;
    }
    // A row with fewer cells than the table: its last cell takes the rest of the width.
    const int used = std::max(defined, std::min(m_cellsInRow, columns));
    if (used >= 1 && used < columns) mergeCells(m_row, used - 1, 1, columns - used + 1);
    // Cells merged with the one above.
    for (int c = 0; c < defined; ++c) {
        const CellDef& d = m_rowDef[size_t(c)];
        if (d.vFirst) {
            m_vStart[size_t(c)] = m_row;
        } else if (d.vMerge && m_vStart[size_t(c)] >= 0 && !d.hMerge) {
            const QTextTableCell top = m_table->cellAt(m_vStart[size_t(c)], c);
            const QTextTableCell here = m_table->cellAt(m_row, c);
            if (top.column() == c && top.columnSpan() == here.columnSpan() && here.row() == m_row)
                mergeCells(m_vStart[size_t(c)], c, m_row - m_vStart[size_t(c)] + 1,
                           top.columnSpan());
        } else {
            m_vStart[size_t(c)] = -1;
        }
    }
    m_rowOpen = false;
    m_cellIndex = 0;
}

void Reader::mergeCells(int row, int column, int rows, int columns) {
    // Qt merges an empty cell away by joining its paragraph to the one before it, which then
    // takes the merged cell's paragraph format: a paragraph of another cell (the row above's
    // last one, for a cell merged with the one above it) would change its look, and it would
    // change again when the file is read back. The empty cell takes that format first.
    for (int r = row; r < row + rows; ++r) {
        for (int c = column; c < column + columns; ++c) {
            if (r == row && c == column) continue;
            const QTextTableCell cell = m_table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) continue;
            if (cell.firstPosition() != cell.lastPosition()) continue;
            const QTextBlock before = m_doc.findBlock(cell.firstPosition() - 1);
            cell.firstCursorPosition().setBlockFormat(before.blockFormat());
        }
    }
    m_table->mergeCells(row, column, rows, columns);
    m_blockAtCursorKnown = false;
}

void Reader::endTable() {
    if (m_rowOpen) finishRow();
    if (m_table->rows() > m_tableRows)
        m_table->removeRows(m_tableRows, m_table->rows() - m_tableRows);
    m_cur.setPosition(m_table->lastPosition() + 1);
    m_blockAtCursorKnown = false;
    m_table = nullptr;
    m_vStart.clear();
}

}  // namespace vasora::documents::rtf
