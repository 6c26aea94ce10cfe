// The typing guard of the lab book display: whatever the learner does with keys, the
// clipboard, drag and drop or undo, only the text of the field the cursor stands in changes,
// and no tag is damaged.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "labbook/TypingGuard.h"
#include "tests/labbook/LabBookDocs.h"

using namespace vasora;
using documents::ScrivoControl;
using labbook::TypingGuard;

namespace {

const QString kBook = QStringLiteral(
    "Before the table.\n"
    "[[10000|Table 1]]\n"
    "| Resistance | [[31015|  200  ]] | [[21011|  93.7 ]] |\n"
    "[[41000|Apply]]\n"
    "\n"
    "Answer: {{x}} and bounded [[60000|_________]] end.\n");

class Guard : public ::testing::Test {
  protected:
    void SetUp() override {
        auto doc = test::compileBook(kBook, documents::SourceVariant::Sample);
        const QString file = dir.filePath(QStringLiteral("book.rtf"));
        ASSERT_TRUE(test::writeBook(*doc, file));
        control.setFileName(file);
        ASSERT_TRUE(control.setLoadNow(1));
        control.resize(700, 400);
        guard = new TypingGuard(&control);
        snapshot();
    }
    // The document as it is now, for expectOnlyInside.
    void snapshot() {
        before = control.document()->toPlainText();
        tagsBefore = documents::allTags(*control.document());
    }

    documents::TagSpan tag(int code) {
        for (const documents::TagSpan& t : documents::allTags(*control.document()))
            if (t.code == code) return t;
        return {};
    }
    QString text(int code) { return documents::tagText(*control.document(), tag(code)); }
    // Puts the cursor at `position`, or selects from `position` to `end`, as the learner's
    // click or drag does.
    void place(int position, int end = -1) {
        QTextCursor c(control.document());
        c.setPosition(position);
        if (end >= 0) c.setPosition(end, QTextCursor::KeepAnchor);
        control.setTextCursor(c);
    }
    void type(const QString& s) { QTest::keyClicks(&control, s); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(&control, k, m);
    }
    // The text outside the tag `code` is as it was, and every tag is still there.
    void expectOnlyInside(int code) {
        const documents::TagSpan now = tag(code);
        ASSERT_TRUE(now.valid());
        const QString after = control.document()->toPlainText();
        const documents::TagSpan was = [&] {
            for (const documents::TagSpan& t : tagsBefore)
                if (t.code == code) return t;
            return documents::TagSpan{};
        }();
        EXPECT_EQ(after.left(now.start), before.left(was.start));
        EXPECT_EQ(after.mid(now.end()), before.mid(was.end()));
        EXPECT_EQ(documents::allTags(*control.document()).size(), tagsBefore.size());
    }

    QTemporaryDir dir;
    ScrivoControl control{QStringLiteral("scrivoLabBook")};
    TypingGuard* guard = nullptr;
    QString before;
    std::vector<documents::TagSpan> tagsBefore;
};

}  // namespace

TEST_F(Guard, TypingWorksInsideAnInputCellAndNowhereElse) {
    const documents::TagSpan cell = tag(31015);
    place(cell.start + 2);  // before "200"
    EXPECT_EQ(guard->EditState(), 0);
    key(Qt::Key_Delete);
    key(Qt::Key_Delete);
    key(Qt::Key_Delete);
    type(QStringLiteral("150"));
    EXPECT_EQ(text(31015), "  150  ");
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(31015), "  15  ");
    expectOnlyInside(31015);
    const int refused = guard->refusals();

    // Outside any field nothing is typed, deleted or broken.
    const QString inCell = control.document()->toPlainText();
    for (int at : {0, 3, tag(41000).start + 1, tag(21011).start + 2}) {
        place(at);
        EXPECT_EQ(guard->EditState(), -1) << at;
        type(QStringLiteral("9"));
        key(Qt::Key_Backspace);
        key(Qt::Key_Delete);
        key(Qt::Key_Return);
    }
    EXPECT_EQ(control.document()->toPlainText(), inCell);
    EXPECT_GE(guard->refusals(), refused + 16);
}

TEST_F(Guard, TheEdgesOfACellHoldItsTagTogether) {
    const documents::TagSpan cell = tag(31015);
    // At its first character a typed one would not belong to the cell.
    place(cell.start);
    type(QStringLiteral("1"));
    EXPECT_EQ(text(31015), "  200  ");
    // At its end typing lengthens the cell.
    place(cell.end());
    type(QStringLiteral("0"));
    EXPECT_EQ(text(31015), "  200  0");
    // Backspace at its start would take the character before the cell.
    place(cell.start);
    key(Qt::Key_Backspace);
    // A cell is never emptied: deleting all its text is refused.
    place(tag(31015).start, tag(31015).end());
    key(Qt::Key_Delete);
    EXPECT_EQ(text(31015), "  200  0");
    // Typing over the whole cell keeps it one cell with its code.
    type(QStringLiteral("50"));
    EXPECT_EQ(text(31015), "50");
    EXPECT_EQ(tag(31015).length, 2);
    expectOnlyInside(31015);
    // A selection that reaches outside the cell is not typed over.
    place(tag(31015).start, tag(31015).end() + 3);
    type(QStringLiteral("7"));
    EXPECT_EQ(text(31015), "50");
    expectOnlyInside(31015);
}

TEST_F(Guard, PasteCutUndoAndDropCannotReachOutsideTheField) {
    QApplication::clipboard()->setText(QStringLiteral("12\n34"));
    // Outside a field: refused.
    place(2);
    key(Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(control.document()->toPlainText(), before);
    // Inside a cell: pasted, its line break a blank, in the cell's tag.
    place(tag(31015).start + 2, tag(31015).start + 5);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(31015), "  12 34  ");
    expectOnlyInside(31015);

    // Cut: a selection over the cell's edge and the text around it is refused; one inside the
    // cell goes to the clipboard.
    const QString pasted = control.document()->toPlainText();
    place(tag(31015).start - 3, tag(31015).start + 3);
    key(Qt::Key_X, Qt::ControlModifier);
    place(0, 10);
    key(Qt::Key_Delete, Qt::ShiftModifier);
    key(Qt::Key_Backspace);
    EXPECT_EQ(control.document()->toPlainText(), pasted);
    place(tag(31015).start + 2, tag(31015).start + 4);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "12");
    EXPECT_EQ(text(31015), "   34  ");

    // There is no undo that could bring back anything, inside the field or out.
    const QString cut = control.document()->toPlainText();
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Y, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(control.document()->toPlainText(), cut);

    // Text dropped anywhere is not taken.
    QMimeData mime;
    mime.setText(QStringLiteral("dropped"));
    for (int at : {2, tag(31015).start + 2}) {
        place(at);
        const QPoint p = control.cursorRect().center();
        QDragEnterEvent enter(p, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(control.viewport(), &enter);
        QDropEvent drop(p, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(control.viewport(), &drop);
    }
    EXPECT_EQ(control.document()->toPlainText(), cut);
    // Nor can the toolkit's context menu edit: the control is read-only to it.
    EXPECT_TRUE(control.isReadOnly());
}

TEST_F(Guard, AFreeFieldTakesEditingKeysAndABoundedOneOnlyCharacters) {
    const documents::TagSpan answer = tag(61000);
    place(answer.start + 2);
    EXPECT_EQ(guard->EditState(), 1);
    key(Qt::Key_Backspace);
    type(QStringLiteral("yz"));
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    type(QStringLiteral("w"));
    // The line break stays inside the paragraph, so the answer stays one tag.
    EXPECT_EQ(text(61000), QStringLiteral(" yz\t") + QChar(QChar::LineSeparator) + "w ");
    expectOnlyInside(61000);

    snapshot();
    const documents::TagSpan bounded = tag(60000);
    place(bounded.start + 3);
    EXPECT_EQ(guard->EditState(), 0);
    type(QStringLiteral("ok"));
    key(Qt::Key_Backspace);
    key(Qt::Key_Delete);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    EXPECT_EQ(text(60000), "___ok______");
    // Its last character stays the last.
    place(tag(60000).end() - 1);
    type(QStringLiteral("!"));
    EXPECT_EQ(text(60000), "___ok______");
    expectOnlyInside(60000);
}
