#pragma once

// A learner's session with the shipped documents: a project folder holding copies of the
// shipped content, the program started on it as a learner starts it, and a learner's hands: a
// mouse click on a character of the lab book where it is drawn, and keys typed one by one.

#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include "documents/ScrivoControl.h"
#include "documents/Tags.h"
#include "labbook/frmDisplay.h"
#include "tests/documents/ControlPoints.h"
#include "tests/labbook/LabBookDocs.h"
#include "tests/support/GuiFixture.h"

class ShippedBook : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        project = QDir(dir.path()).canonicalPath() + QLatin1Char('/');
        const QDir content(qEnvironmentVariable("VASORA_SOURCE_DIR") + QStringLiteral("/content"));
        for (const QString& f : content.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(content.filePath(f), project + f)) << f.toStdString();
        start();
        vasora::fixProjectPaths(project);
    }

    vasora::labbook::frmDisplay* display() {
        return vasora::forms::existing<vasora::labbook::frmDisplay>(vasora::forms::frmDisplay);
    }
    vasora::documents::ScrivoControl& text() { return *display()->text(); }
    QTextDocument& doc() { return *text().document(); }
    std::vector<vasora::documents::TagSpan> tags(int code) {
        return vasora::test::tagsWithCode(doc(), code);
    }
    QString tagText(const vasora::documents::TagSpan& t) {
        return vasora::documents::tagText(doc(), t);
    }
    /// The tag with the same number as `t`, as it is now.
    vasora::documents::TagSpan now(const vasora::documents::TagSpan& t) {
        for (const vasora::documents::TagSpan& n : vasora::documents::allTags(doc()))
            if (n.id == t.id) return n;
        return {};
    }

    /// The learner's own new lab book, made from the main menu as the learner makes it.
    void newBook(const QString& name) {
        click(vasora::forms::frmMain, "cmdLabBook");
        seam.paths.push_back(project + QStringLiteral("Lab Book/") + name);
        click(vasora::forms::frmLBUser, "cmdSaveNewFile");
        ASSERT_EQ(vasora::appState().LabBookState, 2);
        QApplication::processEvents();
    }

    /// A click of the mouse on the character at `position`, scrolled into view first.
    void clickAt(int position) {
        // Pending events (the view following the cursor) run first; the point is taken from
        // the view as it then stands.
        QApplication::processEvents();
        const QPoint at = vasora::test::pointInView(text(), position);
        QTest::mouseClick(text().viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
    /// A click exactly between the characters at `position` - 1 and `position`: the cursor
    /// goes there, as when a learner clicks just after a digit to go on typing.
    void clickBetween(int position) {
        vasora::test::pointInView(text(), position);
        QTextCursor c(&doc());
        c.setPosition(position);
        const QRect r = text().cursorRect(c);
        QTest::mouseClick(text().viewport(), Qt::LeftButton, {}, QPoint(r.x(), r.center().y()));
        QApplication::processEvents();
    }
    /// A click on a tag's word, as on a button or a link.
    void clickTag(const vasora::documents::TagSpan& t) { clickAt(t.start + t.length / 2); }

    /// Keys typed one after the other, each a key press with its character, as a keyboard
    /// sends them: letters, digits and punctuation by the keys that type them.
    void type(const QString& s) { QTest::keyClicks(&text(), s); }
    /// A key of another layout, or a key of the keypad, that types `character`.
    void typeKey(int key, const QString& character, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, m, character);
        QApplication::sendEvent(&text(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, m, character);
        QApplication::sendEvent(&text(), &release);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(&text(), k, m);
    }

    QTemporaryDir dir;
    QString project;
};
