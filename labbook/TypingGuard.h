#pragma once

// Typing in the lab book is confined to its fields: the input cells of the tables (kind 3),
// where the learner types the values a table applies, and the input-field markers, 60000 (type
// within the field) and 61000 (free typing: backspace, delete, tab and line breaks as well).
// No key, paste, cut, drop or undo may change text outside the field the cursor stands in, or
// damage a tag: the control is read-only to the toolkit, and the guard makes every edit it
// allows itself, in the field's own tag.

#include <QObject>
#include <QTextCharFormat>

class QTextDocument;

#include "documents/Tags.h"

namespace vasora::documents {
class ScrivoControl;
}

namespace vasora::labbook {

class TypingGuard final : public QObject {
    Q_OBJECT
  public:
    enum class Mode { None, Bounded, Free, Cell };

    /// Guards `control` (which it makes read-only to the toolkit) for as long as both live.
    explicit TypingGuard(documents::ScrivoControl* control);

    /// The field the cursor stands in (or at the end of): −1 none, 0 typing within the field,
    /// 1 free typing.
    int EditState() const;
    /// Refused keys, pastes and cuts so far (each also beeps).
    int refusals() const { return m_refusals; }

    /// Whether an embedded object may go where the cursor stands: in a free-typing field,
    /// wherever typing there may go.
    bool mayInsertObject() const;
    /// Puts an object that the control's object library creates from `spec` ("*": the learner
    /// chooses in its insert-object dialog) where the cursor stands, in place of a selection,
    /// as part of the field. False when nothing was inserted; refused (with a beep) outside a
    /// free-typing field.
    bool insertObject(const QString& spec);

    /// The kind of field a tag code makes.
    static Mode modeOf(int code);

    /// Gives the input fields of `doc` that hold blanks only non-breaking blanks instead: a
    /// line never breaks inside them, so a field that would start at the end of a line moves
    /// to the next as a whole, where it can be seen and clicked, instead of hanging past the
    /// line's end. Books made from an earlier template have such fields. Leaves the document's
    /// modified flag as it was; returns the number of fields changed.
    static int keepBlankFieldsVisible(QTextDocument& doc);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Field {
        documents::TagSpan tag;
        Mode mode = Mode::None;
        bool valid() const { return mode != Mode::None; }
    };
    struct Range {
        int from = 0, to = 0;
        bool empty() const { return from == to; }
    };

    Field fieldHolding(int position) const;
    Field fieldAround(int position) const;
    Range selection() const;
    bool mayInsert(const Field& f, const Range& r) const;
    bool mayErase(const Field& f, const Range& r) const;
    QTextCharFormat fieldFormat(const Field& f) const;
    void restyle(const Field& f, const Range& r, int inserted);
    void replace(const Field& f, const Range& r, const QString& text);
    void refuse();

    void keyDown(int& key, int shift);
    void keyPress(int& character);
    void paste();
    void cut();

    documents::ScrivoControl* m_control;
    int m_refusals = 0;
};

}  // namespace vasora::labbook
