#pragma once

// The document checker: what makes a shipped document work in the program, checked before it
// ships. Every tag code in range; every link with its anchor in the information file; every
// figure tag with its picture file (a live figure, 53900 to 53999, with none: it must be one the
// program draws); level-2 headings under a level-1 heading; the tables of a
// lab book with their start markers and buttons.

#include <QString>
#include <QStringList>

class QTextDocument;

namespace vasora::documents {

struct CheckInput final {
    const QTextDocument* doc = nullptr;
    /// The folder the document's figures are looked for in (the project folder).
    QString folder;
    /// The information file the links lead into; nullptr when the document is the information
    /// file itself.
    const QTextDocument* info = nullptr;
};

/// Every problem, as "paragraph N: what is wrong"; empty when the document is sound.
QStringList checkDocument(const CheckInput& in);

}  // namespace vasora::documents
