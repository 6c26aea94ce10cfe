#pragma once

// The source form of the shipped documents: plain text that is pleasant to write and review,
// compiled into a document with tags that the RTF writer saves. docs/document-source.md
// describes the form for authors.

#include <QList>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace vasora::documents {

struct SourceFile final {
    QString name;  ///< for messages
    QString text;
};

struct SourceProblem final {
    QString file;
    int line = 0;
    QString message;
    QString toString() const;
};

struct SourceResult final {
    QList<SourceProblem> problems;
    bool ok() const { return problems.isEmpty(); }
};

/// Which of a lab book's two forms to make from its source: the template a learner copies, with
/// its answer fields empty, or the worked sample, with the answers written in.
enum class SourceVariant { Template, Sample };

/// Replaces the document's content by the compiled sources, taken one after another.
SourceResult compileSource(const QList<SourceFile>& files, QTextDocument& doc,
                           SourceVariant variant = SourceVariant::Template);

/// The sources at `path`: a file, or a folder whose .vtx files are taken in name order. An
/// unreadable path gives a problem and no files.
QList<SourceFile> readSourcePath(const QString& path, SourceResult& result);

}  // namespace vasora::documents
