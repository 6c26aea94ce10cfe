#include "documents/TagBookmarks.h"

namespace vasora::documents {

QByteArray tagBookmarkName(int code, int serial) {
    return "vt" + QByteArray::number(code) + '_' + QByteArray::number(serial);
}

int tagCodeOfBookmark(QStringView name) {
    if (name.size() < 3 || !name.startsWith(u"vt", Qt::CaseInsensitive)) return -1;
    qsizetype i = 2;
    int value = 0;
    // Six digits are read at most, so a sixth one tells a code that is too long.
    while (i < name.size() && i < 8 && name[i].unicode() >= '0' && name[i].unicode() <= '9') {
        value = value * 10 + (name[i].unicode() - '0');
        ++i;
    }
    if (i == 2 || i > 7) return -1;
    if (i != name.size() && name[i] != u'_') return -1;
    return value;
}

}  // namespace vasora::documents
