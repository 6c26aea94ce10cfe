#include "shell/ProjectFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>

#include "core/FileLookup.h"
#include "shell/AppState.h"

namespace vasora::shell {

namespace {

bool sameFolder(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QByteArray checksum(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f)) return {};
    return h.result().toHex();
}

// The manifest: one "checksum relative-path" line per shipped file, as it was last copied.
QMap<QString, QByteArray> readManifest(const QString& folder) {
    QMap<QString, QByteArray> m;
    QFile f(folder + QLatin1Char('/') + QLatin1String(kShippedManifest));
    if (!f.open(QIODevice::ReadOnly)) return m;
    // A manifest of a few dozen lines; anything much larger is not ours and is ignored.
    if (f.size() > 1 << 20) return m;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        if (blank <= 0) continue;
        m.insert(QString::fromUtf8(line.mid(blank + 1)).trimmed(), line.left(blank));
    }
    return m;
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    out.write(bytes);
    return out.commit();
}

}  // namespace

bool isProjectFolder(const QString& folder) {
    return QFileInfo(existingPath(folder + QLatin1Char('/') + QLatin1String(kProjectMarker)))
        .isFile();
}

ProjectChoice chooseProjectFolder(const QString& currentDir, const QStringList& args,
                                  const QString& userFolder, const QString& shippedDir) {
    ProjectChoice c;
    const QDir here(currentDir);
    for (qsizetype i = 1; i < args.size(); ++i) {
        QString named;
        if (args[i] == QLatin1String("--project")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                c.error = QStringLiteral("--project needs the name of a folder.");
                break;
            }
            named = args[++i];
        } else if (args[i].startsWith(QLatin1String("--project="))) {
            named = args[i].mid(10);
            if (named.isEmpty()) {
                c.error = QStringLiteral("--project needs the name of a folder.");
                break;
            }
        } else {
            continue;
        }
        c.folder = QDir::cleanPath(here.absoluteFilePath(named));
        c.reason = QStringLiteral("--project");
        c.fill = !isProjectFolder(c.folder);
        return c;
    }
    // The installation's own folder is read-only to a learner and shared by all of them.
    if (isProjectFolder(currentDir) && !sameFolder(currentDir, shippedDir)) {
        c.folder = QDir::cleanPath(here.absolutePath());
        c.reason = QStringLiteral("current");
        return c;
    }
    c.folder = QDir::cleanPath(userFolder);
    c.reason = QStringLiteral("user");
    c.fill = true;
    return c;
}

QStringList shippedFiles(const QString& shippedDir) {
    QStringList out;
    const QDir top(shippedDir);
    const QStringList documents =
        top.entryList({QStringLiteral("*.rtf"), QStringLiteral("Img*.jpg"),
                       QStringLiteral("Img*.gif"), QStringLiteral("Img*.bmp")},
                      QDir::Files, QDir::Name | QDir::IgnoreCase);
    out << documents;
    const QString params =
        existingPath(shippedDir + QLatin1Char('/') + QLatin1String(kParameterFolder));
    for (const QString& f :
         QDir(params).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
        out << QLatin1String(kParameterFolder) + QLatin1Char('/') + f;
    return out;
}

FillResult fillProjectFolder(const QString& folder, const QString& shippedDir) {
    FillResult r;
    if (!QDir().mkpath(folder)) {
        r.error =
            QStringLiteral("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(folder));
        return r;
    }
    const QString base = QDir::cleanPath(folder) + QLatin1Char('/');
    learnerFolder(base, kLabBookFolder);
    learnerFolder(base, kParameterFolder);

    QMap<QString, QByteArray> manifest = readManifest(folder);
    bool manifestChanged = false;
    for (const QString& rel : shippedFiles(shippedDir)) {
        const QString source = shippedDir + QLatin1Char('/') + rel;
        const QString target = existingPath(base + rel);
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = in.readAll();
        const QByteArray shipped =
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        const bool exists = QFileInfo::exists(target);
        const QByteArray present = exists ? checksum(target) : QByteArray();
        if (exists && present == shipped) {
            if (manifest.value(rel) != shipped)
                manifest.insert(rel, shipped), manifestChanged = true;
            continue;
        }
        // A file the learner has changed since it was copied, or one the program never
        // shipped into this folder, is the learner's.
        if (exists && (present.isEmpty() || manifest.value(rel) != present)) {
            r.kept << rel;
            continue;
        }
        if (!writeBytes(exists ? target : base + rel, bytes)) {
            if (r.error.isEmpty())
                r.error = QStringLiteral("%1 cannot be written.")
                              .arg(QDir::toNativeSeparators(base + rel));
            continue;
        }
        (exists ? r.updated : r.copied) << rel;
        manifest.insert(rel, shipped);
        manifestChanged = true;
    }
    if (manifestChanged) {
        QByteArray text;
        for (auto it = manifest.cbegin(); it != manifest.cend(); ++it)
            text += it.value() + ' ' + it.key().toUtf8() + '\n';
        if (!writeBytes(base + QLatin1String(kShippedManifest), text) && r.error.isEmpty())
            r.error = QStringLiteral("The list of shipped files in %1 cannot be written.")
                          .arg(QDir::toNativeSeparators(folder));
    }
    return r;
}

QString installedContentDir() {
    // The installed layout: the program in bin/, its content in share/vasora/.
    const QString c = QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                      QStringLiteral(VASORA_DATA_FROM_BIN));
    return isProjectFolder(c) ? c : QString();
}

QString shippedContentDir() {
    if (QString installed = installedContentDir(); !installed.isEmpty()) return installed;
#ifdef VASORA_SOURCE_CONTENT
    // Run from a build tree: the source's content folder.
    if (isProjectFolder(QStringLiteral(VASORA_SOURCE_CONTENT)))
        return QStringLiteral(VASORA_SOURCE_CONTENT);
#endif
    return {};
}

}  // namespace vasora::shell
