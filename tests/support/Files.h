#pragma once

// Whole files for the tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace vasora::test {

/// A file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

/// Writes a file whole; false when it could not be.
inline bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

}  // namespace vasora::test
