#include "documents/DocSource.h"
#include "documents/DocSourceText.h"

#include "documents/TableWidths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include "documents/RtfFormat.h"

namespace vasora::documents {

QString SourceProblem::toString() const {
    return QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message);
}

namespace {

// The look of the compiled documents. Sizes are in points; the reader of any word processor
// takes them as they are.
const QString kFamily = QStringLiteral("Arial");
constexpr qreal kBodySize = 11, kTitleSize = 20, kH1Size = 16, kH2Size = 13;
const QColor kHeadingColour(0x1f, 0x3a, 0x68);
const QColor kNoteColour(0x40, 0x40, 0x48);
// An empty answer field of the template: room to click into and type. Its blanks do not break,
// so that the field wraps to the next line as a whole rather than hang, unseen, past the end
// of a line.
constexpr int kAnswerBlanks = 12;
constexpr QChar kFieldBlank(0x00A0);

struct Line {
    QString text;
    int file = 0;
    int number = 0;
};

struct Heading {
    int level = 0;
    QString title;
    int anchor = -1;  ///< NNN of 51NNN, or -1
    QString number;   ///< "3", "3.2", or empty when unnumbered
};

struct Run {
    QString text;
    bool bold = false, italic = false, sup = false, sub = false;
    int tag = -1;
};

// The runs of a paragraph as they are read, and the run being read.
struct RunBuilder {
    std::vector<Run> runs;
    Run cur;
    void flush() {
        if (!cur.text.isEmpty()) runs.push_back(cur);
        cur.text.clear();
        cur.tag = -1;
    }
};

class Compiler final {
  public:
    Compiler(const QList<SourceFile>& files, QTextDocument& doc, SourceResult& result,
             SourceVariant variant)
        : m_files(files), m_doc(doc), m_result(result), m_cursor(&doc), m_variant(variant) {}

    void run();

  private:
    void problem(const Line& l, const QString& message) {
        m_result.problems.append({m_files[l.file].name, l.number, message});
    }
    void collect();
    void emitBlocks();
    std::vector<Run> inlineRuns(const Line& where, const QString& s);
    // The marked-up pieces of a paragraph, each read from position i of s into b; each returns
    // the position of the last character it took.
    int answerField(const Line& where, const QString& s, int i, RunBuilder& b);
    int tagRun(const Line& where, const QString& s, int i, RunBuilder& b);
    int linkRun(const Line& where, const QString& s, int i, RunBuilder& b);
    // The blocks emitBlocks writes besides paragraphs, headings and tables.
    void titleBlock();
    void figureBlock(const QTextBlockFormat& para, const QString& number);
    void listItem(const Line& l, const QString& text, const QRegularExpression& numbered);
    /// The runs of every cell of a table (into runs) and what each cell holds, for measuring.
    std::vector<std::vector<CellText>> readCells(
        const std::vector<std::pair<Line, QStringList>>& cells, int headerRows,
        std::vector<std::vector<std::vector<Run>>>& runs);
    void newBlock(const QTextBlockFormat& bf);
    void writeRuns(const std::vector<Run>& runs, QTextCharFormat base);
    void writeTag(int code, const QString& text, QTextCharFormat f);
    void heading(const Line& l, const Heading& h);
    void paragraph(const Line& l, const QString& text, const QTextBlockFormat& bf,
                   const QTextCharFormat& cf = {});
    void table(const std::vector<Line>& rows);
    void index();
    QTextCharFormat body() const;

    static bool parseHeading(const QString& text, Heading& h, QString& error);

    const QList<SourceFile>& m_files;
    QTextDocument& m_doc;
    SourceResult& m_result;
    QTextCursor m_cursor;
    std::vector<Line> m_lines;
    std::vector<Heading> m_headings;
    QString m_title;
    SourceVariant m_variant;
    bool m_numbered = true;
    double m_tableWidth = kTextTableBudget;  ///< pixels a table of text may take
    bool m_firstBlock = true;
    int m_nextTagId = 1;
    std::size_t m_headingIndex = 0;
};

bool Compiler::parseHeading(const QString& text, Heading& h, QString& error) {
    static const QRegularExpression re(
        QStringLiteral("^(#{1,3})\\s+(.*?)\\s*(\\{(#(\\d{1,3})|-)\\})?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return false;
    h.level = int(m.captured(1).size());
    h.title = m.captured(2);
    if (h.title.isEmpty()) error = QStringLiteral("a heading without a title");
    if (!m.captured(5).isEmpty()) h.anchor = m.captured(5).toInt();
    if (m.captured(3) == QLatin1String("{-}")) h.anchor = -2;  // unnumbered
    return true;
}

void Compiler::collect() {
    for (int f = 0; f < m_files.size(); ++f) {
        const QStringList lines = m_files[f].text.split(QLatin1Char('\n'));
        bool header = true;
        for (int i = 0; i < lines.size(); ++i) {
            QString t = lines[i];
            if (t.endsWith(QLatin1Char('\r'))) t.chop(1);
            if (t.startsWith(QLatin1String("%%"))) continue;
            if (header && t.startsWith(QLatin1String("% "))) {
                const int colon = t.indexOf(QLatin1Char(':'));
                const QString key = t.mid(2, colon - 2).trimmed();
                const QString value = colon < 0 ? QString() : t.mid(colon + 1).trimmed();
                if (key == QLatin1String("title"))
                    m_title = value;
                else if (key == QLatin1String("numbered"))
                    m_numbered = value != QLatin1String("no");
                else if (key == QLatin1String("table width") && value.toInt() >= 200)
                    m_tableWidth = value.toInt();
                else
                    problem({t, f, i + 1}, QStringLiteral("unknown setting \"%1\"").arg(key));
                continue;
            }
            if (!t.trimmed().isEmpty()) header = false;
            m_lines.push_back({t, f, i + 1});
        }
        m_lines.push_back({QString(), f, int(lines.size()) + 1});  // files end a paragraph
    }
    // The headings and their numbers first, so that an index can stand anywhere.
    int n1 = 0, n2 = 0;
    QList<int> anchors;
    for (const Line& l : m_lines) {
        Heading h;
        QString error;
        if (!parseHeading(l.text, h, error)) continue;
        if (!error.isEmpty()) problem(l, error);
        if (h.level == 3) continue;
        if (h.anchor != -2 && m_numbered) {
            if (h.level == 1) {
                n2 = 0;
                h.number = QString::number(++n1);
            } else {
                h.number = QStringLiteral("%1.%2").arg(n1).arg(++n2);
            }
        }
        if (h.anchor >= 0) {
            if (anchors.contains(h.anchor))
                problem(l, QStringLiteral("anchor %1 is given twice").arg(h.anchor));
            anchors.append(h.anchor);
        }
        m_headings.push_back(h);
    }
}

QTextCharFormat Compiler::body() const {
    QTextCharFormat f;
    f.setFontFamilies({kFamily});
    f.setFontPointSize(kBodySize);
    return f;
}

std::vector<Run> Compiler::inlineRuns(const Line& where, const QString& s) {
    RunBuilder b;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\\') && i + 1 < s.size()) {
            b.cur.text += s[++i];
        } else if (s.mid(i, 2) == QLatin1String("{{")) {
            i = answerField(where, s, i, b);
        } else if (s.mid(i, 2) == QLatin1String("[[")) {
            i = tagRun(where, s, i, b);
        } else if (c == QLatin1Char('[')) {
            i = linkRun(where, s, i, b);
        } else if (s.mid(i, 2) == QLatin1String("**")) {
            b.flush();
            b.cur.bold = !b.cur.bold;
            ++i;
        } else if (c == QLatin1Char('*')) {
            b.flush();
            b.cur.italic = !b.cur.italic;
        } else if (c == QLatin1Char('^')) {
            b.flush();
            b.cur.sup = !b.cur.sup;
        } else if (c == QLatin1Char('~')) {
            b.flush();
            b.cur.sub = !b.cur.sub;
        } else {
            b.cur.text += c;
        }
    }
    b.flush();
    if (b.cur.bold || b.cur.italic || b.cur.sup || b.cur.sub)
        problem(where, QStringLiteral("a ** * ^ or ~ is not closed in this paragraph"));
    return std::move(b.runs);
}

int Compiler::answerField(const Line& where, const QString& s, int i, RunBuilder& b) {
    // An answer field: empty in the template, the answer written in the sample.
    const int end = s.indexOf(QLatin1String("}}"), i + 2);
    if (end < 0) {
        problem(where, QStringLiteral("an answer must be {{text}}"));
        b.cur.text += s[i];
        return i;
    }
    b.flush();
    Run t = b.cur;
    const QString answer = s.mid(i + 2, end - i - 2).trimmed();
    if (answer.isEmpty()) problem(where, QStringLiteral("an answer field without an answer"));
    t.text = m_variant == SourceVariant::Sample ? QLatin1Char(' ') + answer + QLatin1Char(' ')
                                                : QString(kAnswerBlanks, kFieldBlank);
    t.tag = 61000;
    b.runs.push_back(t);
    return end + 1;
}

int Compiler::tagRun(const Line& where, const QString& s, int i, RunBuilder& b) {
    const int bar = s.indexOf(QLatin1Char('|'), i + 2);
    const int end = s.indexOf(QLatin1String("]]"), i + 2);
    bool ok = false;
    const int tag = bar > 0 && end > bar ? s.mid(i + 2, bar - i - 2).toInt(&ok) : -1;
    if (!ok || tag < 0 || tag > kMaxTagCode || end < 0) {
        problem(where, QStringLiteral("a tag must be [[CODE|text]] with a code of 0 to 99999"));
        // The whole malformed tag is kept as text, so that it is reported once.
        const int stop = end < 0 ? int(s.size()) : end + 2;
        b.cur.text += s.mid(i, stop - i);
        return stop - 1;
    }
    b.flush();
    Run t = b.cur;
    t.text = s.mid(bar + 1, end - bar - 1);
    t.tag = tag;
    if (t.text.isEmpty()) problem(where, QStringLiteral("tag %1 has no text").arg(tag));
    b.runs.push_back(t);
    return end + 1;
}

int Compiler::linkRun(const Line& where, const QString& s, int i, RunBuilder& b) {
    auto code = [](const QString& digits, int base) {
        bool ok = false;
        const int n = digits.toInt(&ok);
        return ok && n >= 0 && n <= 999 && !digits.isEmpty() && digits.size() <= 3 ? base + n : -1;
    };
    const int close = s.indexOf(QLatin1String("]("), i + 1);
    const int end = close < 0 ? -1 : s.indexOf(QLatin1Char(')'), close + 2);
    if (end < 0) {
        problem(where, QStringLiteral("a link must be [text](target)"));
        b.cur.text += s[i];
        return i;
    }
    const QString target = s.mid(close + 2, end - close - 2).trimmed();
    int tag = -1;
    if (target.startsWith(QLatin1Char('#')))
        tag = code(target.mid(1), 52000);
    else if (target.startsWith(QLatin1String("info:")))
        tag = code(target.mid(5), 51000);
    else if (target.startsWith(QLatin1String("fig:")))
        tag = code(target.mid(4), 53000);
    if (tag < 0) problem(where, QStringLiteral("unknown link target \"%1\"").arg(target));
    b.flush();
    Run t = b.cur;
    t.text = s.mid(i + 1, close - i - 1);
    t.tag = tag;
    b.runs.push_back(t);
    return end;
}

void Compiler::newBlock(const QTextBlockFormat& bf) {
    if (m_firstBlock) {
        m_cursor.setBlockFormat(bf);
        m_firstBlock = false;
    } else {
        m_cursor.insertBlock(bf);
    }
}

void Compiler::writeTag(int code, const QString& text, QTextCharFormat f) {
    f.setProperty(kTagCodeProperty, code);
    f.setProperty(kTagIdProperty, m_nextTagId++);
    m_cursor.insertText(text, f);
}

void Compiler::writeRuns(const std::vector<Run>& runs, QTextCharFormat base) {
    for (const Run& r : runs) {
        QTextCharFormat f = base;
        if (r.bold) f.setFontWeight(QFont::Bold);
        if (r.italic) f.setFontItalic(true);
        if (r.sup) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        if (r.sub) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        if (r.tag >= 0)
            writeTag(r.tag, r.text, f);
        else
            m_cursor.insertText(r.text, f);
    }
}

void Compiler::heading(const Line& l, const Heading& h) {
    QTextBlockFormat bf;
    QTextCharFormat cf = body();
    cf.setFontWeight(QFont::Bold);
    cf.setForeground(kHeadingColour);
    if (h.level == 3) {
        bf.setTopMargin(6);
        newBlock(bf);
        writeRuns(inlineRuns(l, h.title), cf);
        return;
    }
    bf.setHeadingLevel(h.level);
    bf.setTopMargin(h.level == 1 ? 18 : 12);
    bf.setBottomMargin(4);
    cf.setFontPointSize(h.level == 1 ? kH1Size : kH2Size);
    newBlock(bf);
    // The section number is the anchor's text where the section has one.
    if (!h.number.isEmpty() || h.anchor >= 0) {
        const QString number = h.number.isEmpty() ? QStringLiteral("\u00a7") : h.number;
        if (h.anchor >= 0)
            writeTag(51000 + h.anchor, number, cf);
        else
            m_cursor.insertText(number, cf);
        m_cursor.insertText(QStringLiteral(" "), cf);
    }
    writeTag(h.level == 1 ? 91000 : 92000, h.title, cf);
}

void Compiler::paragraph(const Line& l, const QString& text, const QTextBlockFormat& bf,
                         const QTextCharFormat& cf) {
    newBlock(bf);
    QTextCharFormat base = body();
    base.merge(cf);
    writeRuns(inlineRuns(l, text), base);
}

std::vector<std::vector<CellText>> Compiler::readCells(
    const std::vector<std::pair<Line, QStringList>>& cells, int headerRows,
    std::vector<std::vector<std::vector<Run>>>& runs) {
    std::vector<std::vector<CellText>> measured;
    for (std::size_t r = 0; r < cells.size(); ++r) {
        std::vector<CellText> row;
        runs.emplace_back();
        for (const QString& cell : cells[r].second) {
            CellText pieces;
            runs.back().push_back(inlineRuns(cells[r].first, cell));
            for (const Run& run : runs.back().back()) {
                const int kind = run.tag >= 0 ? run.tag / 10000 : -1;
                pieces.push_back({run.text, run.bold || int(r) < headerRows, run.tag >= 0,
                                  kind == 2 || kind == 3});
            }
            row.push_back(pieces);
        }
        measured.push_back(row);
    }
    return measured;
}

void Compiler::table(const std::vector<Line>& rows) {
    static const QRegularExpression rule(QStringLiteral("^\\|?\\s*:?-{3,}"));
    std::vector<std::pair<Line, QStringList>> cells;
    int headerRows = 0;
    for (const Line& l : rows) {
        if (rule.match(l.text.trimmed()).hasMatch()) {
            if (cells.size() == 1) headerRows = 1;
            continue;
        }
        cells.push_back({l, cellsOf(l.text)});
    }
    int cols = 0;
    for (const auto& r : cells) cols = std::max(cols, int(r.second.size()));
    for (const auto& r : cells)
        if (r.second.size() != cols)
            problem(r.first, QStringLiteral("this table row has %1 cells, the table %2")
                                 .arg(r.second.size())
                                 .arg(cols));
    newBlock(QTextBlockFormat());
    QTextTableFormat tf;
    tf.setBorder(1);
    tf.setCellPadding(kTableCellPadding);
    tf.setCellSpacing(0);
    tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    // Columns as wide as their cells ask for, narrowed where the table would not fit the lab
    // book display beside the model window on a small screen.
    std::vector<std::vector<std::vector<Run>>> runs;
    const std::vector<std::vector<CellText>> measured = readCells(cells, headerRows, runs);
    bool values = false, fits = true;
    for (const auto& row : measured)
        for (const CellText& cell : row)
            for (const CellPiece& p : cell) values = values || p.value;
    const double budget = values ? kValueTableBudget : m_tableWidth;
    tf.setColumnWidthConstraints(
        columnWidths(measured, kTablePointSize, kTableCellPadding, budget, fits));
    if (!fits && !cells.empty())
        problem(cells.front().first,
                QStringLiteral("this table is wider than the window it is read in (%1 pixels)")
                    .arg(budget));
    QTextTable* t = m_cursor.insertTable(int(cells.size()), cols, tf);
    for (int r = 0; r < int(cells.size()); ++r) {
        for (int c = 0; c < int(cells[size_t(r)].second.size()); ++c) {
            m_cursor = t->cellAt(r, c).firstCursorPosition();
            QTextCharFormat base = body();
            base.setFontPointSize(kTablePointSize);
            if (r < headerRows) base.setFontWeight(QFont::Bold);
            writeRuns(runs[size_t(r)][size_t(c)], base);
        }
    }
    m_cursor = t->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
}

void Compiler::index() {
    for (const Heading& h : m_headings) {
        if (h.anchor < 0) continue;
        QTextBlockFormat bf;
        bf.setLeftMargin(h.level == 1 ? 12 : 36);
        bf.setTopMargin(h.level == 1 ? 6 : 0);
        newBlock(bf);
        QTextCharFormat f = body();
        if (h.level == 1) f.setFontWeight(QFont::Bold);
        m_cursor.insertText(h.number + QLatin1Char(' '), f);
        writeTag(52000 + h.anchor, h.title, f);
    }
}

void Compiler::titleBlock() {
    QTextBlockFormat bf;
    bf.setBottomMargin(8);
    newBlock(bf);
    QTextCharFormat f = body();
    f.setFontPointSize(kTitleSize);
    f.setFontWeight(QFont::Bold);
    f.setForeground(kHeadingColour);
    m_cursor.insertText(m_title, f);
}

void Compiler::listItem(const Line& l, const QString& text, const QRegularExpression& numbered) {
    QTextBlockFormat bf;
    bf.setLeftMargin(28);
    bf.setTextIndent(-18);
    bf.setBottomMargin(3);
    // The mark stands in the indent; a tab takes the text to the margin.
    bf.setTabPositions({QTextOption::Tab(28, QTextOption::LeftTab)});
    const auto number = numbered.match(text);
    const QString mark =
        number.hasMatch() ? number.captured(1) + QLatin1Char('.') : QStringLiteral("\u2022");
    const QString rest = number.hasMatch() ? number.captured(2) : text.mid(2);
    paragraph(l, QString(), bf);
    QTextCharFormat f = body();
    m_cursor.insertText(mark + QLatin1Char('\t'), f);
    writeRuns(inlineRuns(l, rest), f);
}

void Compiler::figureBlock(const QTextBlockFormat& para, const QString& number) {
    QTextBlockFormat bf = para;
    bf.setAlignment(Qt::AlignHCenter);
    newBlock(bf);
    QTextCharFormat f = body();
    f.setFontItalic(true);
    writeTag(53000 + number.toInt(), QStringLiteral("[Figure %1: click to show]").arg(number), f);
}

void Compiler::emitBlocks() {
    if (!m_title.isEmpty()) titleBlock();
    static const QRegularExpression numbered(QStringLiteral("^(\\d+)\\.\\s+(.*)$"));
    static const QRegularExpression figure(QStringLiteral("^\\{figure\\s+(\\d{1,3})\\}$"));
    QTextBlockFormat para;
    para.setBottomMargin(6);
    std::size_t i = 0;
    auto isBlank = [&](std::size_t k) { return m_lines[k].text.trimmed().isEmpty(); };
    auto startsBlock = [&](const QString& t) {
        return t.startsWith(QLatin1Char('#')) || t.startsWith(QLatin1String("- ")) ||
               t.startsWith(QLatin1Char('>')) || t.startsWith(QLatin1Char('|')) ||
               t.startsWith(QLatin1Char('{')) || numbered.match(t).hasMatch();
    };
    while (i < m_lines.size()) {
        const Line& l = m_lines[i];
        const QString t = l.text.trimmed();
        if (t.isEmpty()) {
            ++i;
            continue;
        }
        Heading h;
        QString error;
        if (parseHeading(t, h, error)) {
            // The numbers were worked out when the headings were collected, in this order.
            if (h.level < 3 && m_headingIndex < m_headings.size()) h = m_headings[m_headingIndex++];
            heading(l, h);
            ++i;
        } else if (t == QLatin1String("{index}")) {
            index();
            ++i;
        } else if (const auto m = figure.match(t); m.hasMatch()) {
            figureBlock(para, m.captured(1));
            ++i;
        } else if (t.startsWith(QLatin1Char('{'))) {
            problem(l, QStringLiteral("unknown directive %1").arg(t));
            ++i;
        } else if (t.startsWith(QLatin1Char('|'))) {
            std::vector<Line> rows;
            while (i < m_lines.size() && m_lines[i].text.trimmed().startsWith(QLatin1Char('|')))
                rows.push_back(m_lines[i++]);
            table(rows);
        } else if (t.startsWith(QLatin1String("- ")) || numbered.match(t).hasMatch()) {
            // One item, with its indented continuation lines.
            QString text = t;
            ++i;
            while (i < m_lines.size() && !isBlank(i) &&
                   m_lines[i].text.startsWith(QLatin1String("  ")) &&
                   !startsBlock(m_lines[i].text.trimmed()))
                text += QLatin1Char(' ') + m_lines[i++].text.trimmed();
            listItem(l, text, numbered);
        } else if (t.startsWith(QLatin1Char('>'))) {
            QString text;
            while (i < m_lines.size() && m_lines[i].text.trimmed().startsWith(QLatin1Char('>')))
                text += QLatin1Char(' ') + m_lines[i++].text.trimmed().mid(1).trimmed();
            QTextBlockFormat bf = para;
            bf.setLeftMargin(24);
            bf.setRightMargin(24);
            QTextCharFormat cf;
            cf.setForeground(kNoteColour);
            paragraph(l, text.trimmed(), bf, cf);
        } else {
            QString text = t;
            ++i;
            while (i < m_lines.size() && !isBlank(i) && !startsBlock(m_lines[i].text.trimmed()))
                text += QLatin1Char(' ') + m_lines[i++].text.trimmed();
            paragraph(l, text, para);
        }
    }
}

void Compiler::run() {
    m_doc.clear();
    m_cursor = QTextCursor(&m_doc);
    collect();
    emitBlocks();
}

}  // namespace

SourceResult compileSource(const QList<SourceFile>& files, QTextDocument& doc,
                           SourceVariant variant) {
    SourceResult result;
    Compiler(files, doc, result, variant).run();
    return result;
}

QList<SourceFile> readSourcePath(const QString& path, SourceResult& result) {
    QStringList names;
    if (QFileInfo(path).isDir()) {
        const QDir dir(path);
        for (const QString& n : dir.entryList({QStringLiteral("*.vtx")}, QDir::Files, QDir::Name))
            names << dir.filePath(n);
        if (names.isEmpty())
            result.problems.append({path, 0, QStringLiteral("no .vtx file in this folder")});
    } else {
        names << path;
    }
    QList<SourceFile> files;
    for (const QString& n : names) {
        QFile f(n);
        if (!f.open(QIODevice::ReadOnly)) {
            result.problems.append({n, 0, QStringLiteral("cannot be read")});
            continue;
        }
        files.append({QFileInfo(n).fileName(), QString::fromUtf8(f.readAll())});
    }
    return files;
}

}  // namespace vasora::documents
