#pragma once

// Which folder the program takes as its project folder, and how a learner's own folder is made.
//
// Started in a folder that holds the shipped documents (the information file), the program
// works there, as it always has: a teacher's or a course's copy, or content/ of a build. Started
// anywhere else, as from the desktop menu, it works in a folder of the learner's own (the
// per-user data folder, ~/.local/share/Vasora), which it fills on first start with copies of the
// shipped documents, figures and parameter sets and the empty "Lab Book" and "Parameters"
// folders, so that a learner can save without write access to where the program is installed.
// `--project DIR` names the folder explicitly.
//
// Later starts keep everything the learner has. A newer shipped file replaces the learner's
// copy only when that copy is still exactly as it was shipped (a manifest of the shipped files'
// checksums is kept in the folder); a copy the learner has changed, and every file the program
// did not ship (lab books, saved parameter sets), is never touched.

#include <QString>
#include <QStringList>

namespace vasora::shell {

/// The file whose presence makes a folder a project folder.
inline constexpr const char* kProjectMarker = "FinalNT.rtf";
/// The manifest of the shipped copies in a learner's project folder.
inline constexpr const char* kShippedManifest = ".vasora-shipped";

struct ProjectChoice {
    /// The project folder, absolute and clean.
    QString folder;
    /// Whether the folder should be filled from the shipped content before use (the per-user
    /// folder, or a folder named with --project that lacks the documents).
    bool fill = false;
    /// Why: "--project", "current", "user".
    QString reason;
    /// A refused command line (--project without a folder); empty when all is well.
    QString error;
};

/// Decides the project folder. `currentDir` is the folder the program was started in, `args`
/// its arguments (the program's name first, as QCoreApplication::arguments() gives them),
/// `userFolder` the per-user folder to use when the current one is not a project folder, and
/// `shippedDir` the installation's own content folder (which is never written to: started
/// there, the program too takes the per-user folder).
ProjectChoice chooseProjectFolder(const QString& currentDir, const QStringList& args,
                                  const QString& userFolder, const QString& shippedDir = {});

/// Whether `folder` holds the shipped documents.
bool isProjectFolder(const QString& folder);

/// The shipped files under `shippedDir`, relative paths in name order: the documents (*.rtf),
/// the figures (Img*.jpg, .gif, .bmp) and the parameter sets (Parameters/*.txt).
QStringList shippedFiles(const QString& shippedDir);

struct FillResult {
    QStringList copied;   ///< copied because the folder lacked them
    QStringList updated;  ///< replaced by a newer shipped version, unchanged by the learner
    QStringList kept;     ///< differing from the shipped version and kept: the learner's
    QString error;        ///< the first failure, empty when none
};

/// Makes `folder` with its "Lab Book" and "Parameters" folders and brings the shipped files of
/// `shippedDir` into it by the rules above.
FillResult fillProjectFolder(const QString& folder, const QString& shippedDir);

/// Where the shipped content of this program lies: the installation's share/vasora, beside the
/// program's bin folder, or else the content folder of the source tree the program was built
/// from. Empty when neither holds the documents.
QString shippedContentDir();

/// The installation's share/vasora beside the program's bin folder, or empty when the program
/// does not run from an installation. Shared by every learner and read-only to them, it is never
/// a learner's project folder; the source tree's content folder, from which a build runs, is.
QString installedContentDir();

}  // namespace vasora::shell
