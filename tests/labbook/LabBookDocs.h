#pragma once

// Small lab books for the tests, written in the documents' source form and compiled as the
// shipped ones are.

#include <QString>
#include <QTextDocument>
#include <memory>
#include <ostream>
#include <vector>

#include "documents/DocSource.h"
#include "documents/Tags.h"

/// Test failures show strings as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace vasora::test {

/// The document compiled from `source`; the test fails when the source has problems.
std::unique_ptr<QTextDocument> compileBook(
    const QString& source, documents::SourceVariant variant = documents::SourceVariant::Template);

/// Writes `doc` as RTF to `path`.
bool writeBook(const QTextDocument& doc, const QString& path);

/// The tags with `code`, in document order.
std::vector<documents::TagSpan> tagsWithCode(const QTextDocument& doc, int code);
/// The text of the `nth` tag with `code` ("<none>" when there is none).
QString cellOf(const QTextDocument& doc, int code, std::size_t nth = 0);

/// A small course in the lab book's conventions: a baseline table (table 1, output cells of
/// the arterial pressure, cardiac output and the left ventricle's EDV), an input table (table
/// 2: SysA compliance 100 % above SysA resistance 200 %) with its button, a results table
/// (table 2 again, below its own marker), a save tag, a restart tag and a link.
QString courseSource();

/// A plot table of `rows` rows as the course lays it out: each row an apply button (table 6)
/// for its heart rate and a record button (table 7) for cardiac output and stroke volume, then
/// the plot button. The heart rates are 30, 50, 70 ...; with `filled` the outputs of row i
/// are preset to 1000 + i and 50 + i, else blank.
QString plotSource(int rows, bool filled);

}  // namespace vasora::test
