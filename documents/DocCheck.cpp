#include "documents/DocCheck.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

#include "core/FileLookup.h"
#include "core/TagCodes.h"
#include "documents/RtfFormat.h"
#include "documents/Tags.h"

namespace vasora::documents {

namespace {

int paragraphOf(const QTextDocument& doc, int position) {
    return doc.findBlock(position).blockNumber();
}

QSet<int> anchorsOf(const QTextDocument& doc) {
    QSet<int> a;
    for (const TagSpan& t : allTags(doc))
        if (t.code / 1000 == 51) a.insert(t.code);
    return a;
}

bool figureExists(const QString& folder, int n, bool fromInfo) {
    const QString base =
        QDir(folder).filePath(QStringLiteral("Img%1").arg(n, 3, 10, QLatin1Char('0')));
    // The information viewer looks for a GIF, then a JPEG; the lab book for a BMP, then a JPEG.
    const QString first = fromInfo ? QStringLiteral(".GIF") : QStringLiteral(".BMP");
    for (const QString& ext : {first, QStringLiteral(".JPG")})
        if (fileExistsNoCase(QFile::encodeName(base + ext).toStdString())) return true;
    return false;
}

}  // namespace

QStringList checkDocument(const CheckInput& in) {
    QStringList problems;
    const QTextDocument& doc = *in.doc;
    const bool isInfo = in.info == nullptr;
    const QSet<int> anchors = anchorsOf(isInfo ? doc : *in.info);
    auto report = [&](int position, const QString& what) {
        problems << QStringLiteral("paragraph %1: %2").arg(paragraphOf(doc, position)).arg(what);
    };

    bool level1Seen = false;
    QSet<int> seenAnchors;
    int tableStart = -1;   // position of the last start marker not yet closed by a button
    QSet<int> openTables;  // table digits of the cells since the last start marker
    // The plot button walks back to the plot marker over the row markers and row buttons
    // that a plot table may hold, taking every cell on the way.
    int plotStart = -1;
    int plotCells = 0;
    for (const TagSpan& t : allTags(doc)) {
        std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
        if (!labbook::SplitTag(t.code, kind, p2, p3, p4)) {
            report(t.start, QStringLiteral("tag code %1 is out of range").arg(t.code));
            continue;
        }
        const QString text = tagText(doc, t);
        if (text.isEmpty()) report(t.start, QStringLiteral("tag %1 has no text").arg(t.code));
        switch (kind) {
            case labbook::kTagHeading:
                if (t.code == 91000) {
                    level1Seen = true;
                } else if (t.code == 92000) {
                    if (!level1Seen)
                        report(t.start, QStringLiteral("the level-2 heading \"%1\" stands before "
                                                       "any level-1 heading")
                                            .arg(text));
                } else {
                    report(
                        t.start,
                        QStringLiteral("heading code %1 is neither 91000 nor 92000").arg(t.code));
                }
                if (text.trimmed().isEmpty())
                    report(t.start, QStringLiteral("a heading has no title"));
                break;
            case labbook::kTagLink:
                if (p2 == 1 && isInfo) {
                    if (seenAnchors.contains(t.code))
                        report(t.start, QStringLiteral("anchor %1 stands twice").arg(t.code));
                    seenAnchors.insert(t.code);
                } else if (p2 == 1 || p2 == 2) {
                    if (p2 == 2 && !isInfo)
                        report(t.start, QStringLiteral("link %1 leads inside the information "
                                                       "file but stands in another document")
                                            .arg(t.code));
                    const int anchor = 51000 + p3;
                    if (!anchors.contains(anchor))
                        report(t.start, QStringLiteral("link \"%1\" (%2) has no anchor %3 in the "
                                                       "information file")
                                            .arg(text)
                                            .arg(t.code)
                                            .arg(anchor));
                } else if (p2 == 3) {
                    if (!figureExists(in.folder, p3, isInfo))
                        report(t.start, QStringLiteral("figure %1 has no picture file Img%2 in %3")
                                            .arg(p3)
                                            .arg(p3, 3, 10, QLatin1Char('0'))
                                            .arg(QDir::toNativeSeparators(in.folder)));
                } else if (p2 != 4) {
                    report(
                        t.start,
                        QStringLiteral("code %1 is no link, anchor, figure or save").arg(t.code));
                }
                break;
            case labbook::kTagPlotStart:
                plotStart = t.start;
                plotCells = 0;
                [[fallthrough]];
            case labbook::kTagTableStart:
                tableStart = t.start;
                openTables.clear();
                break;
            case labbook::kTagOutputCell:
            case labbook::kTagInputCell:
                if (tableStart < 0 && plotStart < 0)
                    report(
                        t.start,
                        QStringLiteral("cell %1 has no table start marker before it").arg(t.code));
                openTables.insert(p2);
                ++plotCells;
                break;
            case labbook::kTagTableButton:
                if (p2 == 8) {
                    if (plotStart < 0)
                        report(t.start, QStringLiteral("table button %1 has no start marker "
                                                       "before it")
                                            .arg(t.code));
                    else if (plotCells > 33)
                        report(t.start, QStringLiteral("the plot table of button %1 holds %2 "
                                                       "cells; the plot takes 11 rows of three")
                                            .arg(t.code)
                                            .arg(plotCells));
                    plotStart = -1;
                    tableStart = -1;
                    openTables.clear();
                    break;
                }
                // A button walks back to the nearest start marker, over other buttons, and fills
                // the cells of its table; a later button of the same stretch walks there too.
                if (tableStart < 0)
                    report(t.start, QStringLiteral("table button %1 has no start marker before "
                                                   "it")
                                        .arg(t.code));
                else if (!openTables.contains(p2))
                    report(t.start, QStringLiteral("table button %1 has no cell of table %2 "
                                                   "before it")
                                        .arg(t.code)
                                        .arg(p2));
                break;
            default:
                break;
        }
    }
    if (plotStart >= 0)
        report(plotStart, QStringLiteral("the plot table has no plot button 48000 after it"));
    return problems;
}

}  // namespace vasora::documents
