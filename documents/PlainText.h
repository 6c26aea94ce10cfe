#pragma once

#include <QString>

class QTextDocument;

namespace vasora::documents {

/// The document as plain text: one paragraph a line; a table row is one line with its cells
/// separated by a tab (a merged cell once), the paragraphs of a cell joined by a blank.
QString plainText(const QTextDocument& doc);

}  // namespace vasora::documents
