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

namespace {

// One walk over a document's tags, with what it has seen so far.
class Checker {
  public:
    explicit Checker(const CheckInput& in)
        : m_in(in),
          m_doc(*in.doc),
          m_isInfo(in.info == nullptr),
          m_anchors(anchorsOf(m_isInfo ? m_doc : *in.info)) {}

    QStringList run() {
        for (const TagSpan& t : allTags(m_doc)) tag(t);
        if (m_plotStart >= 0)
            report(m_plotStart, QStringLiteral("the plot table has no plot button 48000 after it"));
        return m_problems;
    }

  private:
    void report(int position, const QString& what) {
        m_problems
            << QStringLiteral("paragraph %1: %2").arg(paragraphOf(m_doc, position)).arg(what);
    }

    void tag(const TagSpan& t) {
        std::int16_t kind = 0, p2 = 0, p3 = 0, p4 = 0;
        if (!labbook::SplitTag(t.code, kind, p2, p3, p4)) {
            report(t.start, QStringLiteral("tag code %1 is out of range").arg(t.code));
            return;
        }
        const QString text = tagText(m_doc, t);
        if (text.isEmpty()) report(t.start, QStringLiteral("tag %1 has no text").arg(t.code));
        switch (kind) {
            case labbook::kTagHeading:
                heading(t, text);
                break;
            case labbook::kTagLink:
                link(t, text, p2, p3);
                break;
            case labbook::kTagPlotStart:
                m_plotStart = t.start;
                m_plotCells = 0;
                [[fallthrough]];
            case labbook::kTagTableStart:
                m_tableStart = t.start;
                m_openTables.clear();
                break;
            case labbook::kTagOutputCell:
            case labbook::kTagInputCell:
                if (m_tableStart < 0 && m_plotStart < 0)
                    report(
                        t.start,
                        QStringLiteral("cell %1 has no table start marker before it").arg(t.code));
                m_openTables.insert(p2);
                ++m_plotCells;
                break;
            case labbook::kTagTableButton:
                button(t, p2);
                break;
            default:
                break;
        }
    }

    void heading(const TagSpan& t, const QString& text) {
        if (t.code == 91000) {
            m_level1Seen = true;
        } else if (t.code == 92000) {
            if (!m_level1Seen)
                report(t.start, QStringLiteral("the level-2 heading \"%1\" stands before "
                                               "any level-1 heading")
                                    .arg(text));
        } else {
            report(t.start,
                   QStringLiteral("heading code %1 is neither 91000 nor 92000").arg(t.code));
        }
        if (text.trimmed().isEmpty()) report(t.start, QStringLiteral("a heading has no title"));
    }

    void link(const TagSpan& t, const QString& text, int p2, int p3) {
        if (p2 == 1 && m_isInfo) {
            if (m_seenAnchors.contains(t.code))
                report(t.start, QStringLiteral("anchor %1 stands twice").arg(t.code));
            m_seenAnchors.insert(t.code);
        } else if (p2 == 1 || p2 == 2) {
            if (p2 == 2 && !m_isInfo)
                report(t.start, QStringLiteral("link %1 leads inside the information "
                                               "file but stands in another document")
                                    .arg(t.code));
            const int anchor = 51000 + p3;
            if (!m_anchors.contains(anchor))
                report(t.start, QStringLiteral("link \"%1\" (%2) has no anchor %3 in the "
                                               "information file")
                                    .arg(text)
                                    .arg(t.code)
                                    .arg(anchor));
        } else if (p2 == 3 && labbook::isLiveFigureNumber(p3)) {
            if (!labbook::isKnownLiveFigure(p3))
                report(t.start, QStringLiteral("figure %1 is an unknown live figure (the live "
                                               "figures are 53900)")
                                    .arg(t.code));
        } else if (p2 == 3) {
            if (!figureExists(m_in.folder, p3, m_isInfo))
                report(t.start, QStringLiteral("figure %1 has no picture file Img%2 in %3")
                                    .arg(p3)
                                    .arg(p3, 3, 10, QLatin1Char('0'))
                                    .arg(QDir::toNativeSeparators(m_in.folder)));
        } else if (p2 != 4) {
            report(t.start,
                   QStringLiteral("code %1 is no link, anchor, figure or save").arg(t.code));
        }
    }

    void button(const TagSpan& t, int p2) {
        if (p2 == 8) {
            if (m_plotStart < 0)
                report(t.start, QStringLiteral("table button %1 has no start marker "
                                               "before it")
                                    .arg(t.code));
            else if (m_plotCells > 33)
                report(t.start, QStringLiteral("the plot table of button %1 holds %2 "
                                               "cells; the plot takes 11 rows of three")
                                    .arg(t.code)
                                    .arg(m_plotCells));
            m_plotStart = -1;
            m_tableStart = -1;
            m_openTables.clear();
            return;
        }
        // A button walks back to the nearest start marker, over other buttons, and fills
        // the cells of its table; a later button of the same stretch walks there too.
        if (m_tableStart < 0)
            report(t.start, QStringLiteral("table button %1 has no start marker before "
                                           "it")
                                .arg(t.code));
        else if (!m_openTables.contains(p2))
            report(t.start, QStringLiteral("table button %1 has no cell of table %2 "
                                           "before it")
                                .arg(t.code)
                                .arg(p2));
    }

    const CheckInput& m_in;
    const QTextDocument& m_doc;
    const bool m_isInfo;
    const QSet<int> m_anchors;
    QStringList m_problems;
    bool m_level1Seen = false;
    QSet<int> m_seenAnchors;
    int m_tableStart = -1;   // position of the last start marker not yet closed by a button
    QSet<int> m_openTables;  // table digits of the cells since the last start marker
    // The plot button walks back to the plot marker over the row markers and row buttons
    // that a plot table may hold, taking every cell on the way.
    int m_plotStart = -1;
    int m_plotCells = 0;
};

}  // namespace

QStringList checkDocument(const CheckInput& in) {
    return Checker(in).run();
}

}  // namespace vasora::documents
