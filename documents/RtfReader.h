#pragma once

// Reads RTF into a QTextDocument. The input is untrusted: the reader keeps its own group stack
// with a depth limit, bounds every control word and parameter, checks \bin lengths and picture
// data, caps its tables, and never fetches or starts anything. Whatever breaks a limit is
// reported, and the document then holds what could be read.

#include <QByteArray>
#include <QString>
#include <QStringList>

class QTextDocument;

namespace vasora::documents {

struct RtfReadReport final {
    /// False when the data does not begin as RTF; the document then holds it as plain text.
    bool isRtf = true;
    /// Everything the reader passed over or cut short, in plain words, each once.
    QStringList problems;
    bool clean() const { return isRtf && problems.isEmpty(); }
    /// One sentence for the learner, empty when the read was clean.
    QString message(const QString& fileName) const;
};

/// Replaces the document's content by the RTF in data.
RtfReadReport readRtf(const QByteArray& data, QTextDocument& doc);

/// Where the RTF of `data` begins: "{\rtf" after a byte-order mark and blanks at most, with
/// line breaks allowed between the brace and "\rtf", as word processors read it; -1
/// when `data` does not open as RTF.
qsizetype rtfStart(const QByteArray& data);

}  // namespace vasora::documents
