#pragma once

// The program's command line: its options, the lab book a launcher hands it, and what is done
// with them at start-up.
//
// It is read twice. Before the toolkit starts, only for --help, --version and options the
// program does not know, so that these never open a window or fill a learner's folder; the
// toolkit's own options (-platform, -style, ...) and their values are not judged then. Once the
// toolkit has taken its own options out, it is read in full.

#include <QString>
#include <QStringList>

namespace vasora::app {

struct CommandLine {
    enum class Action { Start, Help, Version, Usage };
    Action action = Action::Start;
    /// Why the command line was refused (Action::Usage).
    QString error;
    /// The program's name and the options, without the files: what the choice of the project
    /// folder reads (shell/ProjectFolder.h).
    QStringList options;
    /// The lab book named on the command line, as given; empty when none.
    QString labBook;
    /// --tour FOLDER.
    QString tour;
    bool quitAfterStart = false;
};

/// Reads `args` (the program's name first). `beforeToolkit`: the toolkit has not yet taken its
/// own options out, so single-dash words and files are left alone.
CommandLine parseCommandLine(const QStringList& args, bool beforeToolkit);

/// The text of --help, ending in a newline.
QString helpText();
/// The text of --version, ending in a newline.
QString versionText();
/// The short hint after a refused command line, ending in a newline.
QString usageHint();

/// Opens `file` as the learner's own lab book once the main menu is up, as the main menu's Lab
/// Book button and then "Retrieve File" would. A file that is no lab book is reported once and
/// the main menu stays. Returns whether the book was opened.
bool openStartingLabBook(const QString& file);

/// Installs, for the rest of the program, dialogs that nobody has to answer: messages go to
/// standard error, questions are answered No or Cancel and file dialogs are cancelled. For a
/// start that is timed or tested (--quit-after-start).
void answerDialogsOnStandardError();

}  // namespace vasora::app
