#pragma once

// The lab book's windows in a temporary project folder: the template of a short course, the
// sample made from it, the information file and a figure; the learner's steps as helpers.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "documents/ScrivoControl.h"
#include "labbook/LabBookPlay.h"
#include "labbook/frmDisplay.h"
#include "tests/labbook/LabBookDocs.h"
#include "tests/support/GuiFixture.h"

inline QString shipped(const QString& name) {
    return qEnvironmentVariable("VASORA_SOURCE_DIR") + QStringLiteral("/content/") + name;
}

class LabBookWindows : public GuiFixture {
  protected:
    void SetUp() override {
        GuiFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        project = QDir(dir.path()).canonicalPath() + QLatin1Char('/');
        // The project folder: the template of a short course, the sample made from it, the
        // information file and a figure.
        const QString course = vasora::test::courseSource() + vasora::test::plotSource(3, false);
        auto templ = vasora::test::compileBook(course);
        ASSERT_TRUE(vasora::test::writeBook(*templ, project + "FinalLB.rtf"));
        auto sample = vasora::test::compileBook(course, vasora::documents::SourceVariant::Sample);
        vasora::labbook::playLabBook(*sample);
        ASSERT_TRUE(vasora::test::writeBook(*sample, project + "Explore.rtf"));
        ASSERT_TRUE(QFile::copy(shipped("FinalNT.rtf"), project + "FinalNT.rtf"));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkRed);
        ASSERT_TRUE(picture.save(project + "Img001.jpg", "JPG"));
        start();
        vasora::fixProjectPaths(project);
    }

    vasora::labbook::frmDisplay* display() {
        return vasora::forms::existing<vasora::labbook::frmDisplay>(vasora::forms::frmDisplay);
    }
    vasora::documents::ScrivoControl& text() { return *display()->text(); }
    QTextDocument& doc() { return *text().document(); }
    QString cell(int code, std::size_t nth = 0) { return vasora::test::cellOf(doc(), code, nth); }
    QString modelCaption(const char* label) { return caption(label); }

    /// A new lab book `name` under the project's "Lab Book" folder, as the learner makes it.
    void newLabBook(const QString& name) {
        click(vasora::forms::frmMain, "cmdLabBook");
        ASSERT_TRUE(visible(vasora::forms::frmLBUser));
        seam.paths.push_back(project + "Lab Book/" + name);
        click(vasora::forms::frmLBUser, "cmdSaveNewFile");
        ASSERT_NE(display(), nullptr);
    }

    /// Clicks the `nth` tag with `code` in the display with the mouse.
    void clickTag(int code, std::size_t nth = 0) {
        const auto tags = vasora::test::tagsWithCode(doc(), code);
        ASSERT_LT(nth, tags.size()) << code;
        QTextCursor c(&doc());
        c.setPosition(tags[nth].start + 1);
        text().setTextCursor(c);
        text().ensureCursorVisible();
        QApplication::processEvents();
        QTest::mouseClick(text().viewport(), Qt::LeftButton, {}, text().cursorRect(c).center());
    }
    int paragraphOf(int code, std::size_t nth = 0) {
        const int at = vasora::test::tagsWithCode(doc(), code).at(nth).start;
        return doc().findBlock(at).blockNumber();
    }

    QTemporaryDir dir;
    QString project;
};
