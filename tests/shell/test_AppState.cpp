// The learner's folders under the project folder: found whatever their case, made when missing.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "shell/AppState.h"

using namespace vasora;

TEST(LearnerFolder, MadeWhenMissingAndFoundWhateverItsCase) {
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    const QString made = learnerFolder(base, kParameterFolder);
    EXPECT_EQ(made, base + QStringLiteral("Parameters/"));
    EXPECT_TRUE(QFileInfo(made).isDir());
    // A folder the learner made in other letter case is used as it is, not made twice.
    ASSERT_TRUE(QDir(base).mkdir(QStringLiteral("lab book")));
    EXPECT_EQ(learnerFolder(base, kLabBookFolder), base + QStringLiteral("lab book/"));
    EXPECT_FALSE(QFileInfo(base + QStringLiteral("Lab Book")).exists());
}

TEST(LearnerFolder, AFolderThatCannotBeMadeStillGivesItsPath) {
    QTemporaryDir dir;
    // A file stands where the folder would go.
    QFile f(dir.path() + QStringLiteral("/Parameters"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString base = dir.path() + QLatin1Char('/');
    EXPECT_EQ(learnerFolder(base, kParameterFolder), base + QStringLiteral("Parameters/"));
}
