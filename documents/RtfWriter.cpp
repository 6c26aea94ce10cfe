#include "documents/RtfWriter.h"

#include "core/Twips.h"
#include "documents/RtfFormat.h"
#include "documents/TagBookmarks.h"

#include <QBuffer>
#include <QImage>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <cmath>

namespace vasora::documents {
namespace {

// The Windows-1252 bytes 0x80..0x9F; the other bytes above 0x7F are Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int cp1252Byte(char16_t u) {
    if (u >= 0xA0 && u <= 0xFF) return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u && u != 0) return 0x80 + i;
    return -1;
}

class Writer final {
  public:
    explicit Writer(const QTextDocument& doc) : m_doc(doc) {
        m_fonts.append(doc.defaultFont().family());
    }
    QByteArray run();

  private:
    void frame(const QTextFrame* f);
    void table(const QTextTable* t);
    void block(const QTextBlock& b, bool inTable, bool last, bool beforeTable, bool first);
    void fragment(const QTextFragment& fr);
    void picture(const QTextImageFormat& f);
    void closeRun();
    void closeTag();
    void closeLink();
    void text(QStringView s);
    QByteArray charProps(const QTextCharFormat& f);
    int fontIndex(const QString& family);
    int colorIndex(const QColor& c);

    const QTextDocument& m_doc;
    QByteArray m_out;
    QStringList m_fonts;
    QList<QColor> m_colors;
    int m_tagId = 0;
    QByteArray m_tagName;
    int m_tagSerial = 0;
    QString m_href;
    int m_objectId = 0;
    // The group of character properties the text is being written in, if one is open.
    QByteArray m_runProps;
    bool m_runOpen = false;
};

int Writer::fontIndex(const QString& family) {
    qsizetype i = m_fonts.indexOf(family);
    if (i < 0) {
        m_fonts.append(family);
        i = m_fonts.size() - 1;
    }
    return int(i);
}

int Writer::colorIndex(const QColor& c) {
    const QColor rgb = c.toRgb();
    for (qsizetype i = 0; i < m_colors.size(); ++i)
        if (m_colors[i].rgb() == rgb.rgb()) return int(i) + 1;
    m_colors.append(rgb);
    return int(m_colors.size());
}

void Writer::text(QStringView s) {
    for (const QChar ch : s) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            m_out += '\\';
            m_out += char(u);
        } else if (u == '\t') {
            m_out += "\\tab ";
        } else if (u == QChar::LineSeparator) {
            m_out += "\\line ";
        } else if (u == 0x00A0) {
            m_out += "\\~";
        } else if (u == 0x00AD) {
            m_out += "\\-";
        } else if (u == 0x2011) {
            m_out += "\\_";
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            m_out += char(u);
        } else if (const int b = cp1252Byte(u); b >= 0) {
            m_out += "\\'";
            m_out += QByteArray::number(b, 16).rightJustified(2, '0');
        } else {
            m_out += "\\u" + QByteArray::number(int(qint16(u))) + '?';
        }
    }
}

QByteArray Writer::charProps(const QTextCharFormat& f) {
    QByteArray p;
    if (f.fontWeight() >= QFont::Bold) p += "\\b";
    if (f.fontItalic()) p += "\\i";
    if (f.fontUnderline()) p += "\\ul";
    if (f.fontStrikeOut()) p += "\\strike";
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) p += "\\super";
    if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) p += "\\sub";
    if (f.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList fam = f.fontFamilies().toStringList();
        if (!fam.isEmpty()) {
            const int i = fontIndex(fam.first());
            if (i != 0) p += "\\f" + QByteArray::number(i);
        }
    }
    if (f.hasProperty(QTextFormat::FontPointSize)) {
        const int half = int(std::lround(f.fontPointSize() * 2));
        if (half != 24 && half > 0) p += "\\fs" + QByteArray::number(half);
    }
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        p += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        p += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
    return p;
}

void Writer::closeRun() {
    if (!m_runOpen) return;
    m_out += '}';
    m_runOpen = false;
}

void Writer::closeTag() {
    closeRun();
    if (!m_tagId) return;
    m_out += "{\\*\\bkmkend " + m_tagName + "}";
    m_tagId = 0;
}

void Writer::closeLink() {
    closeRun();
    if (m_href.isEmpty()) return;
    m_out += "}}}";
    m_href.clear();
}

void Writer::picture(const QTextImageFormat& f) {
    QByteArray data = f.property(kPictDataProperty).toByteArray();
    QByteArray kind = f.stringProperty(kPictKindProperty).toLatin1();
    int picW = f.intProperty(kPictWidthProperty);
    int picH = f.intProperty(kPictHeightProperty);
    int goalW = f.intProperty(kPictGoalWidthProperty);
    int goalH = f.intProperty(kPictGoalHeightProperty);
    if (data.isEmpty()) {
        // A picture that came from elsewhere than a file is written as PNG.
        const QImage img =
            m_doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
        if (img.isNull()) return;
        QBuffer buf(&data);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        kind = "png";
        picW = img.width();
        picH = img.height();
        goalW = pixelsToTwips(f.width() > 0 ? f.width() : img.width());
        goalH = pixelsToTwips(f.height() > 0 ? f.height() : img.height());
    }
    static const QHash<QByteArray, QByteArray> words = {{"png", "\\pngblip"},
                                                        {"jpeg", "\\jpegblip"},
                                                        {"dib", "\\dibitmap0"},
                                                        {"wmf", "\\wmetafile8"},
                                                        {"emf", "\\emfblip"}};
    // A picture of a kind the reader does not know keeps no kind word, so it stays unknown.
    m_out += "{\\pict" + words.value(kind);
    m_out += "\\picw" + QByteArray::number(picW) + "\\pich" + QByteArray::number(picH);
    if (goalW > 0) m_out += "\\picwgoal" + QByteArray::number(goalW);
    if (goalH > 0) m_out += "\\pichgoal" + QByteArray::number(goalH);
    const QByteArray hex = data.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        m_out += '\n';
        m_out += hex.mid(i, 128);
    }
    m_out += "}";
}

void Writer::fragment(const QTextFragment& fr) {
    const QTextCharFormat f = fr.charFormat();
    const int tagId = f.hasProperty(kTagIdProperty) ? f.intProperty(kTagIdProperty) : 0;
    const QString href = f.isAnchor() ? f.anchorHref() : QString();
    if (href != m_href) closeLink();
    if (tagId != m_tagId) {
        closeLink();
        closeTag();
        if (tagId) {
            m_tagId = tagId;
            m_tagName = tagBookmarkName(f.intProperty(kTagCodeProperty), ++m_tagSerial);
            m_out += "{\\*\\bkmkstart " + m_tagName + "}";
        }
    }
    if (!href.isEmpty() && m_href.isEmpty()) {
        m_href = href;
        QString target = href, anchor;
        const qsizetype hash = href.indexOf(QLatin1Char('#'));
        if (hash >= 0) {
            target = href.left(hash);
            anchor = href.mid(hash + 1);
        }
        // A quote would end the field's argument; in a link it is written as %22.
        target.replace(QLatin1Char('"'), QLatin1String("%22"));
        anchor.replace(QLatin1Char('"'), QLatin1String("%22"));
        m_out += "{\\field{\\*\\fldinst{HYPERLINK \"";
        text(target);
        m_out += '"';
        if (!anchor.isEmpty()) {
            m_out += " \\\\l \"";
            text(anchor);
            m_out += '"';
        }
        m_out += "}}{\\fldrslt{";
    }
    if (f.hasProperty(kObjectRtfProperty)) {
        closeRun();
        const int id = f.intProperty(kObjectIdProperty);
        if (id != m_objectId) m_out += f.property(kObjectRtfProperty).toByteArray();
        m_objectId = id;
        return;
    }
    m_objectId = 0;
    if (f.isImageFormat()) {
        closeRun();
        // One fragment may hold several images of the same format.
        for (int i = 0; i < fr.length(); ++i) picture(f.toImageFormat());
        return;
    }
    // Neighbours that differ only in what RTF does not hold (a font named as the default
    // one, say) share one group, as they will when the file is read again.
    const QByteArray props = charProps(f);
    if (props.isEmpty() || !m_runOpen || props != m_runProps) {
        closeRun();
        if (!props.isEmpty()) {
            m_out += '{' + props + ' ';
            m_runProps = props;
            m_runOpen = true;
        }
    }
    text(fr.text());
}

void Writer::block(const QTextBlock& b, bool inTable, bool last, bool beforeTable, bool first) {
    const QTextBlockFormat f = b.blockFormat();
    m_out += "\\pard";
    if (inTable) m_out += "\\intbl";
    if (const int level = f.headingLevel(); level >= 1 && level <= 6)
        m_out +=
            "\\s" + QByteArray::number(level) + "\\outlinelevel" + QByteArray::number(level - 1);
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        m_out += "\\qc";
    else if (a & Qt::AlignRight)
        m_out += "\\qr";
    else if (a & Qt::AlignJustify)
        m_out += "\\qj";
    auto twipsWord = [&](const char* word, QTextFormat::Property p) {
        if (!f.hasProperty(p)) return;
        const int t = pixelsToTwips(f.doubleProperty(p));
        if (t != 0) m_out += QByteArray(word) + QByteArray::number(t);
    };
    twipsWord("\\li", QTextFormat::BlockLeftMargin);
    twipsWord("\\ri", QTextFormat::BlockRightMargin);
    twipsWord("\\fi", QTextFormat::TextIndent);
    twipsWord("\\sb", QTextFormat::BlockTopMargin);
    twipsWord("\\sa", QTextFormat::BlockBottomMargin);
    if (f.hasProperty(QTextFormat::LineHeightType)) {
        const qreal h = f.lineHeight();
        switch (f.lineHeightType()) {
            case QTextBlockFormat::ProportionalHeight:
                if (std::lround(h) != 100)
                    m_out += "\\sl" + QByteArray::number(std::lround(h * 240 / 100)) + "\\slmult1";
                break;
            case QTextBlockFormat::MinimumHeight:
                m_out += "\\sl" + QByteArray::number(pixelsToTwips(h)) + "\\slmult0";
                break;
            case QTextBlockFormat::FixedHeight:
                m_out += "\\sl-" + QByteArray::number(pixelsToTwips(h)) + "\\slmult0";
                break;
            default:
                break;
        }
    }
    for (const QTextOption::Tab& t : f.tabPositions()) {
        if (t.type == QTextOption::RightTab)
            m_out += "\\tqr";
        else if (t.type == QTextOption::CenterTab)
            m_out += "\\tqc";
        else if (t.type == QTextOption::DelimiterTab)
            m_out += "\\tqdec";
        m_out += "\\tx" + QByteArray::number(pixelsToTwips(t.position));
    }
    m_out += ' ';
    for (auto it = b.begin(); !it.atEnd(); ++it)
        if (it.fragment().isValid()) fragment(it.fragment());
    closeLink();
    closeTag();
    // An object's bytes are written at the first character it shows; should what it shows
    // run on into the next paragraph, that part is in those bytes already.
    if (inTable) {
        m_out += last ? "\\cell\n" : "\\par\n";
    } else if (!last && !(first && beforeTable && b.length() == 1)) {
        // An empty first paragraph before a table is the place Qt keeps in front of every
        // table; it has no paragraph mark of its own.
        m_out += "\\par\n";
    }
}

void Writer::table(const QTextTable* t) {
    const int rows = t->rows();
    const int cols = t->columns();
    QList<int> edges = t->format().property(kCellEdgesProperty).value<QList<int>>();
    if (edges.size() != cols) {
        edges.clear();
        const QList<QTextLength> widths = t->format().columnWidthConstraints();
        int x = 0;
        for (int c = 0; c < cols; ++c) {
            int w = 9000 / std::max(1, cols);
            if (c < widths.size() && widths[c].type() == QTextLength::FixedLength)
                w = pixelsToTwips(std::clamp<qreal>(widths[c].rawValue(), 1, 10000));
            x += std::max(15, w);
            edges.append(x);
        }
    }
    for (int r = 0; r < rows; ++r) {
        m_out += "\\trowd\\trgaph108\\trleft0";
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r) {
                m_out += "\\clvmrg";
                if (cell.column() != c)
                    m_out += "\\clmrg";
                else if (cell.columnSpan() > 1)
                    m_out += "\\clmgf";
            } else if (cell.column() != c) {
                m_out += "\\clmrg";
            } else {
                if (cell.rowSpan() > 1) m_out += "\\clvmgf";
                if (cell.columnSpan() > 1) m_out += "\\clmgf";
            }
            m_out += "\\cellx" + QByteArray::number(std::clamp(edges[c], -RtfLimits::kMaxTableEdge,
                                                               RtfLimits::kMaxTableEdge));
        }
        m_out += '\n';
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                m_out += "\\pard\\intbl\\cell\n";
                continue;
            }
            std::vector<QTextBlock> blocks;
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (it.currentBlock().isValid()) {
                    blocks.push_back(it.currentBlock());
                } else if (it.currentFrame()) {
                    // A frame inside a cell is written as its paragraphs.
                    for (QTextBlock b = m_doc.findBlock(it.currentFrame()->firstPosition());
                         b.isValid() && b.position() < it.currentFrame()->lastPosition();
                         b = b.next())
                        blocks.push_back(b);
                }
            }
            if (blocks.empty()) m_out += "\\pard\\intbl\\cell\n";
            for (size_t i = 0; i < blocks.size(); ++i)
                block(blocks[i], true, i + 1 == blocks.size(), false, false);
        }
        m_out += "\\row\n";
    }
}

void Writer::frame(const QTextFrame* f) {
    bool first = true;
    for (auto it = f->begin(); !it.atEnd();) {
        auto next = it;
        ++next;
        if (const QTextFrame* child = it.currentFrame()) {
            if (const auto* t = qobject_cast<const QTextTable*>(child))
                table(t);
            else
                frame(child);
        } else if (it.currentBlock().isValid()) {
            const bool beforeTable =
                !next.atEnd() && qobject_cast<const QTextTable*>(next.currentFrame());
            block(it.currentBlock(), false, next.atEnd() && f == m_doc.rootFrame(), beforeTable,
                  first && f == m_doc.rootFrame());
        }
        first = false;
        it = next;
    }
}

QByteArray Writer::run() {
    frame(m_doc.rootFrame());
    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    const QByteArray body = m_out;
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        m_out.clear();
        text(m_fonts[i]);
        head += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 " + m_out + ";}";
    }
    head += "}\n{\\colortbl;";
    for (const QColor& c : m_colors)
        head += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
                "\\blue" + QByteArray::number(c.blue()) + ';';
    head += "}\n{\\stylesheet{\\s0 Normal;}";
    for (int level = 1; level <= 6; ++level)
        head += "{\\s" + QByteArray::number(level) + "\\outlinelevel" +
                QByteArray::number(level - 1) + " heading " + QByteArray::number(level) + ";}";
    head += "}\n\\viewkind4\n";
    return head + body + "}\n";
}

}  // namespace

QByteArray writeRtf(const QTextDocument& doc) {
    return Writer(doc).run();
}

QByteArray writeRtfRange(const QTextDocument& doc, int start, int length) {
    const int total = doc.characterCount() - 1;
    start = std::clamp(start, 0, total);
    length = std::clamp(length, 0, total - start);
    if (start == 0 && length >= total) return writeRtf(doc);
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    QTextDocument part;
    part.setDefaultFont(doc.defaultFont());
    QTextCursor(&part).insertFragment(c.selection());
    return writeRtf(part);
}

}  // namespace vasora::documents
