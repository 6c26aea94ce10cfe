// The choice of the project folder and the filling of a learner's own folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "shell/ProjectFolder.h"

using namespace vasora::shell;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A shipped content folder as the installation has it, plus what only a source tree has.
struct Shipped {
    QTemporaryDir dir;
    QString path() const { return dir.path(); }
    Shipped() {
        write(path() + "/FinalNT.rtf", "{\\rtf1 information}");
        write(path() + "/FinalLB.rtf", "{\\rtf1 template}");
        write(path() + "/FileHelp.rtf", "{\\rtf1 help}");
        write(path() + "/Img001.jpg", "jpeg");
        write(path() + "/Parameters/heart failure.txt", "1\r\n2\r\n");
        write(path() + "/Parameters/.keep", "keep");
        write(path() + "/Lab Book/.keep", "keep");
        write(path() + "/README.md", "readme");
        write(path() + "/src/FinalLB.vtx", "source");
    }
};

const QStringList kProgram{QStringLiteral("vasora")};

}  // namespace

TEST(ProjectFolderChoice, FollowsTheCommandLineThenTheCurrentFolderThenTheUsersOwn) {
    Shipped shipped;
    QTemporaryDir elsewhere, course;
    write(course.path() + "/finalnt.RTF", "{\\rtf1}");  // names are compared without case
    const QString user = elsewhere.path() + "/home/.local/share/Vasora";

    // A course folder holding the documents is used as it is, as the program always did.
    ProjectChoice c = chooseProjectFolder(course.path(), kProgram, user, shipped.path());
    EXPECT_EQ(c.folder, QDir::cleanPath(course.path()));
    EXPECT_FALSE(c.fill);
    EXPECT_EQ(c.reason, "current");

    // Anywhere else, as from the desktop menu: the learner's own folder, to be filled.
    c = chooseProjectFolder(elsewhere.path(), kProgram, user, shipped.path());
    EXPECT_EQ(c.folder, user);
    EXPECT_TRUE(c.fill);
    EXPECT_EQ(c.reason, "user");

    // The installation's own folder holds the documents but is no place for a learner's files.
    c = chooseProjectFolder(shipped.path(), kProgram, user, shipped.path());
    EXPECT_EQ(c.folder, user);
    EXPECT_TRUE(c.fill);

    // --project wins over both, relative to the current folder, in either spelling; a folder
    // that lacks the documents is to be filled, one that has them is not.
    c = chooseProjectFolder(elsewhere.path(), kProgram + QStringList{"--project", "class/a"}, user,
                            shipped.path());
    EXPECT_EQ(c.folder, QDir::cleanPath(elsewhere.path() + "/class/a"));
    EXPECT_TRUE(c.fill);
    EXPECT_EQ(c.reason, "--project");
    c = chooseProjectFolder(elsewhere.path(), kProgram + QStringList{"--project=" + course.path()},
                            user, shipped.path());
    EXPECT_EQ(c.folder, QDir::cleanPath(course.path()));
    EXPECT_FALSE(c.fill);
    EXPECT_TRUE(c.error.isEmpty());

    // --project without a folder is refused and the usual choice stands.
    for (const QStringList& bad : {QStringList{"--project"}, QStringList{"--project="}}) {
        c = chooseProjectFolder(course.path(), kProgram + bad, user, shipped.path());
        EXPECT_FALSE(c.error.isEmpty());
        EXPECT_EQ(c.folder, QDir::cleanPath(course.path()));
    }
    // Other arguments are not folders.
    c = chooseProjectFolder(course.path(), kProgram + QStringList{"--quit-after-start"}, user,
                            shipped.path());
    EXPECT_EQ(c.reason, "current");
}

TEST(ProjectFolderFill, FirstStartCopiesTheShippedFilesAndMakesTheLearnersFolders) {
    Shipped shipped;
    QTemporaryDir home;
    const QString user = home.path() + "/.local/share/Vasora";

    EXPECT_EQ(shippedFiles(shipped.path()),
              (QStringList{"FileHelp.rtf", "FinalLB.rtf", "FinalNT.rtf", "Img001.jpg",
                           "Parameters/heart failure.txt"}));
    const FillResult r = fillProjectFolder(user, shipped.path());
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    EXPECT_EQ(r.copied, shippedFiles(shipped.path()));
    EXPECT_TRUE(r.updated.isEmpty());
    EXPECT_TRUE(isProjectFolder(user));
    EXPECT_EQ(read(user + "/FinalLB.rtf"), "{\\rtf1 template}");
    EXPECT_EQ(read(user + "/Parameters/heart failure.txt"), "1\r\n2\r\n");
    EXPECT_TRUE(QFileInfo(user + "/Lab Book").isDir());
    EXPECT_TRUE(QFileInfo(user + "/Parameters").isDir());
    // What only a source tree or an installation needs stays behind.
    EXPECT_FALSE(QFileInfo::exists(user + "/README.md"));
    EXPECT_FALSE(QFileInfo::exists(user + "/src"));
    EXPECT_FALSE(QFileInfo::exists(user + "/Parameters/.keep"));
}

TEST(ProjectFolderFill, LaterStartsKeepTheLearnersFilesAndUpdateOnlyUntouchedCopies) {
    Shipped shipped;
    QTemporaryDir home;
    const QString user = home.path() + "/Vasora";
    ASSERT_TRUE(fillProjectFolder(user, shipped.path()).error.isEmpty());

    // The learner works: a lab book, a parameter set, an edited copy of the template, a
    // deleted help file.
    write(user + "/Lab Book/mine.rtf", "my lab book");
    write(user + "/Parameters/my set.txt", "my set");
    write(user + "/FinalLB.rtf", "{\\rtf1 template with my notes}");
    ASSERT_TRUE(QFile::remove(user + "/FileHelp.rtf"));
    // A newer version of Vasora ships new texts, a new figure, and a set whose name the
    // learner happened to use already.
    write(shipped.path() + "/FinalNT.rtf", "{\\rtf1 information, second edition}");
    write(shipped.path() + "/FinalLB.rtf", "{\\rtf1 template, second edition}");
    write(shipped.path() + "/Img002.jpg", "new figure");
    write(user + "/Parameters/shock.txt", "the learner's own shock");
    write(shipped.path() + "/Parameters/shock.txt", "shipped shock");

    const FillResult r = fillProjectFolder(user, shipped.path());
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_EQ(r.updated, QStringList{"FinalNT.rtf"});
    EXPECT_EQ(r.copied, (QStringList{"FileHelp.rtf", "Img002.jpg"}));
    EXPECT_EQ(r.kept, (QStringList{"FinalLB.rtf", "Parameters/shock.txt"}));
    EXPECT_EQ(read(user + "/FinalNT.rtf"), "{\\rtf1 information, second edition}");
    EXPECT_EQ(read(user + "/FinalLB.rtf"), "{\\rtf1 template with my notes}");
    EXPECT_EQ(read(user + "/Parameters/shock.txt"), "the learner's own shock");
    EXPECT_EQ(read(user + "/Lab Book/mine.rtf"), "my lab book");
    EXPECT_EQ(read(user + "/Parameters/my set.txt"), "my set");
    EXPECT_EQ(read(user + "/FileHelp.rtf"), "{\\rtf1 help}");

    // Nothing changed: nothing to do, and the kept files stay kept.
    const FillResult again = fillProjectFolder(user, shipped.path());
    EXPECT_TRUE(again.copied.isEmpty());
    EXPECT_TRUE(again.updated.isEmpty());
    EXPECT_EQ(again.kept, r.kept);
}

TEST(ProjectFolderFill, AFolderThatCannotBeMadeIsReported) {
    Shipped shipped;
    QTemporaryDir home;
    write(home.path() + "/file", "not a folder");
    const FillResult r = fillProjectFolder(home.path() + "/file/Vasora", shipped.path());
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(r.copied.isEmpty());
}
