// The learner's keys and mouse on the control, its pointer, and the look of active tags.

#include "documents/ScrivoControl.h"

#include "documents/EmbeddedObjects.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTimer>

namespace vasora::documents {
namespace {

// Windows virtual-key codes, which the KeyDown event reports: the editing and moving keys by
// their own codes, letters and digits by their upper-case ASCII codes, the keypad's keys by the
// keypad codes, and every punctuation key by the OEM code of the key that types it on a US
// keyboard. Qt names a key by the character it types, so "." (Qt::Key_Period, 46) must not pass
// for 46, which is the virtual key of Delete, nor "%" (37) for the left arrow.
constexpr int kVkNumpad0 = 96, kVkMultiply = 106, kVkAdd = 107, kVkSubtract = 109, kVkDecimal = 110,
              kVkDivide = 111;
constexpr int kVkOem1 = 186, kVkOemPlus = 187, kVkOemComma = 188, kVkOemMinus = 189,
              kVkOemPeriod = 190, kVkOem2 = 191, kVkOem3 = 192, kVkOem4 = 219, kVkOem5 = 220,
              kVkOem6 = 221, kVkOem7 = 222;
// A character from a key that the US layout does not have (an accented letter of another
// layout); Windows reports such characters with this code too.
constexpr int kVkPacket = 231;

int editingKey(int k) {
    switch (k) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Clear:
            return 12;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
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
        case Qt::Key_Print:
            return 44;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Meta:
            return 91;
        case Qt::Key_Menu:
            return 93;
        case Qt::Key_NumLock:
            return 144;
        case Qt::Key_ScrollLock:
            return 145;
        default:
            return 0;
    }
}

int keypadKey(int k) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return kVkNumpad0 + (k - Qt::Key_0);
    switch (k) {
        case Qt::Key_Asterisk:
            return kVkMultiply;
        case Qt::Key_Plus:
            return kVkAdd;
        case Qt::Key_Minus:
            return kVkSubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return kVkDecimal;
        case Qt::Key_Slash:
            return kVkDivide;
        default:
            return 0;
    }
}

// The key of a US keyboard that types the character, shifted or not.
int characterKey(int k) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    switch (k) {
        case Qt::Key_ParenRight:
            return '0';
        case Qt::Key_Exclam:
            return '1';
        case Qt::Key_At:
            return '2';
        case Qt::Key_NumberSign:
            return '3';
        case Qt::Key_Dollar:
            return '4';
        case Qt::Key_Percent:
            return '5';
        case Qt::Key_AsciiCircum:
            return '6';
        case Qt::Key_Ampersand:
            return '7';
        case Qt::Key_Asterisk:
            return '8';
        case Qt::Key_ParenLeft:
            return '9';
        case Qt::Key_Semicolon:
        case Qt::Key_Colon:
            return kVkOem1;
        case Qt::Key_Equal:
        case Qt::Key_Plus:
            return kVkOemPlus;
        case Qt::Key_Comma:
        case Qt::Key_Less:
            return kVkOemComma;
        case Qt::Key_Minus:
        case Qt::Key_Underscore:
            return kVkOemMinus;
        case Qt::Key_Period:
        case Qt::Key_Greater:
            return kVkOemPeriod;
        case Qt::Key_Slash:
        case Qt::Key_Question:
            return kVkOem2;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde:
            return kVkOem3;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft:
            return kVkOem4;
        case Qt::Key_Backslash:
        case Qt::Key_Bar:
            return kVkOem5;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight:
            return kVkOem6;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl:
            return kVkOem7;
        default:
            return 0;
    }
}

int virtualKey(const QKeyEvent* e) {
    const int k = e->key();
    if (const int vk = editingKey(k)) return vk;
    if (e->modifiers() & Qt::KeypadModifier)
        if (const int vk = keypadKey(k)) return vk;
    if (const int vk = characterKey(k)) return vk;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    // Any other key (é on a French keyboard, µ, a dead key's result, a media key) has no code
    // of its own; what it types comes as a character.
    return kVkPacket;
}

// The characters a key types, as code points: Backspace, Tab, Enter and Escape as their control
// characters, anything else as the text the keyboard layout gives.
QList<uint> typedCharacters(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Backspace:
            return {8};
        case Qt::Key_Tab:
            return {9};
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return {13};
        case Qt::Key_Escape:
            return {27};
        default:
            break;
    }
    return e->text().toUcs4();
}

QTextCharFormat lookFormat(TagLook look) {
    QTextCharFormat f;
    switch (look) {
        case TagLook::Button:
            f.setBackground(QColor(205, 222, 245));
            f.setForeground(QColor(0, 40, 120));
            break;
        case TagLook::Link:
            f.setForeground(QColor(0, 0, 238));
            f.setFontUnderline(true);
            break;
        case TagLook::Figure:
            f.setForeground(QColor(0, 110, 40));
            f.setUnderlineStyle(QTextCharFormat::DotLine);
            break;
        case TagLook::InputField:
            f.setBackground(QColor(255, 250, 205));
            break;
        case TagLook::Plain:
            break;
    }
    return f;
}

}  // namespace

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

void ScrivoControl::setTagStylePolicy(std::shared_ptr<const TagStylePolicy> policy) {
    m_tagStyles = std::move(policy);
    refreshTagStyles();
    m_overActiveTag = false;
    applyPointer();
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
    if (!m_tagStyles) {
        setExtraSelections(styles);
        return;
    }
    // Only the tags in view, and a screen above and below, are styled: placing a selection
    // lays its line out, and styling every tag of a long document would lay all of it out at
    // once instead of as it comes into view. Scrolling and resizing style the new view.
    const int h = std::max(1, viewport()->height());
    const int from = cursorForPosition(QPoint(0, -h)).position();
    const int to = cursorForPosition(QPoint(viewport()->width(), 2 * h)).position();
    auto add = [&](int start, int end, TagLook look) {
        if (look == TagLook::Plain || end < from || start > to) return;
        QTextEdit::ExtraSelection s;
        s.cursor = QTextCursor(document());
        s.cursor.setPosition(start);
        s.cursor.setPosition(end, QTextCursor::KeepAnchor);
        s.format = lookFormat(look);
        styles.append(s);
    };
    for (const TagSpan& t : allTags(*document()))
        add(t.start, t.end(), m_tagStyles->tagStyle(t.code).look);
    if (const TagLook links = m_tagStyles->hyperlinkLook(); links != TagLook::Plain) {
        const QTextBlock last = document()->findBlock(to);
        for (QTextBlock b = document()->findBlock(from); b.isValid(); b = b.next()) {
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextFragment fr = it.fragment();
                if (!fr.isValid() || fr.charFormat().anchorHref().isEmpty()) continue;
                add(fr.position(), fr.position() + fr.length(), links);
            }
            if (b == last) break;
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

bool ScrivoControl::typeCharacters(const QList<uint>& typed, bool alwaysHandled) {
    // One character the handler leaves as it is is typed by the toolkit, as any key is; what
    // the handler changed, and several characters at once, the control types itself.
    bool handled = alwaysHandled || typed.size() > 1;
    for (const uint original : typed) {
        int ch = int(original);
        emit KeyPress(ch);
        if (ch == int(original) && !handled) continue;
        handled = true;
        const char32_t c = char32_t(ch);
        if (ch > 0 && ch <= 0x10FFFF && !m_readOnly && !isReadOnly())
            textCursor().insertText(QString::fromUcs4(&c, 1));
    }
    return handled;
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
    const QList<uint> typed = shortcut ? QList<uint>{} : typedCharacters(e);
    if (!typed.isEmpty() && typeCharacters(typed, false)) {
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}

void ScrivoControl::inputMethodEvent(QInputMethodEvent* e) {
    // What an input method composes (a dead key's accent, a character picked from a list)
    // arrives as its commit string, character by character, as typed keys do. The text being
    // composed is not shown in the document.
    syncVisualCursor();
    const QList<uint> typed = e->commitString().toUcs4();
    if (!typed.isEmpty()) typeCharacters(typed, true);
    e->accept();
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

void ScrivoControl::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click on an embedded object opens it in its server.
    if (e->button() == Qt::LeftButton &&
        m_objects->activateAt(*document(), characterAt(e->position().toPoint()), m_fileName)) {
        e->accept();
        return;
    }
    QTextEdit::mouseDoubleClickEvent(e);
}

void ScrivoControl::mouseMoveEvent(QMouseEvent* e) {
    QTextEdit::mouseMoveEvent(e);
    const TagSpan t = tagAt(*document(), characterAt(e->position().toPoint()));
    const bool active = t.valid() && m_tagStyles && m_tagStyles->tagStyle(t.code).active;
    if (active != m_overActiveTag) {
        m_overActiveTag = active;
        applyPointer();
    }
}

}  // namespace vasora::documents
