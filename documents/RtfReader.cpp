// The core of the RTF reader: the group stack, control words and symbols, and the text that
// goes into the document. Formatting, tables, pictures and objects, and fields have files of
// their own (see RtfReaderImpl.h).

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

// Characters QTextDocument gives a meaning of its own (block and frame separators, the object
// mark) must not come in from a file as text.
QChar safeChar(QChar c) {
    const char16_t u = c.unicode();
    if (u == 0x2029 || u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFE || u == 0xFFFF)
        return QChar(0xFFFD);
    return c;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

qreal twipsToPx(int t) {
    return qreal(t) / kTwipsPerPixel;
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

QStringDecoder& Reader::decoder(int codePage) {
    auto& d = m_decoders[codePage];
    if (!d) {
        // Each run of bytes is decoded on its own: a stray byte spoils no later run.
        d = std::make_unique<QStringDecoder>(codecName(codePage).constData(),
                                             QStringConverter::Flag::Stateless);
        if (!d->isValid()) {
            problem(QStringLiteral("the code page %1 is not known; its text was read as "
                                   "Windows-1252 and may show wrong letters")
                        .arg(codePage));
            d = std::make_unique<QStringDecoder>("windows-1252", QStringConverter::Flag::Stateless);
        }
    }
    return *d;
}

int Reader::codePage() const {
    if (m_st.ch.font >= 0) {
        auto it = m_fonts.find(m_st.ch.font);
        if (it != m_fonts.end() && it->second.codePage != 0) return it->second.codePage;
    }
    return m_docCodePage;
}

SymbolSet Reader::symbolSet() {
    if (m_st.ch.font != m_symbolFont) {
        m_symbolFont = m_st.ch.font;
        auto it = m_fonts.find(m_st.ch.font);
        m_symbolSet = it == m_fonts.end() ? SymbolSet::None : it->second.symbols;
    }
    return m_symbolSet;
}

void Reader::run() {
    // The data must open as RTF: "{\rtf", after blanks and a byte-order mark at most.
    qsizetype start = 0;
    if (m_data.startsWith("\xEF\xBB\xBF")) start = 3;
    while (start < m_data.size() && QChar::isSpace(uchar(m_data[start]))) ++start;
    if (m_data.mid(start, 5) != "{\\rtf") {
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
    ++m_at;  // the backslash
    if (atEnd()) return;
    const uchar c = peek();
    if (std::isalpha(c)) {
        const qsizetype start = m_at;
        while (!atEnd() && std::isalpha(peek()) && m_at - start <= RtfLimits::kMaxWordLength)
            ++m_at;
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
        return;
    }
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
            if (m_st.dest == Dest::Normal) endParagraph();
            return;
        case '\t':
            if (!skipsFallback()) appendChar(QLatin1Char('\t'));
            return;
        default:
            return;  // \| \: and other symbols have no visible effect here
    }
}

bool Reader::skipsFallback() {
    if (m_ucSkip == 0) return false;
    --m_ucSkip;
    return true;
}

void Reader::hexByte(uchar b) {
    switch (m_st.dest) {
        case Dest::Normal:
        case Dest::FontTable:
        case Dest::StyleSheet:
        case Dest::FieldInst:
        case Dest::BookmarkStart:
        case Dest::BookmarkEnd:
        case Dest::Note:
        case Dest::LevelText:
        case Dest::PnBefore:
        case Dest::PnAfter:
            break;
        default:
            return;  // skipped text never reaches a decoder
    }
    if (skipsFallback()) return;
    queueByte(b);
}

void Reader::queueByte(uchar b) {
    switch (m_st.dest) {
        case Dest::LevelText:
        case Dest::PnBefore:
        case Dest::PnAfter:
            // Number texts are decoded by the font of their list level, which may come later.
            appendChar(QChar(b));
            return;
        default:
            break;
    }
    if (m_st.dest == Dest::Normal) {
        if (const SymbolSet set = symbolSet(); set != SymbolSet::None) {
            appendChar(QChar(symbolToUnicode(set, b)));
            return;
        }
    }
    const int cp = codePage();
    if (!m_bytes.isEmpty() && cp != m_bytesCodePage) decodeBytes();
    m_bytesCodePage = cp;
    m_bytes.append(char(b));
}

bool Reader::awaitingTrailByte() const {
    // Counted from the start of the run, since a trail byte may look like a lead byte.
    qsizetype i = 0;
    while (i < m_bytes.size()) i += isLeadByte(m_bytesCodePage, uchar(m_bytes[i])) ? 2 : 1;
    return i > m_bytes.size();
}

void Reader::decodeBytes() {
    if (m_bytes.isEmpty()) return;
    // A lead byte without its trail byte shows as a replacement character, not as nothing.
    const bool cut = awaitingTrailByte();
    const QString text =
        decoder(m_bytesCodePage).decode(QByteArrayView(m_bytes).chopped(cut ? 1 : 0));
    m_bytes.resize(0);
    for (QChar c : text) putChar(c);
    if (cut) putChar(QChar(QChar::ReplacementCharacter));
}

void Reader::textByte(uchar b) {
    switch (m_st.dest) {
        case Dest::Skip:
            return;
        case Dest::Pict:
            pictByte(b);
            return;
        case Dest::ColorTable:
            colorTableByte(b);
            return;
        case Dest::FontTable:
        case Dest::StyleSheet:
            if (b == ';') {
                finishTableEntry();
                return;
            }
            break;
        case Dest::LevelText:
            if (b == ';') return;  // the end of the level's text
            break;
        default:
            break;
    }
    if (b == '\t') {
        if (!skipsFallback()) appendChar(QLatin1Char('\t'));
        return;
    }
    if (b < 0x20) return;
    if (b >= 0x80) {
        hexByte(b);
        return;
    }
    if (skipsFallback()) return;
    // A trail byte of a double-byte character may be a plain letter in the file.
    if (!m_bytes.isEmpty() && awaitingTrailByte()) {
        m_bytes.append(char(b));
        return;
    }
    if (m_st.dest == Dest::Normal) {
        if (const SymbolSet set = symbolSet(); set != SymbolSet::None) {
            appendChar(QChar(symbolToUnicode(set, b)));
            return;
        }
    }
    appendChar(QLatin1Char(char(b)));
}

void Reader::appendChar(QChar c) {
    decodeBytes();
    putChar(c);
}

void Reader::putChar(QChar c) {
    switch (m_st.dest) {
        case Dest::Normal:
            if (m_st.ch.hidden) return;
            if (m_nestTabPending) {
                m_nestTabPending = false;
                m_text.append(QLatin1Char('\t'));
            }
            m_text.append(safeChar(c));
            return;
        case Dest::Note:
            if (!m_st.ch.hidden && m_notes.back().size() < 65536)
                m_notes.back().append(safeChar(c));
            return;
        case Dest::FontTable:
        case Dest::StyleSheet:
        case Dest::FieldInst:
        case Dest::BookmarkStart:
        case Dest::BookmarkEnd:
        case Dest::LevelText:
        case Dest::PnBefore:
        case Dest::PnAfter:
            if (m_destText.size() < 4096) m_destText.append(c);
            return;
        default:
            return;
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
    if (star) {
        // "{\*\word": a destination this reader may not know; unknown ones are skipped whole.
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
                break;
            default:
                m_st.dest = Dest::Skip;
                return;
        }
    }
    // Unicode characters count in every destination that keeps text (font names, bookmark
    // names, field instructions) as in the document itself.
    if (m_st.dest != Dest::Normal && (w == wU || w == wUc)) {
        textWord(w, param);
        return;
    }
    switch (m_st.dest) {
        case Dest::FontTable:
        case Dest::ColorTable:
        case Dest::StyleSheet:
            headerWord(w, param);
            return;
        case Dest::Pict:
            pictWord(w, param);
            return;
        case Dest::Note:
            noteInside(w);
            return;
        case Dest::ListTable:
        case Dest::ListOverride:
        case Dest::LevelText:
        case Dest::PnDef:
        case Dest::PnBefore:
        case Dest::PnAfter:
            listInside(w, param);
            return;
        case Dest::Normal:
            break;
        default:
            if (w == wSkipDest) m_st.dest = Dest::Skip;
            if (w != wFldrslt) return;
            break;
    }

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

bool Reader::textWord(Word w, int param) {
    switch (w) {
        case wPar:
        case wPage:
        case wSect:
            // A paragraph mark is no fallback of a Unicode character.
            m_ucSkip = 0;
            endParagraph();
            return true;
        case wU: {
            int v = std::clamp(param, -32768, 65535);
            if (v < 0) v += 65536;
            if (m_st.dest == Dest::Normal && v >= 0xF020 && v <= 0xF0FF) {
                // Word writes the characters of symbol fonts in the private-use area.
                if (const SymbolSet set = symbolSet(); set != SymbolSet::None)
                    v = symbolToUnicode(set, v);
            }
            appendChar(QChar(char16_t(v)));
            m_ucSkip = m_st.uc;
            return true;
        }
        case wUc:
            m_st.uc = std::clamp(param, 0, RtfLimits::kMaxUnicodeSkip);
            return true;
        default:
            break;
    }
    const char16_t c = characterOf(w);
    if (c == 0) return false;
    // Like any character, the one of a control word may be the fallback of a \uN before it.
    if (!skipsFallback()) appendChar(QChar(c));
    return true;
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
    // A lone half of a surrogate pair cannot be shown or written back.
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c.isHighSurrogate() && i + 1 < m_text.size() && m_text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            m_text[i] = QChar(0xFFFD);
        }
    }
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
