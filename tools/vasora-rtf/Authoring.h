#pragma once

// The authors' commands of vasora-rtf: compiling a document's source and checking a document.

#include <QByteArray>
#include <QStringList>

namespace vasora::rtftool {

/// compile [--sample] SOURCE OUT: 0 when written, 1 with the source's problems on standard
/// error. --sample writes a lab book's worked sample, with its answers in their fields.
int compileCommand(QStringList args);
/// check FILE [--info INFOFILE]: 0 when the checker finds nothing, 1 with every problem.
int checkCommand(const QStringList& args);
/// play IN OUT: plays the lab book IN as a learner would click it from top to bottom and writes
/// the filled book to OUT, with a report of every table on standard output. 0 when written, 1
/// when IN cannot be opened or OUT not written, 3 when IN can be read only in part (nothing is
/// written then).
int playCommand(const QStringList& args);

/// Writes `data` as the file `path`, whole or not at all; a path that is not a plain file is
/// refused. Says why on standard error when it fails.
bool writeDocument(const QString& path, const QByteArray& data);

}  // namespace vasora::rtftool
