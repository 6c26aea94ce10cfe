#pragma once

// The rich-text hypertext control every document window shows its text in. It reads and writes
// RTF with tags (see RtfReader.h, RtfWriter.h), and offers the members, functions and events
// the windows rely on under their own names. Positions: a cursor is a paragraph number
// (0 = first, table cell paragraphs counted in document order) and a character offset in it; a
// range is an absolute character position and a length. ScrollTop and the y of SCRIVO_CURTOXY
// are in pixels from the top of the document.

#include "documents/TagStylePolicy.h"
#include "documents/Tags.h"

#include <QHash>
#include <QTextEdit>
#include <QVariant>
#include <cstdint>
#include <memory>

struct ScrivoExtensionObject;

namespace vasora::documents {

class EmbeddedObjects;

/// Dispatch ids of the members. Ids 45, 64, 69, 81, 90 and 99 (below, kIdTypingColour to
/// kIdHyperMode) named settings of an earlier control: the typing colour and flag, the tag base
/// and mode, a modified flag and a hypertext mode. This control needs none of them; it accepts
/// them by dispatch (a document's host may still set them) and does nothing with them, and the
/// program itself no longer sets them. This is the one place that says so.
enum ScrivoId : int {
    kIdPointerShape = 5,
    kIdCursorChar = 19,
    kIdCursorPara = 20,
    kIdFileFormat = 29,
    kIdLineWidth = 31,
    kIdLoadNow = 39,
    kIdFileName = 40,
    kIdSaveNow = 41,
    kIdTypingColour = 45,
    kIdClickedTag = 59,
    kIdTagBase = 64,
    kIdTagCode = 65,
    kIdTypingFlag = 69,
    kIdTagMode = 81,
    kIdScrollTop = 83,
    kIdRangeLength = 85,
    kIdRangeStart = 86,
    kIdTagText = 87,
    kIdModifiedFlag = 90,
    kIdReadOnly = 96,
    kIdHyperMode = 99,
    kIdTextLength = 139,
};

/// FileFormat values: 3 is rich text, anything else plain text.
constexpr int kFormatRichText = 3;
/// PointerShape values the program uses.
constexpr int kPointerText = 3;
constexpr int kPointerBusy = 11;

class ScrivoControl final : public QTextEdit {
    Q_OBJECT
  public:
    explicit ScrivoControl(const QString& objectName, QWidget* parent = nullptr);
    ~ScrivoControl() override;
    ScrivoControl(const ScrivoControl&) = delete;
    ScrivoControl& operator=(const ScrivoControl&) = delete;

    QString FileName() const { return m_fileName; }
    void setFileName(const QString& name) { m_fileName = name; }
    int FileFormat() const { return m_fileFormat; }
    void setFileFormat(int format) { m_fileFormat = format; }
    /// Setting 1 replaces the document by the file FileName. Returns false when the file could
    /// not be opened (the document is then unchanged) or read only in part; either is reported
    /// to the learner.
    bool setLoadNow(qint16 value);
    /// Setting 1 writes the range to FileName. Returns false (and tells the learner) when the
    /// file could not be written; an existing file is then left as it was.
    bool setSaveNow(qint16 value);
    qint32 TextLength() const;
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    qint16 PointerShape() const { return m_pointerShape; }
    void setPointerShape(qint16 shape);
    /// The wrap width in twips; 0 wraps at the control's width.
    double LineWidth() const { return m_lineWidth; }
    void setLineWidth(double twipsWidth);
    qint32 ScrollTop() const;
    void setScrollTop(qint32 y);
    qint32 TagCode() const;
    void setTagCode(qint32 code);
    QString TagText() const;
    void setTagText(const QString& text);
    qint32 ClickedTag() const { return m_clickedTag; }
    qint32 CursorPara() const;
    void setCursorPara(qint32 para);
    qint16 CursorChar() const;
    void setCursorChar(qint32 offset);
    qint32 RangeStart() const { return m_rangeStart; }
    void setRangeStart(qint32 start);
    qint32 RangeLength() const { return m_rangeLength; }
    void setRangeLength(qint32 length);

    /// Late-bound access by dispatch id.
    void setDispatch(int id, const QVariant& value);
    QVariant dispatch(int id) const;

    /// The current tag (set by FIND_NTAG and FIND_HTAG, and by a click on a tag), checked
    /// against the document as it now is.
    TagSpan currentTag() const;
    /// Makes a tag current: the cursor goes to its start and the range is its span.
    void standOnTag(const TagSpan& tag);
    /// The character at the top left of the view, and the view scrolled so that it is there
    /// again once the text has been laid out anew (at another width): a reader keeps the place.
    int topPosition() const;
    void scrollToTopPosition(int position);
    /// The cursor's absolute position (what CursorPara and CursorChar describe).
    int cursorPosition() const { return m_pos; }

    /// How tags look and which of them act on a click (a pointing hand); none: all plain. The
    /// looks are drawn over the text and never saved.
    void setTagStylePolicy(std::shared_ptr<const TagStylePolicy> policy);

    /// The document's embedded objects (EmbeddedObjects.h): drawn in the text, opened by a
    /// double click, written back when saved.
    const EmbeddedObjects& embeddedObjects() const { return *m_objects; }
    /// Creates an embedded object from `spec` ("*": the learner chooses in the object
    /// library's insert-object dialog) and puts it in place of the characters from..to, in
    /// `format`. False when nothing was inserted (no library, cancelled, failed).
    bool insertObject(const QString& spec, int from, int to, const QTextCharFormat& format);
    /// The number by which the object library names this control's window.
    std::uint32_t objectWindow() const { return m_window; }
    /// The object library's message that an object of this control changed.
    void objectChanged(ScrivoExtensionObject* object);

  signals:
    /// kind is 1 when the cursor moved from one tag (or none, code 0) to another.
    void TagChange(int& kind, int& newCode, int& oldCode);
    void TagClick();
    /// Windows virtual-key code and shift state (1 shift, 2 control, 4 alt); a handler that
    /// sets keyCode to 0 swallows the key.
    void KeyDown(int& keyCode, int shift);
    /// The character typed (a Unicode code point), by a key or an input method; a handler that
    /// sets it to 0 swallows it, one that changes it types the new character instead.
    void KeyPress(int& character);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void cursorMoved();
    void checkTagChange(const TagSpan* tagThere = nullptr);
    void moveCursorTo(int position, const TagSpan* tagThere = nullptr);
    void syncVisualCursor();
    void refreshTagStyles();
    void scheduleTagStyles();
    void applyPointer();
    int characterAt(const QPoint& viewportPos) const;
    bool typeCharacters(const QList<uint>& typed, bool alwaysHandled);
    void replaceDocument(QTextDocument* doc);

    // The control's cursor. The edit's visible cursor is brought to it when the program
    // returns to the event loop, and follows the learner's clicks and keys at once.
    int m_pos = 0;
    // Edits of the document so far, and their count when the current tag was found.
    quint64 m_edits = 0;
    quint64 m_tagEdits = 0;
    bool m_syncPending = false;
    bool m_syncing = false;
    QString m_fileName;
    int m_fileFormat = kFormatRichText;
    bool m_readOnly = false;
    qint16 m_pointerShape = 0;
    double m_lineWidth = 0;
    qint32 m_clickedTag = 0;
    qint32 m_rangeStart = 0;
    qint32 m_rangeLength = 0;
    TagSpan m_tag;
    int m_cursorTagId = 0;
    int m_cursorTagCode = 0;
    std::shared_ptr<const TagStylePolicy> m_tagStyles;
    bool m_stylesPending = false;
    bool m_overActiveTag = false;
    QPoint m_pressPos;
    bool m_pressed = false;
    QHash<int, QVariant> m_ignored;
    std::uint32_t m_window = 0;
    std::unique_ptr<EmbeddedObjects> m_objects;
};

}  // namespace vasora::documents

// The library functions of the control, by their names in the program.
namespace vasora::ScrivoAPI {

/// Searches from the cursor for the tag carrying code (direction 1 forward, -1 backward).
/// Greater than 0 when found; the cursor then stands on the tag.
qint32 FIND_HTAG(documents::ScrivoControl& control, qint32 code, qint32 direction);
/// Searches from RangeStart for a tag with the code (0: any). Returns 1 forward or -1 backward
/// when found, the tag then being current; 0 when none is left.
qint32 FIND_NTAG(documents::ScrivoControl& control, qint32 code, qint32 direction);
/// The position of a cursor in document pixels; returns 1, or 0 (x and y 0) for a position
/// outside the document.
qint16 SCRIVO_CURTOXY(documents::ScrivoControl& control, qint32 para, qint32 character, qint32& x,
                      qint32& y);

}  // namespace vasora::ScrivoAPI
