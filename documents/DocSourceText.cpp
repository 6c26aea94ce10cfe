#include "documents/DocSourceText.h"

namespace vasora::documents {

QStringList cellsOf(const QString& row) {
    QString t = row.trimmed();
    if (t.startsWith(QLatin1Char('|'))) t.remove(0, 1);
    if (t.endsWith(QLatin1Char('|')) && !t.endsWith(QLatin1String("\\|"))) t.chop(1);
    QStringList cells;
    QString cell;
    int depth = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('\\') && i + 1 < t.size()) {
            cell += t[i];
            cell += t[++i];
        } else if (t.mid(i, 2) == QLatin1String("[[")) {
            ++depth, cell += QLatin1String("[["), ++i;
        } else if (t.mid(i, 2) == QLatin1String("]]") && depth > 0) {
            --depth, cell += QLatin1String("]]"), ++i;
        } else if (t[i] == QLatin1Char('|') && depth == 0) {
            cells << cell.trimmed();
            cell.clear();
        } else {
            cell += t[i];
        }
    }
    cells << cell.trimmed();
    return cells;
}

}  // namespace vasora::documents
