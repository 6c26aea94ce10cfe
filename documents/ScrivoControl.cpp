// The control's members: loading and saving, the cursor and range, and the current tag.

#include "documents/ScrivoControl.h"

#include "core/AtomicFile.h"
#include "core/Twips.h"
#include "documents/EmbeddedObjects.h"
#include "documents/RtfFormat.h"
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"
#include "documents/ScrivoHost.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
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

}  // namespace

ScrivoControl::ScrivoControl(const QString& objectName, QWidget* parent)
    : QTextEdit(parent),
      m_window(host::registerWindow(this)),
      m_objects(std::make_unique<EmbeddedObjects>(this, m_window)) {
    setObjectName(objectName);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    viewport()->setMouseTracking(true);
    replaceDocument(new QTextDocument(this));
    connect(this, &QTextEdit::cursorPositionChanged, this, &ScrivoControl::cursorMoved);
    connect(this, &QTextEdit::selectionChanged, this, &ScrivoControl::cursorMoved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { scheduleTagStyles(); });
}

void ScrivoControl::resizeEvent(QResizeEvent* e) {
    QTextEdit::resizeEvent(e);
    scheduleTagStyles();
}

ScrivoControl::~ScrivoControl() {
    m_objects.reset();
    host::unregisterWindow(m_window);
}

void ScrivoControl::replaceDocument(QTextDocument* doc) {
    // The edit deletes a document of its own making itself; ours are parented to the control.
    QTextDocument* old = document();
    const bool ours = old && old != doc && old->parent() == this;
    // The objects go with their document.
    if (old != doc) m_objects->clear();
    const QSignalBlocker block(this);
    setDocument(doc);
    if (ours) old->deleteLater();
    m_pos = 0;
    m_syncPending = false;
    // The cursor is a plain position; edits before it move it on or back.
    connect(doc, &QTextDocument::contentsChange, this, [this](int at, int removed, int added) {
        ++m_edits;
        // The looks of the tags are drawn over spans of the text: an edit anywhere may move
        // them, so they are laid again over the text as it now is.
        scheduleTagStyles();
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
    scheduleTagStyles();
}

bool ScrivoControl::setLoadNow(qint16 value) {
    if (value != 1) return true;
    const QString shown = QFileInfo(m_fileName).fileName();
    // A file name is compared without regard to case, as the documents were written for.
    QFile file(existingPath(m_fileName));
    if (m_fileName.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        ui::messageBox(QStringLiteral("The file %1 could not be opened.").arg(shown), {}, this);
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        ui::messageBox(QStringLiteral("The file %1 is too large to be a document.").arg(shown), {},
                       this);
        return false;
    }
    const QByteArray bytes = file.readAll();
    auto* doc = new QTextDocument(this);
    doc->setDefaultFont(font());
    QString problem;
    if (m_fileFormat == kFormatRichText) {
        problem = readRtf(bytes, *doc).message(shown);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        doc->setPlainText(utf8.decode(bytes));
    }
    replaceDocument(doc);
    m_objects->attach(*doc, m_fileName);
    doc->setModified(false);
    moveCursorTo(0);
    // The learner reads the message with what could be read already shown behind it.
    if (!problem.isEmpty()) ui::messageBox(problem, {}, this);
    return problem.isEmpty();
}

bool ScrivoControl::setSaveNow(qint16 value) {
    if (value != 1) return true;
    const QString shown = QFileInfo(m_fileName).fileName();
    if (m_fileFormat == kFormatRichText) m_objects->writeBack(*document());
    const QByteArray bytes =
        m_fileFormat == kFormatRichText
            ? writeRtfRange(*document(), m_rangeStart, m_rangeLength)
            : document()->toPlainText().mid(m_rangeStart, m_rangeLength).toUtf8();
    // The file is replaced only once the new one is completely written and on the disk, so a
    // failed save leaves the learner's earlier copy intact. The learner is told why, so that
    // a full disk or a folder that may not be written can be put right.
    const std::string why =
        m_fileName.isEmpty()
            ? std::string("no file name was given")
            : writeFileAtomically(QFile::encodeName(m_fileName).toStdString(),
                                  std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!why.empty()) {
        ui::messageBox(QStringLiteral("The file %1 could not be saved: %2.")
                           .arg(shown, QString::fromStdString(why)),
                       {}, this);
        return false;
    }
    document()->setModified(false);
    return true;
}

bool ScrivoControl::insertObject(const QString& spec, int from, int to,
                                 const QTextCharFormat& format) {
    return m_objects->insert(*document(), from, to, format, spec, m_fileName);
}

void ScrivoControl::objectChanged(ScrivoExtensionObject* object) {
    m_objects->changed(object, *document());
}

qint32 ScrivoControl::TextLength() const {
    return document()->characterCount() - 1;
}

void ScrivoControl::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    QTextEdit::setReadOnly(readOnly);
    // A read-only text still has a cursor the program and the keys can move.
    if (readOnly) setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // What an input method composes reaches KeyPress as typed keys do, read-only or not.
    setAttribute(Qt::WA_InputMethodEnabled, true);
    applyPointer();
}

void ScrivoControl::setPointerShape(qint16 shape) {
    m_pointerShape = shape;
    applyPointer();
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

int ScrivoControl::topPosition() const {
    return cursorForPosition(QPoint(0, 0)).position();
}

void ScrivoControl::scrollToTopPosition(int position) {
    const QTextBlock b = document()->findBlock(position);
    if (!b.isValid()) return;
    qint32 x = 0, y = 0;
    ScrivoAPI::SCRIVO_CURTOXY(*this, b.blockNumber(), position - b.position(), x, y);
    setScrollTop(y);
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

}  // namespace vasora::documents
