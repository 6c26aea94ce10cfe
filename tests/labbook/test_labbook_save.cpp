// A lab book save that cannot be written, driven as the learner saves with the save tag: the
// message names the book and why, the book on the disk stays as it was last saved, and the
// display keeps the learner's work unsaved.

#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "shell/AppState.h"
#include "tests/core/Unprivileged.h"
#include "tests/labbook/LabBookWindowsFixture.h"
#include "tests/support/Files.h"

using namespace vasora;
using test::readFile;

namespace {

class LabBookSaving : public LabBookWindows {
  protected:
    // A new book with a filled table, so that it has changed since it was made.
    void changedBook() {
        newLabBook("mine");
        clickTag(41000);
        ASSERT_TRUE(display()->changedSinceSaved());
        seam.shown.clear();
    }
    int chmodPath(const QString& path, mode_t mode) {
        return ::chmod(QFile::encodeName(path).constData(), mode);
    }
};

}  // namespace

TEST_F(LabBookSaving, AFolderOfTheBooksNameIsGivenAsTheReason) {
    changedBook();
    const QString book = appState().LabBookFile;
    ASSERT_TRUE(QFile::remove(book));
    ASSERT_TRUE(QDir().mkpath(book + "/inside"));
    clickTag(54000);
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(seam.messages()[0],
              "The file mine.rtf could not be saved: there is a folder of that name.");
    EXPECT_TRUE(QDir(book + "/inside").exists());
    EXPECT_TRUE(display()->changedSinceSaved());
}

TEST_F(LabBookSaving, AFolderThatMayNotBeWrittenIsGivenAsTheReasonAndTheBookStays) {
    changedBook();
    const QString book = appState().LabBookFile;
    const QByteArray lastSaved = readFile(book);
    ASSERT_FALSE(lastSaved.isEmpty());
    // The learner's folder is shared read-only, the book itself still writable.
    ASSERT_EQ(chmodPath(dir.path(), 0755), 0);
    ASSERT_EQ(chmodPath(project + "Lab Book", 0555), 0);
    ASSERT_EQ(chmodPath(book, 0666), 0);
    {
        const vasora::testing::Unprivileged learner;
        clickTag(54000);
    }
    ASSERT_EQ(chmodPath(project + "Lab Book", 0755), 0);
    ASSERT_EQ(seam.messages().size(), 1);
    EXPECT_EQ(seam.messages()[0],
              "The file mine.rtf could not be saved: no new file can be made "
              "in its folder (Permission denied).");
    EXPECT_EQ(readFile(book), lastSaved);
    EXPECT_EQ(QDir(project + "Lab Book").entryList(QDir::Files | QDir::Hidden),
              QStringList{"mine.rtf"});
    EXPECT_TRUE(display()->changedSinceSaved());
    // Once the folder may be written again, the same tag saves.
    clickTag(54000);
    EXPECT_EQ(seam.messages().size(), 1);
    EXPECT_NE(readFile(book), lastSaved);
    EXPECT_FALSE(display()->changedSinceSaved());
}
