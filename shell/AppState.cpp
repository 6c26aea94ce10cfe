#include "shell/AppState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/FileLookup.h"

namespace vasora {

AppState& appState() {
    static AppState s;
    return s;
}

QString existingPath(const QString& path) {
    if (path.isEmpty()) return path;
    return QFile::decodeName(
        QByteArray::fromStdString(findFileNoCase(QFile::encodeName(path).toStdString())));
}

QString projectFile(const QString& name) {
    return existingPath(appState().ProjectPath + name);
}

void fixProjectPaths(const QString& folder) {
    AppState& a = appState();
    // The folder separator of this platform stands where the designs write a backslash.
    QString path = QDir::cleanPath(folder);
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    a.ProjectPath = path;
    if (a.LabBookState == kNoLabBook) a.StartPath = a.ProjectPath;
    a.LabBookBase = a.ProjectPath;
    a.ImagePath = a.ProjectPath;
    a.ParamSetBase = a.ProjectPath;
    a.LabBookTemplate = projectFile(QStringLiteral("FinalLB.rtf"));
    a.InfoFile = projectFile(QStringLiteral("FinalNT.rtf"));
    a.HelpFile = projectFile(QStringLiteral("FileHelp.rtf"));
    a.OptionsHelpFile = projectFile(QStringLiteral("OptionsHelp.rtf"));
}

QString learnerFolder(const QString& base, const char* name) {
    const QString wanted = base + QString::fromUtf8(name);
    const QString found = existingPath(wanted);
    if (!QFileInfo(found).isDir()) {
        QDir().mkpath(wanted);
        return wanted + QLatin1Char('/');
    }
    return found + QLatin1Char('/');
}

}  // namespace vasora
