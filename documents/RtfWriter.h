#pragma once

// Writes a QTextDocument as RTF that common word processors open: text, character and paragraph
// formatting, headings, tables with merged cells, pictures (their original data), embedded
// objects (their original group) and hyperlinks. Tags are written as bookmarks named
// "vt" + code + "_" + a serial number around their visible text. The output depends on the
// document only, so reading it and writing again gives the same bytes.

#include <QByteArray>

class QTextDocument;

namespace vasora::documents {

QByteArray writeRtf(const QTextDocument& doc);

/// Writes the characters from start on, length of them; the whole document when the range
/// covers it.
QByteArray writeRtfRange(const QTextDocument& doc, int start, int length);

}  // namespace vasora::documents
