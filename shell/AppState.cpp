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

void fixProjectPaths(const QString& folder) {
    AppState& a = appState();
    // The folder separator of this platform stands where the designs write a backslash.
    QString path = QDir::cleanPath(folder);
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    a.ProjectPath = path;
    if (a.LabBookState == 0) a.StartPath = a.ProjectPath;
    a.LabBookBase = a.ProjectPath;
    a.ImagePath = a.ProjectPath;
    a.ParamSetBase = a.ProjectPath;
    a.LabBookTemplate = a.ProjectPath + QStringLiteral("FinalLB.rtf");
    a.InfoFile = a.ProjectPath + QStringLiteral("FinalNT.rtf");
    a.HelpFile = a.ProjectPath + QStringLiteral("FileHelp.rtf");
    a.OptionsHelpFile = a.ProjectPath + QStringLiteral("OptionsHelp.rtf");
}

QString learnerFolder(const QString& base, const char* name) {
    const QString wanted = base + QString::fromUtf8(name);
    const QString found = QFile::decodeName(
        QByteArray::fromStdString(findFileNoCase(QFile::encodeName(wanted).toStdString())));
    if (!QFileInfo(found).isDir()) {
        QDir().mkpath(wanted);
        return wanted + QLatin1Char('/');
    }
    return found + QLatin1Char('/');
}

}  // namespace vasora
