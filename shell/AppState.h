#pragma once

// The application state: where the project's files lie and which lab book is open. One instance
// lives for the whole run; strings start empty and numbers at 0.

#include <QString>
#include <cstdint>

namespace vasora {

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
    /// 0 no lab book chosen, 1 chosen but not loaded into the display, 2 loaded.
    std::int16_t LabBookState = 0;
    /// 1 while the learner's own lab book is open.
    std::int16_t OwnLabBook = 0;
    /// 2 once the information viewer has loaded InfoFile.
    std::int16_t InfoState = 0;
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
