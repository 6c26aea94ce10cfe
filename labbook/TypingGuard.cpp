#include "labbook/TypingGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

#include "core/TagCodes.h"
#include "documents/EmbeddedObjects.h"
#include "documents/ScrivoControl.h"
#include "documents/TagStyles.h"

namespace vasora::labbook {

using documents::TagSpan;

namespace {

constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kDelete = 46;
constexpr int kControlKey = 2;  // in KeyDown's shift state

// What may be typed into a field of this mode: line breaks stay inside the paragraph, so that
// a tag never runs over the end of one.
QString fieldText(QString text, TypingGuard::Mode mode) {
    const bool free = mode == TypingGuard::Mode::Free;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString out;
    out.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
            c == QChar::LineSeparator)
            out += free ? QChar(QChar::LineSeparator) : QChar(QLatin1Char(' '));
        else if (c == QLatin1Char('\t'))
            out += free ? c : QChar(QLatin1Char(' '));
        else if (c.category() != QChar::Other_Control && c != QChar::ObjectReplacementCharacter)
            out += c;
    }
    return out;
}

}  // namespace

TypingGuard::TypingGuard(documents::ScrivoControl* control) : QObject(control), m_control(control) {
    // The toolkit's own editing (keys, paste, drops, the context menu, undo) is off; every
    // edit the guard allows it makes itself.
    control->setReadOnly(true);
    control->installEventFilter(this);
    connect(control, &documents::ScrivoControl::KeyDown, this,
            [this](int& key, int shift) { keyDown(key, shift); });
    connect(control, &documents::ScrivoControl::KeyPress, this,
            [this](int& character) { keyPress(character); });
}

TypingGuard::Mode TypingGuard::modeOf(int code) {
    std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
    if (code < 0 || code > 99999 || !SplitTag(code, kind, p2, p3, p4)) return Mode::None;
    if (kind == kTagInputCell) return Mode::Cell;
    if (kind == kTagInputField && p2 == 0) return Mode::Bounded;
    if (kind == kTagInputField && p2 == 1) return Mode::Free;
    return Mode::None;
}

int TypingGuard::keepBlankFieldsVisible(QTextDocument& doc) {
    const bool modified = doc.isModified();
    int changed = 0;
    for (const TagSpan& t : documents::allTags(doc)) {
        if (modeOf(t.code) != Mode::Bounded && modeOf(t.code) != Mode::Free) continue;
        const QString text = documents::tagText(doc, t);
        if (text.isEmpty() || text.count(QLatin1Char(' ')) != text.size()) continue;
        documents::setTagText(doc, t, QString(text.size(), QChar(0x00A0)));
        ++changed;
    }
    doc.setModified(modified);
    return changed;
}

TypingGuard::Field TypingGuard::fieldHolding(int position) const {
    const TagSpan t = documents::tagAt(*m_control->document(), position);
    return {t, t.valid() ? modeOf(t.code) : Mode::None};
}

TypingGuard::Field TypingGuard::fieldAround(int position) const {
    // The cursor stands in a field when the character after it belongs to the field, or at
    // its end when the character before it is the field's last.
    if (const Field f = fieldHolding(position); f.valid()) return f;
    if (position <= 0) return {};
    const Field before = fieldHolding(position - 1);
    return before.valid() && before.tag.end() == position ? before : Field{};
}

int TypingGuard::EditState() const {
    switch (fieldAround(m_control->cursorPosition()).mode) {
        case Mode::None:
            return -1;
        case Mode::Free:
            return 1;
        default:
            return 0;
    }
}

TypingGuard::Range TypingGuard::selection() const {
    // A selection counts only while the visible cursor is the control's cursor; a move the
    // program made and has not shown yet ends it.
    const QTextCursor c = m_control->textCursor();
    const int p = m_control->cursorPosition();
    if (c.hasSelection() && c.position() == p) return {c.selectionStart(), c.selectionEnd()};
    return {p, p};
}

bool TypingGuard::mayInsert(const Field& f, const Range& r) const {
    if (!f.valid()) return false;
    if (!r.empty()) {
        // Typing over a selection takes text away, which a bounded field does not allow.
        return f.mode != Mode::Bounded && f.tag.start <= r.from && r.to <= f.tag.end();
    }
    // Text typed before the field's first character would not belong to it.
    if (r.from <= f.tag.start) return false;
    // A bounded field keeps its last character.
    if (f.mode == Mode::Bounded) return r.from < f.tag.end() - 1;
    return r.from <= f.tag.end();
}

bool TypingGuard::mayErase(const Field& f, const Range& r) const {
    // A field keeps at least one character, since a tag without text is gone.
    return f.valid() && f.mode != Mode::Bounded && !r.empty() && f.tag.start <= r.from &&
           r.to <= f.tag.end() && r.to - r.from < f.tag.length;
}

QTextCharFormat TypingGuard::fieldFormat(const Field& f) const {
    // New text takes the field's own format and tag, wherever in the field it goes; a picture
    // or an object at the field's start lends it its text format only.
    QTextCursor at(m_control->document());
    at.setPosition(f.tag.start + 1);
    return documents::textFormatOf(at.charFormat());
}

void TypingGuard::restyle(const Field& f, const Range& r, int inserted) {
    QTextCursor shown(m_control->document());
    shown.setPosition(r.from + inserted);
    m_control->setTextCursor(shown);
    // The field's look is drawn over a span that an edit at its start does not stretch.
    if (r.from == f.tag.start && inserted > 0)
        m_control->setTagStylePolicy(documents::labBookTagStyle());
}

void TypingGuard::replace(const Field& f, const Range& r, const QString& text) {
    const QTextCharFormat format = fieldFormat(f);
    QTextCursor c(m_control->document());
    c.setPosition(r.from);
    c.setPosition(r.to, QTextCursor::KeepAnchor);
    c.insertText(text, format);
    restyle(f, r, int(text.size()));
}

bool TypingGuard::mayInsertObject() const {
    const Range r = selection();
    const Field f = r.empty() ? fieldAround(r.from) : fieldHolding(r.from);
    return f.mode == Mode::Free && mayInsert(f, r);
}

bool TypingGuard::insertObject(const QString& spec) {
    const Range r = selection();
    const Field f = r.empty() ? fieldAround(r.from) : fieldHolding(r.from);
    if (f.mode != Mode::Free || !mayInsert(f, r)) {
        refuse();
        return false;
    }
    if (!m_control->insertObject(spec, r.from, r.to, fieldFormat(f))) return false;
    restyle(f, r, 1);
    return true;
}

void TypingGuard::refuse() {
    ++m_refusals;
    QApplication::beep();
}

void TypingGuard::keyDown(int& key, int shift) {
    if (key != kBackspace && key != kDelete) return;
    const int k = key;
    key = 0;  // the control never edits by itself
    Range r = selection();
    // Deleting whole words or lines at once is not offered inside a field.
    if (shift & kControlKey) return refuse();
    Field f;
    if (!r.empty()) {
        f = fieldHolding(r.from);
    } else if (k == kBackspace) {
        f = fieldAround(r.from);
        r = {r.from - 1, r.from};
    } else {
        f = fieldHolding(r.from);
        r = {r.from, r.from + 1};
    }
    if (!mayErase(f, r)) return refuse();
    replace(f, r, {});
}

void TypingGuard::keyPress(int& character) {
    const int ch = character;
    character = 0;                 // the control never types by itself
    if (ch == kBackspace) return;  // done at KeyDown
    if (ch == 27 || ch == 127 || (ch < 32 && ch != kTab && ch != kEnter)) return;
    const Range r = selection();
    const Field f = r.empty() ? fieldAround(r.from) : fieldHolding(r.from);
    if ((ch == kTab || ch == kEnter) && f.mode != Mode::Free) return refuse();
    // A lone half of a surrogate pair is no character; anything beyond the basic plane comes
    // as one code point.
    if (ch > 0x10FFFF || QChar::isSurrogate(char32_t(ch))) return refuse();
    if (!mayInsert(f, r)) return refuse();
    const char32_t c = char32_t(ch);
    replace(f, r, fieldText(QString::fromUcs4(&c, 1), f.mode));
}

void TypingGuard::paste() {
    const Range r = selection();
    const Field f = r.empty() ? fieldAround(r.from) : fieldHolding(r.from);
    const QString text = fieldText(QApplication::clipboard()->text(), f.mode);
    if (text.isEmpty() || !mayInsert(f, r)) return refuse();
    replace(f, r, text);
}

void TypingGuard::cut() {
    const Range r = selection();
    if (r.empty()) return;
    const Field f = fieldHolding(r.from);
    if (!mayErase(f, r)) return refuse();
    QApplication::clipboard()->setText(m_control->textCursor().selectedText());
    replace(f, r, {});
}

bool TypingGuard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_control || event->type() != QEvent::KeyPress) return false;
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->matches(QKeySequence::Paste)) {
        paste();
        return true;
    }
    if (k->matches(QKeySequence::Cut)) {
        cut();
        return true;
    }
    // The lab book keeps no history of edits to undo: an undo could only take back the
    // model's values or the learner's typing outside the field it was made in.
    if (k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo)) {
        refuse();
        return true;
    }
    return false;
}

}  // namespace vasora::labbook
