#pragma once

// The plain-text pieces of the document source that need no document: how a table row's text
// splits into its cells.

#include <QString>
#include <QStringList>

namespace vasora::documents {

/// The cells of a table row ("| a | b |"), split at bars that are not escaped and not inside
/// a [[tag|text]]; each cell trimmed.
QStringList cellsOf(const QString& row);

}  // namespace vasora::documents
