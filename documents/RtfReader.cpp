// The core of the RTF reader: the group stack, control words and symbols, and the paragraphs
// that go into the document. Characters, formatting, tables, pictures and objects, fields,
// notes and lists have files of their own (see RtfReaderImpl.h).

#include "documents/RtfReader.h"

#include "core/Twips.h"
#include "documents/RtfCodePages.h"
#include "documents/RtfFormat.h"
#include "documents/RtfReaderImpl.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cctype>

namespace vasora::documents::rtf {

namespace {

// Whether a word may open a destination that "{\*" marks as one this reader may not know:
// the ones it reads; every other is skipped whole.
bool readsStarred(Word w) {
    switch (w) {
        case wFldinst:
        case wBkmkstart:
        case wBkmkend:
        case wShppict:
        case wNestTableProps:
        case wFootnote:
        case wDo:
        case wListTable:
        case wListOverrideTable:
        case wPn:
            return true;
        default:
            return false;
    }
}

}  // namespace

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void replaceLoneSurrogates(QString& text) {
    // A lone half of a surrogate pair cannot be shown or written back.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            text[i] = QChar(QChar::ReplacementCharacter);
        }
    }
}

char16_t characterOf(Word w) {
    switch (w) {
        case wLine:
            return QChar::LineSeparator;
        case wTab:
            return u'\t';
        case wEmdash:
            return 0x2014;
        case wEndash:
            return 0x2013;
        case wBullet:
            return 0x2022;
        case wLquote:
            return 0x2018;
        case wRquote:
            return 0x2019;
        case wLdblquote:
            return 0x201C;
        case wRdblquote:
            return 0x201D;
        case wEmspace:
            return 0x2003;
        case wEnspace:
            return 0x2002;
        default:
            return 0;
    }
}

Reader::Reader(const QByteArray& data, QTextDocument& doc, RtfReadReport& report)
    : m_data(data), m_doc(doc), m_report(report), m_cur(&doc) {}

void Reader::problem(const QString& what) {
    if (!m_report.problems.contains(what)) m_report.problems.append(what);
}

void Reader::run() {
    // The data must open as RTF (rtfStart); anything else is read as plain text.
    const qsizetype start = rtfStart(m_data);
    if (start < 0) {
        m_report.isRtf = false;
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(m_data);
        if (utf8.hasError()) text = decoder(1252).decode(m_data);
        m_doc.setPlainText(text);
        return;
    }
    m_at = start;
    while (!atEnd() && !m_done) {
        const uchar c = peek();
        if (c == '{') {
            openGroup();
            ++m_at;
        } else if (c == '}') {
            closeGroup();
            ++m_at;
        } else if (c == '\\') {
            control();
        } else if (c == '\r' || c == '\n') {
            ++m_at;
        } else if (m_overflow == 0 && m_st.dest == Dest::Normal && m_ucSkip == 0 &&
                   !m_st.ch.hidden && c >= 0x20 && c < 0x80 && m_bytes.isEmpty() &&
                   symbolSet() == SymbolSet::None) {
            // Plain text, the bulk of a document, goes in as one run.
            if (m_nestTabPending) {
                m_nestTabPending = false;
                m_text.append(QLatin1Char('\t'));
            }
            const qsizetype from = m_at;
            while (!atEnd()) {
                const uchar d = peek();
                if (d < 0x20 || d >= 0x80 || d == '\\' || d == '{' || d == '}') break;
                ++m_at;
            }
            m_text.append(QLatin1StringView(m_data.constData() + from, m_at - from));
        } else {
            if (m_overflow == 0) textByte(c);
            ++m_at;
        }
    }
    if (!m_done && !m_full)
        problem(QStringLiteral("the file ends before all its groups are closed"));
    decodeBytes();
    if (m_st.dest == Dest::Pict && m_st.pictGroup) insertPicture();
    if (m_st.dest != Dest::Normal) m_text.clear();
    flush();
    if (m_rowOpen) finishRow();
    if (!m_table) applyBlockFormat();
    if (m_table) endTable();
    if (!m_notes.empty()) appendNotes();
    if (auto it = m_fonts.find(m_defaultFont);
        it != m_fonts.end() && !it->second.family.isEmpty()) {
        QFont f = m_doc.defaultFont();
        f.setFamilies(QStringList{it->second.family});
        m_doc.setDefaultFont(f);
    }
}

void Reader::openGroup() {
    decodeBytes();
    m_star = false;
    if (m_overflow > 0 || int(m_stack.size()) >= RtfLimits::kMaxDepth) {
        ++m_overflow;
        problem(QStringLiteral("groups are nested deeper than %1 levels; the deeper ones were "
                               "left out")
                    .arg(RtfLimits::kMaxDepth));
        return;
    }
    flush();
    m_ucSkip = 0;
    m_stack.push_back(m_st);
    m_st.groupStart = m_at;
    m_st.objectGroup = false;
    m_st.pictGroup = false;
    m_st.listGroup = 0;
}

void Reader::closeGroup() {
    decodeBytes();
    m_star = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.size() <= 1) {
        // The end of the document: its state stays for the last paragraph.
        m_done = true;
        return;
    }
    flush();
    m_ucSkip = 0;
    switch (m_st.dest) {
        case Dest::Pict:
            if (m_st.pictGroup) insertPicture();
            break;
        case Dest::BookmarkStart:
        case Dest::BookmarkEnd:
            if (m_stack.back().dest != m_st.dest) finishBookmark(m_st.dest == Dest::BookmarkStart);
            break;
        case Dest::FieldInst:
            if (m_stack.back().dest != Dest::FieldInst) finishFieldInst();
            break;
        case Dest::FontTable:
        case Dest::StyleSheet:
            // An entry may end with its group instead of with a semicolon.
            if (!m_destText.trimmed().isEmpty()) finishTableEntry();
            break;
        case Dest::LevelText:
            // The first character is the text's length, which the text itself tells.
            if (m_stack.back().dest != Dest::LevelText) m_levelBuild.text = m_destText.mid(1, 64);
            break;
        case Dest::PnBefore:
        case Dest::PnAfter:
            if (m_stack.back().dest != m_st.dest)
                (m_st.dest == Dest::PnBefore ? m_pnBuild.before : m_pnBuild.after) =
                    m_destText.left(32);
            break;
        default:
            break;
    }
    if (m_st.textBox && !m_stack.back().textBox) finishTextBox();
    const State closed = m_st;
    m_st = m_stack.back();
    m_stack.pop_back();
    if (closed.objectGroup) finishObject(closed, m_at);
    if (closed.listGroup || (closed.dest == Dest::PnDef && m_st.dest != Dest::PnDef))
        finishListGroup(closed);
}

void Reader::control() {
    m_wordStart = m_at;
    ++m_at;  // the backslash
    if (atEnd()) return;
    const uchar c = peek();
    if (std::isalpha(c))
        controlWord();
    else
        controlSymbol(c);
}

void Reader::controlWord() {
    const qsizetype start = m_at;
    while (!atEnd() && std::isalpha(peek()) && m_at - start <= RtfLimits::kMaxWordLength) ++m_at;
    bool tooLong = false;
    if (m_at - start > RtfLimits::kMaxWordLength) {
        tooLong = true;
        problem(QStringLiteral("a control word is longer than %1 letters")
                    .arg(RtfLimits::kMaxWordLength));
        while (!atEnd() && std::isalpha(peek())) ++m_at;
    }
    const std::string_view name(m_data.constData() + start, size_t(m_at - start));
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    if (!atEnd() && peek() == '-' && m_at + 1 < m_data.size() &&
        std::isdigit(uchar(m_data[m_at + 1]))) {
        negative = true;
        ++m_at;
    }
    int digits = 0;
    while (!atEnd() && std::isdigit(peek())) {
        if (digits < RtfLimits::kMaxParamDigits) value = value * 10 + (peek() - '0');
        ++digits;
        ++m_at;
    }
    if (digits > RtfLimits::kMaxParamDigits)
        problem(QStringLiteral("a control word has a parameter of more than %1 digits")
                    .arg(RtfLimits::kMaxParamDigits));
    if (digits > 0) hasParam = true;
    if (negative) value = -value;
    const int param = int(std::clamp<qint64>(value, INT32_MIN, INT32_MAX));
    if (!atEnd() && peek() == ' ') ++m_at;
    if (name == "bin") {
        // The data after \bin is raw bytes, in every state, even inside skipped groups.
        skipBinary(hasParam ? value : 0);
        return;
    }
    if (m_overflow > 0 || tooLong) return;
    dispatch(name, hasParam, param);
}

void Reader::controlSymbol(uchar c) {
    ++m_at;
    if (m_overflow > 0) {
        if (c == '\'' && m_at + 2 <= m_data.size()) m_at += 2;
        return;
    }
    switch (c) {
        case '\'': {
            if (m_at + 2 > m_data.size()) {
                m_at = m_data.size();
                return;
            }
            const int h = hexValue(m_data[m_at]);
            const int l = hexValue(m_data[m_at + 1]);
            if (h < 0 || l < 0) return;  // not an escape: the characters are read as text
            m_at += 2;
            hexByte(uchar(h * 16 + l));
            return;
        }
        case '*':
            m_star = true;
            return;
        case '\\':
        case '{':
        case '}':
            textByte(c);
            return;
        case '~':
            if (!skipsFallback()) appendChar(QChar(0x00A0));
            return;
        case '-':
            if (!skipsFallback()) appendChar(QChar(0x00AD));
            return;
        case '_':
            if (!skipsFallback()) appendChar(QChar(0x2011));
            return;
        case '\r':
        case '\n':
            decodeBytes();
            m_ucSkip = 0;
            if (m_st.object != 0) noteSpreadingWord(wPar);
            if (m_st.dest == Dest::Normal) endParagraph();
            return;
        case '\t':
            if (!skipsFallback()) appendChar(QLatin1Char('\t'));
            return;
        default:
            return;  // \| \: and other symbols have no visible effect here
    }
}

bool Reader::destinationWord(Word w, int param) {
    switch (m_st.dest) {
        case Dest::FontTable:
        case Dest::ColorTable:
        case Dest::StyleSheet:
            headerWord(w, param);
            return true;
        case Dest::Pict:
            pictWord(w, param);
            return true;
        case Dest::Note:
            noteInside(w);
            return true;
        case Dest::ListTable:
        case Dest::ListOverride:
        case Dest::LevelText:
        case Dest::PnDef:
        case Dest::PnBefore:
        case Dest::PnAfter:
            listInside(w, param);
            return true;
        case Dest::Normal:
            return false;
        default:
            if (w == wSkipDest) m_st.dest = Dest::Skip;
            // A field result goes on as text; every other word ends here.
            return w != wFldrslt;
    }
}

void Reader::dispatch(std::string_view name, bool hasParam, int param) {
    decodeBytes();
    const Word w = lookupWord(name);
    const bool star = m_star;
    m_star = false;
    if (m_st.dest == Dest::Skip) {
        skippedWord(w, star, param);
        return;
    }
    if (m_st.object != 0) noteSpreadingWord(w);
    // "{\*\word": a destination this reader may not know; unknown ones are skipped whole.
    if (star && !readsStarred(w)) {
        m_st.dest = Dest::Skip;
        return;
    }
    // Unicode characters and the characters of control words (\tab, \emdash) count in every
    // destination that keeps text (font names, bookmark names, field instructions, notes) as
    // in the document itself.
    if (m_st.dest != Dest::Normal && (w == wU || w == wUc || characterOf(w) != 0)) {
        textWord(w, param);
        return;
    }
    if (destinationWord(w, param)) return;

    switch (w) {
        case wUnknown:
        case wShppict:
            return;
        case wSkipDest:
            flush();
            m_st.dest = Dest::Skip;
            return;
        case wFonttbl:
        case wColortbl:
        case wStylesheet:
            flush();
            startHeaderTable(w);
            return;
        default:
            break;
    }
    if (fieldWord(w) || objectWord(w, param)) return;

    // Everything below but the characters changes the format of the text that follows.
    const bool character =
        characterOf(w) != 0 || w == wU || w == wNestCell || (w == wCell && m_st.para.nesting > 1);
    if (!character) flush();
    if (textWord(w, param) || tableWord(w, param) || noteWord(w) || listWord(w, param)) return;
    formatWord(w, hasParam, param);
}

void Reader::place() {
    if (m_full) return;
    if (m_st.para.inTable || m_rowOpen) {
        if (!m_rowOpen) beginRow();
        if (!m_rowOpen) return;
        ensureCell();
        m_cellsInRow = std::max(m_cellsInRow, m_cellIndex + 1);
    } else if (m_table) {
        endTable();
    }
}

bool Reader::roomFor(int pieces) {
    if (!m_full && m_pieces + pieces <= RtfLimits::kMaxPieces) {
        m_pieces += pieces;
        return true;
    }
    if (!m_full) {
        m_full = true;
        m_done = true;
        problem(QStringLiteral("it holds more than %1 paragraphs, table cells and pieces of text "
                               "in a format of their own; the rest was left out")
                    .arg(RtfLimits::kMaxPieces));
    }
    return false;
}

void Reader::flush() {
    decodeBytes();
    if (m_text.isEmpty()) return;
    if (!roomFor(1)) {
        m_text.resize(0);
        return;
    }
    place();
    numberParagraph(false);
    replaceLoneSurrogates(m_text);
    m_cur.insertText(m_text, charFormat());
    m_text.resize(0);  // keeps the buffer for the next run
}

void Reader::endParagraph() {
    place();
    flush();
    numberParagraph(true);
    m_paraNumbered = false;
    m_paraHasListText = false;
    m_nestTabPending = false;
    if (!roomFor(1)) return;
    applyBlockFormat();
    // The new paragraph starts with the format of this one, as QTextCursor::insertBlock()
    // would give it, without asking the document for it again.
    QTextCharFormat mark = m_cur.charFormat();
    mark.clearProperty(QTextFormat::ObjectType);
    m_cur.insertBlock(cachedBlockFormat(), mark);
}

}  // namespace vasora::documents::rtf

namespace vasora::documents {

qsizetype rtfStart(const QByteArray& data) {
    qsizetype start = 0;
    if (data.startsWith("\xEF\xBB\xBF")) start = 3;
    auto blanks = [&](qsizetype at) {
        while (at < data.size() && QChar::isSpace(uchar(data[at]))) ++at;
        return at;
    };
    start = blanks(start);
    if (start >= data.size() || data[start] != '{') return -1;
    // Inside the group only line breaks may come before "\rtf", as a reader passes over them.
    qsizetype at = start + 1;
    while (at < data.size() && (data[at] == '\r' || data[at] == '\n')) ++at;
    return data.mid(at, 4) == "\\rtf" ? start : -1;
}

QString RtfReadReport::message(const QString& fileName) const {
    if (!isRtf)
        return QStringLiteral(
                   "The file %1 is not a rich-text (RTF) file; it is shown as plain "
                   "text.")
            .arg(fileName);
    if (problems.isEmpty()) return {};
    return QStringLiteral(
               "The file %1 could not be read completely (%2). What could be read "
               "is shown.")
        .arg(fileName, problems.join(QStringLiteral("; ")));
}

RtfReadReport readRtf(const QByteArray& data, QTextDocument& doc) {
    RtfReadReport report;
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        // One edit block for the whole load: Qt then rebuilds its frame tree once at the end
        // instead of after every table and row, which would make loading quadratic.
        QTextCursor block(&doc);
        block.beginEditBlock();
        rtf::Reader reader(data, doc, report);
        reader.run();
        block.endEditBlock();
    }
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
    return report;
}

}  // namespace vasora::documents