#pragma once

// Helpers of the document tests.

#include "documents/RtfReader.h"

#include <QByteArray>
#include <QTextDocument>
#include <ostream>

/// Test failures show strings as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os) {
    *os << '"' << b.left(2000).toStdString() << (b.size() > 2000 ? "...\"" : "\"");
}

namespace vasora::test {

/// A whole RTF file around a body.
inline QByteArray rtf(const QByteArray& body) {
    return "{\\rtf1\\ansi\\deff0 " + body + "}";
}

/// A tag in RTF: its bookmark, named as the writer names it, around text.
QByteArray tagged(int code, int serial, const QByteArray& text);

inline documents::RtfReadReport read(const QByteArray& data, QTextDocument& doc) {
    return documents::readRtf(data, doc);
}

/// A lab-book-like document: a heading, then per table a start marker, a caption, a table of
/// rows x 4 cells of output and input tags, and a button below it. About 1 MB for 500 tables
/// of 10 rows.
QByteArray labBook(int tables, int rows, int fillerParagraphs);

}  // namespace vasora::test
