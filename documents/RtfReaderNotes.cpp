// The RTF reader's text that stands apart from the flow of paragraphs: footnotes, which are
// numbered where they are referred to and shown at the end of the document, and the text boxes
// of old drawing objects, shown as paragraphs where they are anchored.

#include "documents/RtfFormat.h"
#include "documents/RtfReaderImpl.h"

#include <QTextBlock>
#include <QTextDocument>

namespace vasora::documents::rtf {
namespace {

// A document has no use for more notes than this; later ones are passed over.
constexpr size_t kMaxNotes = 10000;

}  // namespace

bool Reader::noteWord(Word w) {
    switch (w) {
        case wFootnote:
            flush();
            if (m_notes.size() < kMaxNotes) {
                m_st.dest = Dest::Note;
                m_notes.emplace_back();
            } else {
                m_st.dest = Dest::Skip;
            }
            return true;
        case wChftn:
            // The mark of the next footnote; its text repeats the number.
            if (m_noteNumber < int(kMaxNotes)) ++m_noteNumber;
            for (QChar c : QString::number(m_noteNumber)) appendChar(c);
            return true;
        case wDo:
            flush();
            m_st.dest = Dest::Skip;
            m_st.drawing = true;
            return true;
        case wNestTableProps:
            // Only the row end counts here: the outer table's row keeps its own definition.
            flush();
            m_st.dest = Dest::Skip;
            m_st.nestProps = true;
            return true;
        default:
            return false;
    }
}

void Reader::noteInside(Word w) {
    switch (w) {
        case wPar:
        case wSect:
        case wPage:
        case wRow:
        case wNestRow:
            appendChar(QLatin1Char('\n'));
            return;
        case wCell:
        case wNestCell:
            appendChar(QLatin1Char('\t'));
            return;
        case wLine:
            appendChar(QLatin1Char(' '));
            return;
        case wChftn:
            for (QChar c : QString::number(m_noteNumber)) appendChar(c);
            return;
        case wFldrslt:
        case wField:
            return;  // a field's result is part of the note's text
        case wFldinst:
        case wBkmkstart:
        case wBkmkend:
        case wPict:
        case wObject:
        case wSkipDest:
        case wFootnote:
        case wDo:
        case wListTable:
        case wListOverrideTable:
        case wPn:
        case wNestTableProps:
        case wFonttbl:
        case wColortbl:
        case wStylesheet:
            m_st.dest = Dest::Skip;
            return;
        default:
            if (const char16_t c = characterOf(w)) appendChar(QChar(c));
            return;
    }
}

void Reader::skippedWord(Word w, bool star, int param) {
    if (m_st.nestProps && w == wNestRow) {
        tableWord(w, param);
        return;
    }
    if (m_st.drawing && w == wDptxbxtext && !star) {
        startTextBox();
        return;
    }
    objectBodyWord(w, star, param);
}

bool Reader::paragraphHasText() const {
    return !m_text.isEmpty() || m_cur.block().length() > 1;
}

void Reader::startTextBox() {
    // The text box becomes paragraphs of its own where the drawing is anchored.
    m_st.dest = Dest::Normal;
    m_st.drawing = false;
    m_st.textBox = true;
    if (paragraphHasText()) endParagraph();
}

void Reader::finishTextBox() {
    flush();
    if (paragraphHasText()) endParagraph();
}

void Reader::appendNotes() {
    // A note's own paragraphs become paragraphs after the text; trailing paragraph marks and
    // blanks of a note add no empty paragraphs.
    m_cur.movePosition(QTextCursor::End);
    m_blockAtCursorKnown = false;
    bool first = m_cur.block().length() == 1;
    for (QString& note : m_notes) {
        replaceLoneSurrogates(note);
        while (!note.isEmpty() && note.back().isSpace()) note.chop(1);
        if (note.trimmed().isEmpty()) continue;
        for (const QString& line : note.split(QLatin1Char('\n'))) {
            if (!first) {
                if (!roomFor(1)) return;
                m_cur.insertBlock(QTextBlockFormat(), QTextCharFormat());
            }
            first = false;
            if (!line.isEmpty()) {
                if (!roomFor(1)) return;
                m_cur.insertText(line, QTextCharFormat());
            }
        }
    }
}

}  // namespace vasora::documents::rtf
