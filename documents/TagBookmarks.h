#pragma once

// How a tag is stored in an RTF file: a bookmark around the tag's text whose name is "vt", the
// code in one to five digits, "_" and a suffix that keeps the name unique. The reader, the
// writer and the tests all name tags through these two functions.

#include <QByteArray>
#include <QStringView>

namespace vasora::documents {

/// The bookmark name of a tag: "vt" + code + "_" + serial.
QByteArray tagBookmarkName(int code, int serial);

/// The code of a tag bookmark ("vt" in any letter case, one to five ASCII digits, then the end
/// of the name or "_" and anything); -1 for a bookmark that is not a tag.
int tagCodeOfBookmark(QStringView name);

}  // namespace vasora::documents
