#include "documents/ScrivoControl.h"

#include "shell/Dialogs.h"
#include "shell/Twips.h"
#include "documents/RtfFormat.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSaveFile>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

namespace vasora::documents {
namespace {

// Files larger than this are not lab books or information texts; they are refused on load.
constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;

int virtualKey(const QKeyEvent* e) {
    const int k = e->key();
    switch (k) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            break;
    }
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return 48 + (k - Qt::Key_0);
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    return k & 0xFFFF;
}

int typedCharacter(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
            return 9;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        default:
            break;
    }
    const QString t = e->text();
    if (t.isEmpty()) return 0;
    return t.at(0).unicode();
}

}  // namespace

ScrivoControl::ScrivoControl(const QString& objectName, QWidget* parent) : QTextEdit(parent) {
    setObjectName(objectName);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    viewport()->setMouseTracking(true);
    replaceDocument(new QTextDocument(this));
    connect(this, &QTextEdit::cursorPositionChanged, this, &ScrivoControl::cursorMoved);
    connect(this, &QTextEdit::selectionChanged, this, &ScrivoControl::cursorMoved);
}

ScrivoControl::~ScrivoControl() = default;

void ScrivoControl::replaceDocument(QTextDocument* doc) {
    // The edit deletes a document of its own making itself; ours are parented to the control.
    QTextDocument* old = document();
    const bool ours = old && old != doc && old->parent() == this;
    const QSignalBlocker block(this);
    setDocument(doc);
    if (ours) old->deleteLater();
    m_pos = 0;
    m_syncPending = false;
    // The cursor is a plain position; edits before it move it on or back.
    connect(doc, &QTextDocument::contentsChange, this, [this](int at, int removed, int added) {
        ++m_edits;
        if (at >= m_pos) return;
        m_pos = at + removed <= m_pos ? m_pos - removed + added : at;
    });
    m_tag = {};
    m_clickedTag = 0;
    m_rangeStart = 0;
    m_rangeLength = 0;
    m_cursorTagId = 0;
    m_cursorTagCode = 0;
    setReadOnly(m_readOnly);
    setLineWidth(m_lineWidth);
    refreshTagStyles();
}

bool ScrivoControl::setLoadNow(qint16 value) {
    if (value != 1) return true;
    const QString shown = QFileInfo(m_fileName).fileName();
    QFile file(m_fileName);
    if (m_fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        ui::messageBox(QStringLiteral("The file %1 could not be opened.").arg(shown), {}, this);
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        ui::messageBox(QStringLiteral("The file %1 is too large to be a document.").arg(shown), {},
                       this);
        return false;
    }
    const QByteArray data = file.readAll();
    auto* doc = new QTextDocument(this);
    doc->setDefaultFont(font());
    QString problem;
    if (m_fileFormat == kFormatRichText) {
        problem = readRtf(data, *doc).message(shown);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        doc->setPlainText(utf8.decode(data));
    }
    doc->setModified(false);
    replaceDocument(doc);
    moveCursorTo(0);
    // The learner reads the message with what could be read already shown behind it.
    if (!problem.isEmpty()) ui::messageBox(problem, {}, this);
    return problem.isEmpty();
}

bool ScrivoControl::setSaveNow(qint16 value) {
    if (value != 1) return true;
    const QString shown = QFileInfo(m_fileName).fileName();
    const QByteArray data =
        m_fileFormat == kFormatRichText
            ? writeRtfRange(*document(), m_rangeStart, m_rangeLength)
            : document()->toPlainText().mid(m_rangeStart, m_rangeLength).toUtf8();
    // The file is replaced only once the new one is completely written, so a failed save
    // leaves the learner's earlier copy intact.
    QSaveFile file(m_fileName);
    if (m_fileName.isEmpty() || !file.open(QIODevice::WriteOnly) ||
        file.write(data) != data.size() || !file.commit()) {
        ui::messageBox(QStringLiteral("The file %1 could not be saved.").arg(shown), {}, this);
        return false;
    }
    document()->setModified(false);
    return true;
}

qint32 ScrivoControl::TextLength() const {
    return document()->characterCount() - 1;
}

void ScrivoControl::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    QTextEdit::setReadOnly(readOnly);
    // A read-only text still has a cursor the program and the keys can move.
    if (readOnly) setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    applyPointer();
}

void ScrivoControl::setPointerShape(qint16 shape) {
    m_pointerShape = shape;
    applyPointer();
}

void ScrivoControl::applyPointer() {
    if (m_overActiveTag && m_pointerShape != kPointerBusy) {
        viewport()->setCursor(Qt::PointingHandCursor);
        return;
    }
    switch (m_pointerShape) {
        case kPointerBusy:
            viewport()->setCursor(Qt::WaitCursor);
            break;
        case 1:
            viewport()->setCursor(Qt::ArrowCursor);
            break;
        case 2:
            viewport()->setCursor(Qt::CrossCursor);
            break;
        default:
            viewport()->setCursor(Qt::IBeamCursor);
            break;
    }
}

void ScrivoControl::setLineWidth(double twipsWidth) {
    m_lineWidth = twipsWidth;
    const int px = twips(int(std::clamp(twipsWidth, 0.0, 1.0e7)));
    if (px <= 0) {
        setLineWrapMode(QTextEdit::WidgetWidth);
    } else {
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(px);
    }
}

qint32 ScrivoControl::ScrollTop() const {
    return verticalScrollBar()->value();
}

void ScrivoControl::setScrollTop(qint32 y) {
    // The scroll range follows the layout; make sure the layout reaches the wanted line.
    document()->documentLayout()->documentSize();
    verticalScrollBar()->setValue(y);
}

TagSpan ScrivoControl::currentTag() const {
    if (!m_tag.valid()) return {};
    if (m_tagEdits == m_edits) return m_tag;  // nothing changed since it was found
    const TagSpan now = tagAt(*document(), m_tag.start);
    if (now.id != m_tag.id) return {};
    return now;
}

void ScrivoControl::standOnTag(const TagSpan& tag) {
    m_tag = tag;
    m_tagEdits = m_edits;
    moveCursorTo(tag.start, &tag);
    m_rangeStart = tag.start;
    m_rangeLength = tag.length;
}

void ScrivoControl::moveCursorTo(int position, const TagSpan* tagThere) {
    m_pos = std::clamp(position, 0, TextLength());
    m_rangeStart = m_pos;
    m_rangeLength = 0;
    checkTagChange(tagThere && tagThere->start == m_pos ? tagThere : nullptr);
    // The edit's own cursor follows when control returns to the event loop: moving it lays
    // the document out up to the cursor, which a walk over thousands of tags must not wait for.
    if (!m_syncPending) {
        m_syncPending = true;
        QTimer::singleShot(0, this, [this] { syncVisualCursor(); });
    }
}

void ScrivoControl::syncVisualCursor() {
    if (!m_syncPending) return;
    m_syncPending = false;
    m_pos = std::clamp(m_pos, 0, TextLength());
    if (textCursor().position() == m_pos && !textCursor().hasSelection()) return;
    m_syncing = true;
    QTextCursor c(document());
    c.setPosition(m_pos);
    setTextCursor(c);
    m_syncing = false;
}

qint32 ScrivoControl::TagCode() const {
    return currentTag().code;
}

void ScrivoControl::setTagCode(qint32 code) {
    const TagSpan t = currentTag();
    if (!t.valid()) return;
    m_tag = documents::setTagCode(*document(), t, code);
    m_tagEdits = m_edits;
    scheduleTagStyles();
}

QString ScrivoControl::TagText() const {
    return tagText(*document(), currentTag());
}

void ScrivoControl::setTagText(const QString& text) {
    const TagSpan t = currentTag();
    if (!t.valid()) return;
    const TagSpan now = documents::setTagText(*document(), t, text);
    m_tag = now;
    m_tagEdits = m_edits;
    if (now.valid()) {
        m_rangeStart = now.start;
        m_rangeLength = now.length;
    }
    scheduleTagStyles();
}

qint32 ScrivoControl::CursorPara() const {
    return document()->findBlock(m_pos).blockNumber();
}

void ScrivoControl::setCursorPara(qint32 para) {
    const QTextDocument* doc = document();
    const int n = std::clamp(para, 0, std::max(0, doc->blockCount() - 1));
    const QTextBlock b = doc->findBlockByNumber(n);
    const int offset = std::min(m_pos - doc->findBlock(m_pos).position(), b.length() - 1);
    moveCursorTo(b.position() + std::max(0, offset));
}

qint16 ScrivoControl::CursorChar() const {
    return qint16(std::min(m_pos - document()->findBlock(m_pos).position(), 32767));
}

void ScrivoControl::setCursorChar(qint32 offset) {
    const QTextBlock b = document()->findBlock(m_pos);
    moveCursorTo(b.position() + std::clamp(offset, 0, std::max(0, b.length() - 1)));
}

void ScrivoControl::setRangeStart(qint32 start) {
    m_rangeStart = std::clamp(start, 0, TextLength());
    m_rangeLength = 0;
}

void ScrivoControl::setRangeLength(qint32 length) {
    m_rangeLength = std::clamp(length, 0, TextLength() - m_rangeStart);
}

void ScrivoControl::setDispatch(int id, const QVariant& v) {
    switch (id) {
        case kIdPointerShape:
            setPointerShape(qint16(v.toInt()));
            break;
        case kIdCursorChar:
            setCursorChar(v.toInt());
            break;
        case kIdCursorPara:
            setCursorPara(v.toInt());
            break;
        case kIdFileFormat:
            setFileFormat(v.toInt());
            break;
        case kIdLineWidth:
            setLineWidth(v.toDouble());
            break;
        case kIdLoadNow:
            setLoadNow(qint16(v.toInt()));
            break;
        case kIdFileName:
            setFileName(v.toString());
            break;
        case kIdSaveNow:
            setSaveNow(qint16(v.toInt()));
            break;
        case kIdTagCode:
            setTagCode(v.toInt());
            break;
        case kIdScrollTop:
            setScrollTop(v.toInt());
            break;
        case kIdRangeLength:
            setRangeLength(v.toInt());
            break;
        case kIdRangeStart:
            setRangeStart(v.toInt());
            break;
        case kIdTagText:
            setTagText(v.toString());
            break;
        case kIdReadOnly:
            setReadOnly(v.toBool());
            break;
        default:
            m_ignored.insert(id, v);
            break;
    }
}

QVariant ScrivoControl::dispatch(int id) const {
    switch (id) {
        case kIdPointerShape:
            return m_pointerShape;
        case kIdCursorChar:
            return CursorChar();
        case kIdCursorPara:
            return CursorPara();
        case kIdFileFormat:
            return m_fileFormat;
        case kIdLineWidth:
            return m_lineWidth;
        case kIdLoadNow:
        case kIdSaveNow:
            return 0;
        case kIdFileName:
            return m_fileName;
        case kIdClickedTag:
            return m_clickedTag;
        case kIdTagCode:
            return TagCode();
        case kIdScrollTop:
            return ScrollTop();
        case kIdRangeLength:
            return m_rangeLength;
        case kIdRangeStart:
            return m_rangeStart;
        case kIdTagText:
            return TagText();
        case kIdReadOnly:
            return m_readOnly;
        case kIdTextLength:
            return TextLength();
        default:
            return m_ignored.value(id);
    }
}

bool ScrivoControl::isActiveCode(int code) {
    const int kind = code / 10000;
    return kind == 4 || kind == 5 || kind == 6 || kind == 7;
}

void ScrivoControl::cursorMoved() {
    if (m_syncing) return;
    // The learner moved the cursor or selected text; that wins over a move not yet shown.
    const QTextCursor c = textCursor();
    m_syncPending = false;
    m_pos = c.position();
    m_rangeStart = c.selectionStart();
    m_rangeLength = c.selectionEnd() - c.selectionStart();
    checkTagChange();
}

void ScrivoControl::checkTagChange(const TagSpan* tagThere) {
    const TagSpan t = tagThere ? *tagThere : tagAt(*document(), m_pos);
    if (t.id == m_cursorTagId) return;
    int kind = 1;
    int newCode = t.valid() ? t.code : 0;
    int oldCode = m_cursorTagCode;
    m_cursorTagId = t.id;
    m_cursorTagCode = newCode;
    emit TagChange(kind, newCode, oldCode);
}

void ScrivoControl::scheduleTagStyles() {
    if (m_stylesPending) return;
    m_stylesPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_stylesPending) refreshTagStyles();
    });
}

void ScrivoControl::refreshTagStyles() {
    m_stylesPending = false;
    QList<QTextEdit::ExtraSelection> styles;
    for (const TagSpan& t : allTags(*document())) {
        if (!isActiveCode(t.code)) continue;
        const int kind = t.code / 10000;
        const int sub = (t.code % 10000) / 1000;
        QTextEdit::ExtraSelection s;
        s.cursor = QTextCursor(document());
        s.cursor.setPosition(t.start);
        s.cursor.setPosition(t.end(), QTextCursor::KeepAnchor);
        if (kind == 5 && sub == 3) {  // a figure
            s.format.setForeground(QColor(0, 110, 40));
            s.format.setUnderlineStyle(QTextCharFormat::DotLine);
        } else if (kind == 5 && sub != 4) {  // a link
            s.format.setForeground(QColor(0, 0, 238));
            s.format.setFontUnderline(true);
        } else if (kind == 6) {  // an input-field marker
            s.format.setBackground(QColor(255, 250, 205));
        } else {  // table buttons, save and restart: buttons
            s.format.setBackground(QColor(205, 222, 245));
            s.format.setForeground(QColor(0, 40, 120));
        }
        styles.append(s);
    }
    // Hyperlinks of the file look like links too; the control follows none of them.
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            if (!fr.isValid() || fr.charFormat().anchorHref().isEmpty()) continue;
            QTextEdit::ExtraSelection s;
            s.cursor = QTextCursor(document());
            s.cursor.setPosition(fr.position());
            s.cursor.setPosition(fr.position() + fr.length(), QTextCursor::KeepAnchor);
            s.format.setForeground(QColor(0, 0, 238));
            s.format.setFontUnderline(true);
            styles.append(s);
        }
    }
    setExtraSelections(styles);
}

int ScrivoControl::characterAt(const QPoint& viewportPos) const {
    const QTextCursor c = cursorForPosition(viewportPos);
    const int p = c.position();
    // The cursor lies between two characters; the one under the pointer is on its side.
    if (viewportPos.x() < cursorRect(c).x() && p > c.block().position()) return p - 1;
    return p;
}

void ScrivoControl::keyPressEvent(QKeyEvent* e) {
    syncVisualCursor();
    int key = virtualKey(e);
    const Qt::KeyboardModifiers m = e->modifiers();
    const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                      (m & Qt::AltModifier ? 4 : 0);
    emit KeyDown(key, shift);
    if (key == 0) {
        e->accept();
        return;
    }
    // Control-key shortcuts act on the key itself, as copying does, and type no character.
    const bool shortcut =
        (m & Qt::ControlModifier) && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z;
    const int original = shortcut ? 0 : typedCharacter(e);
    if (original != 0) {
        int ch = original;
        emit KeyPress(ch);
        if (ch == 0) {
            e->accept();
            return;
        }
        if (ch != original) {
            if (!m_readOnly) textCursor().insertText(QString(QChar(char16_t(ch))));
            e->accept();
            return;
        }
    }
    QTextEdit::keyPressEvent(e);
}

void ScrivoControl::mousePressEvent(QMouseEvent* e) {
    m_pressPos = e->position().toPoint();
    m_pressed = e->button() == Qt::LeftButton;
    QTextEdit::mousePressEvent(e);
}

void ScrivoControl::mouseReleaseEvent(QMouseEvent* e) {
    QTextEdit::mouseReleaseEvent(e);
    const QPoint at = e->position().toPoint();
    if (!m_pressed || e->button() != Qt::LeftButton || (at - m_pressPos).manhattanLength() > 4)
        return;
    m_pressed = false;
    const TagSpan tag = tagAt(*document(), characterAt(at));
    if (!tag.valid()) return;
    const int clickedAt = textCursor().position();
    m_clickedTag = tag.code;
    standOnTag(tag);
    emit TagClick();
    // A handler that left the cursor on the tag's start gives it back to the place the
    // learner clicked, so typing goes on there.
    if (m_pos == tag.start && tagAt(*document(), clickedAt).id == tag.id) {
        moveCursorTo(clickedAt);
        m_rangeStart = tag.start;
        m_rangeLength = tag.length;
    }
}

void ScrivoControl::mouseMoveEvent(QMouseEvent* e) {
    QTextEdit::mouseMoveEvent(e);
    const TagSpan t = tagAt(*document(), characterAt(e->position().toPoint()));
    const bool active = t.valid() && isActiveCode(t.code);
    if (active != m_overActiveTag) {
        m_overActiveTag = active;
        applyPointer();
    }
}

}  // namespace vasora::documents

namespace vasora::ScrivoAPI {

using documents::ScrivoControl;
using documents::TagSpan;

qint32 FIND_HTAG(ScrivoControl& control, qint32 code, qint32 direction) {
    const int from = control.cursorPosition();
    const TagSpan t =
        documents::findTag(*control.document(), from, direction < 0 ? -1 : 1, false, code);
    if (!t.valid()) return 0;
    control.standOnTag(t);
    return 1;
}

qint32 FIND_NTAG(ScrivoControl& control, qint32 code, qint32 direction) {
    const int dir = direction < 0 ? -1 : 1;
    // A walk that stands on a tag moves on from it rather than finding it again.
    TagSpan skip = control.currentTag();
    if (!skip.valid() || skip.start != control.RangeStart() || skip.length != control.RangeLength())
        skip = {};
    const TagSpan t =
        documents::findTag(*control.document(), control.RangeStart(), dir, code == 0, code, skip);
    if (!t.valid()) return 0;
    control.standOnTag(t);
    return dir;
}

qint16 SCRIVO_CURTOXY(ScrivoControl& control, qint32 para, qint32 character, qint32& x, qint32& y) {
    x = 0;
    y = 0;
    QTextDocument* doc = control.document();
    if (para < 0 || para >= doc->blockCount()) return 0;
    const QTextBlock b = doc->findBlockByNumber(para);
    if (!b.isValid()) return 0;
    const int offset = std::clamp(character, 0, std::max(0, b.length() - 1));
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const QRectF box = layout->blockBoundingRect(b);
    const QTextLayout* tl = b.layout();
    const QTextLine line = tl ? tl->lineForTextPosition(offset) : QTextLine();
    if (line.isValid()) {
        x = qint32(box.left() + line.cursorToX(offset));
        y = qint32(box.top() + line.y());
    } else {
        x = qint32(box.left());
        y = qint32(box.top());
    }
    return 1;
}

}  // namespace vasora::ScrivoAPI
