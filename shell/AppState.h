#pragma once

// The application state: where the project's files lie and which lab book is open. One instance
// lives for the whole run; strings start empty and numbers at 0.

#include <QString>
#include <cstdint>

namespace vasora {

/// Where the choice of a lab book stands.
enum LabBookStatus : std::int16_t {
    kNoLabBook = 0,      ///< none chosen; the main menu offers the choice
    kLabBookChosen = 1,  ///< chosen, not yet loaded into the display
    kLabBookLoaded = 2,  ///< loaded; the main menu goes straight to the display
};

/// Whether the information viewer has loaded its file.
enum InfoStatus : std::int16_t {
    kInfoNotLoaded = 0,
    kInfoLoaded = 2,  ///< the viewer's load step has run
};

struct AppState {
    /// Folder of the project files; always ends in the folder separator.
    QString ProjectPath;
    /// Start-up folder; parameter-set dialogs copy it back into LabBookBase.
    QString StartPath;
    QString LabBookBase;
    QString ImagePath;
    QString ParamSetBase;
    QString LabBookTemplate;
    QString InfoFile;
    QString HelpFile;
    QString OptionsHelpFile;
    QString LabBookName;
    QString LabBookFile;
    LabBookStatus LabBookState = kNoLabBook;
    /// 1 while the learner's own lab book is open.
    std::int16_t OwnLabBook = 0;
    InfoStatus InfoState = kInfoNotLoaded;
    bool InfoTreeShown = false;
    bool LabBookTreeShown = false;
};

AppState& appState();

/// Fixes ProjectPath from `folder` (the current directory at start-up) and derives every other
/// path from it, as the main menu's load does.
void fixProjectPaths(const QString& folder);

/// The existing file or folder that `path` names, its last component compared without regard
/// to case ("finalNT.rtf" finds "FinalNT.rtf"); `path` itself when nothing matches. Every file
/// name the program builds is looked up through this before it is opened.
QString existingPath(const QString& path);

/// The file `name` of the project folder, found whatever the case of its name.
QString projectFile(const QString& name);

/// The folders of the learner's own files under a project folder.
inline constexpr const char* kParameterFolder = "Parameters";
inline constexpr const char* kLabBookFolder = "Lab Book";

/// The folder `name` under `base` (which ends in a separator), found whatever the case of its
/// name, and made when it is missing so that a file dialog can open there. Ends in a
/// separator. Where it cannot be made, the path is given all the same and the dialog falls
/// back to what exists.
QString learnerFolder(const QString& base, const char* name);

}  // namespace vasora
