#pragma once

// A test that queues an answer on the scripted dialog seam expects a dialog to ask for it. An
// answer still queued when the test ends was never asked for: either the test scripts a dialog
// the program no longer shows, or the program skipped one it should have shown. The fixtures
// that install a scripted seam check this as each test ends.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include "shell/Dialogs.h"

namespace vasora::test {

inline QString answerName(ui::Answer a) {
    switch (a) {
        case ui::Answer::Ok:
            return QStringLiteral("Ok");
        case ui::Answer::Cancel:
            return QStringLiteral("Cancel");
        case ui::Answer::Yes:
            return QStringLiteral("Yes");
        case ui::Answer::No:
            return QStringLiteral("No");
    }
    return QStringLiteral("answer %1").arg(int(a));
}

/// The answers queued on `seam` that no dialog took, in queue order: questions' buttons, file
/// dialogs' paths, print dialogs' files.
inline QStringList unaskedAnswers(const ui::ScriptedSeam& seam) {
    QStringList out;
    for (const ui::Answer a : seam.answers)
        out << QStringLiteral("question answered %1").arg(answerName(a));
    for (const QString& p : seam.paths) out << QStringLiteral("file dialog choosing \"%1\"").arg(p);
    for (const QString& p : seam.printFiles)
        out << QStringLiteral("print dialog printing to \"%1\"").arg(p);
    return out;
}

/// Fails the running test, naming them, when answers queued on `seam` were never asked for.
inline void expectEveryAnswerAsked(const ui::ScriptedSeam& seam) {
    const QStringList left = unaskedAnswers(seam);
    if (!left.isEmpty())
        ADD_FAILURE() << "scripted dialog answers never asked for: "
                      << left.join(QStringLiteral("; ")).toStdString();
}

}  // namespace vasora::test
