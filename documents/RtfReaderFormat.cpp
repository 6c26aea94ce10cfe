// The RTF reader's formatting: character and paragraph words, the Qt formats built from them,
// and the tables of the file's header (fonts, colours, styles).

#include "documents/RtfCodePages.h"
#include "documents/RtfFormat.h"
#include "documents/RtfReaderImpl.h"

#include <QTextDocument>
#include <algorithm>

namespace vasora::documents::rtf {

void Reader::startHeaderTable(Word w) {
    switch (w) {
        case wFonttbl:
            m_st.dest = Dest::FontTable;
            m_destText.clear();
            break;
        case wColortbl:
            m_st.dest = Dest::ColorTable;
            break;
        case wStylesheet:
            m_st.dest = Dest::StyleSheet;
            m_destText.clear();
            break;
        default:
            break;
    }
}

void Reader::headerWord(Word w, int param) {
    switch (m_st.dest) {
        case Dest::FontTable:
            if (w == wF)
                m_fontNum = param;
            else if (w == wFcharset)
                m_fontCharset = param;
            return;
        case Dest::ColorTable: {
            const int v = std::clamp(param, 0, 255);
            if (w == wRed)
                m_red = v, m_colorSet = true;
            else if (w == wGreen)
                m_green = v, m_colorSet = true;
            else if (w == wBlue)
                m_blue = v, m_colorSet = true;
            return;
        }
        case Dest::StyleSheet:
            if (w == wS)
                m_styleNum = param, m_styleIsPara = true;
            else if (w == wCs || w == wDs || w == wTs)
                m_styleIsPara = false;
            else if (w == wOutline)
                m_styleLevel = param;
            return;
        default:
            return;
    }
}

void Reader::colorTableByte(uchar b) {
    if (b != ';') return;
    m_formatValid = false;
    if (int(m_colors.size()) < RtfLimits::kMaxColors)
        m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
    else
        problem(QStringLiteral("the colour table has more entries than allowed"));
    m_red = m_green = m_blue = 0;
    m_colorSet = false;
}

void Reader::finishTableEntry() {
    // A name of control characters or semicolons could not be written back.
    QString name = m_destText;
    name.removeIf([](QChar c) { return c.unicode() < 0x20 || c == QLatin1Char(';'); });
    name = name.trimmed();
    m_destText.clear();
    if (m_st.dest == Dest::FontTable) {
        if (int(m_fonts.size()) < RtfLimits::kMaxFonts) {
            FontEntry e;
            e.family = name;
            if (m_fontCharset >= 0) e.codePage = codePageOfCharset(m_fontCharset);
            e.symbols = symbolSetOf(name, m_fontCharset);
            m_fonts[m_fontNum] = e;
            m_formatValid = false;
            m_symbolFont = -2;
        } else {
            problem(QStringLiteral("the font table has more entries than allowed"));
        }
        m_fontCharset = -1;
    } else if (m_st.dest == Dest::StyleSheet) {
        if (m_styleIsPara) {
            int level = m_styleLevel;
            if (level < 0 && name.startsWith(QLatin1String("heading "), Qt::CaseInsensitive)) {
                bool ok = false;
                const int n = name.mid(8).toInt(&ok);
                if (ok && n >= 1 && n <= 9) level = n - 1;
            }
            m_blockFormatValid = false;
            m_blockAtCursorKnown = false;
            if (int(m_styleOutline.size()) < RtfLimits::kMaxStyles)
                m_styleOutline[m_styleNum] = level;
            else
                problem(QStringLiteral("the style sheet has more entries than allowed"));
        }
        m_styleNum = 0;
        m_styleLevel = -1;
        m_styleIsPara = true;
    }
}

bool Reader::formatWord(Word w, bool hasParam, int param) {
    return charWord(w, hasParam, param) || paragraphWord(w, hasParam, param) ||
           documentWord(w, param);
}

bool Reader::charWord(Word w, bool hasParam, int param) {
    const bool on = !hasParam || param != 0;
    CharState& ch = m_st.ch;
    switch (w) {
        case wPlain:
            ch = CharState{};
            break;
        case wB:
            ch.bold = on;
            break;
        case wI:
            ch.italic = on;
            break;
        case wUl:
            ch.underline = on;
            break;
        case wUlnone:
            ch.underline = false;
            break;
        case wStrike:
            ch.strike = on;
            break;
        case wV:
            ch.hidden = on;
            break;
        case wSuper:
            ch.vAlign = on ? 1 : 0;
            break;
        case wSub:
            ch.vAlign = on ? 2 : 0;
            break;
        case wNoSuperSub:
            ch.vAlign = 0;
            break;
        case wF:
            ch.font = param;
            break;
        case wFs:
            ch.halfPoints = std::clamp(hasParam ? param : 24, 2, 3276);
            break;
        case wCf:
            ch.color = param;
            break;
        case wCb:
        case wHighlight:
            ch.highlight = param;
            break;
        default:
            return false;
    }
    return true;
}

bool Reader::paragraphWord(Word w, bool hasParam, int param) {
    const bool on = !hasParam || param != 0;
    ParaState& pa = m_st.para;
    switch (w) {
        case wPard:
            pa = ParaState{};
            m_pendingTab = 0;
            break;
        case wQl:
            pa.align = 0;
            break;
        case wQc:
            pa.align = 1;
            break;
        case wQr:
            pa.align = 2;
            break;
        case wQj:
            pa.align = 3;
            break;
        case wLi:
            pa.left = std::clamp(param, -31680, 31680);
            break;
        case wRi:
            pa.right = std::clamp(param, -31680, 31680);
            break;
        case wFi:
            pa.first = std::clamp(param, -31680, 31680);
            break;
        case wSb:
            pa.before = std::clamp(param, 0, 31680);
            break;
        case wSa:
            pa.after = std::clamp(param, 0, 31680);
            break;
        case wSl:
            pa.lineSpacing = std::clamp(param, -31680, 31680);
            break;
        case wSlmult:
            pa.lineMultiple = on;
            break;
        case wTqr:
            m_pendingTab = 1;
            break;
        case wTqc:
            m_pendingTab = 2;
            break;
        case wTqdec:
            m_pendingTab = 3;
            break;
        case wTx:
            if (pa.tabs.size() < 64) {
                static constexpr QTextOption::TabType types[] = {
                    QTextOption::LeftTab, QTextOption::RightTab, QTextOption::CenterTab,
                    QTextOption::DelimiterTab};
                QTextOption::Tab t(twipsToPixels(std::clamp(param, 0, 31680)), types[m_pendingTab]);
                if (m_pendingTab == 3) t.delimiter = QLatin1Char('.');
                pa.tabs.append(t);
            }
            m_pendingTab = 0;
            break;
        case wS:
            pa.style = param;
            break;
        case wOutline:
            pa.outline = param;
            break;
        default:
            return false;
    }
    return true;
}

bool Reader::documentWord(Word w, int param) {
    switch (w) {
        case wAnsi:
            m_docCodePage = 1252;
            break;
        case wAnsicpg:
            if (param > 0 && param < 100000) m_docCodePage = param;
            break;
        case wMac:
            m_docCodePage = 10000;
            break;
        case wPc:
            m_docCodePage = 437;
            break;
        case wPca:
            m_docCodePage = 850;
            break;
        case wDeff:
            m_defaultFont = param;
            m_formatValid = false;
            break;
        default:
            return false;
    }
    return true;
}

QTextCharFormat Reader::charFormat() {
    // Most runs repeat the format of an earlier one; building a format costs more than this.
    if (m_formatValid && m_formatKey.ch == m_st.ch && m_formatKey.href == m_st.href &&
        m_formatKey.tagId == m_tag.id && m_formatKey.tagCode == m_tag.code)
        return m_format;
    m_formatKey = {m_st.ch, m_st.href, m_tag.code, m_tag.id};
    m_format = makeCharFormat();
    m_formatValid = true;
    return m_format;
}

QTextCharFormat Reader::makeCharFormat() const {
    const CharState& ch = m_st.ch;
    QTextCharFormat f;
    if (ch.bold) f.setFontWeight(QFont::Bold);
    if (ch.italic) f.setFontItalic(true);
    if (ch.underline) f.setFontUnderline(true);
    if (ch.strike) f.setFontStrikeOut(true);
    if (ch.vAlign == 1) f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    if (ch.vAlign == 2) f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (ch.font >= 0 && ch.font != m_defaultFont) {
        auto it = m_fonts.find(ch.font);
        // Text of a symbol font is read as Unicode, which the text's own font shows.
        if (it != m_fonts.end() && !it->second.family.isEmpty() &&
            it->second.symbols == SymbolSet::None)
            f.setFontFamilies(QStringList{it->second.family});
    }
    if (ch.halfPoints != 24) f.setFontPointSize(ch.halfPoints / 2.0);
    // Index 0 and indexes past the table's end are the default colours.
    if (ch.color > 0 && ch.color < int(m_colors.size()) && m_colors[size_t(ch.color)].isValid())
        f.setForeground(m_colors[size_t(ch.color)]);
    if (ch.highlight > 0 && ch.highlight < int(m_colors.size()) &&
        m_colors[size_t(ch.highlight)].isValid())
        f.setBackground(m_colors[size_t(ch.highlight)]);
    if (!m_st.href.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(m_st.href);
    }
    if (m_tag.code >= 0) {
        f.setProperty(kTagCodeProperty, m_tag.code);
        f.setProperty(kTagIdProperty, m_tag.id);
    }
    // An object's result is marked as the object's once the object is kept (finishObject).
    return f;
}

const QTextBlockFormat& Reader::cachedBlockFormat() {
    if (!m_blockFormatValid || !(m_blockFormatOf == m_st.para)) {
        m_blockFormat = blockFormat();
        m_blockFormatOf = m_st.para;
        m_blockFormatValid = true;
    }
    return m_blockFormat;
}

void Reader::applyBlockFormat() {
    if (m_blockAtCursorKnown && m_blockAtCursor == m_st.para) return;
    m_cur.setBlockFormat(cachedBlockFormat());
    m_blockAtCursor = m_st.para;
    m_blockAtCursorKnown = true;
}

QTextBlockFormat Reader::blockFormat() const {
    const ParaState& pa = m_st.para;
    QTextBlockFormat b;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    if (pa.align) b.setAlignment(aligns[pa.align]);
    if (pa.left) b.setLeftMargin(twipsToPixels(pa.left));
    if (pa.right) b.setRightMargin(twipsToPixels(pa.right));
    if (pa.first) b.setTextIndent(twipsToPixels(pa.first));
    if (pa.before) b.setTopMargin(twipsToPixels(pa.before));
    if (pa.after) b.setBottomMargin(twipsToPixels(pa.after));
    if (pa.lineSpacing > 0 && pa.lineMultiple)
        b.setLineHeight(pa.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (pa.lineSpacing > 0)
        b.setLineHeight(twipsToPixels(pa.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (pa.lineSpacing < 0)
        b.setLineHeight(twipsToPixels(-pa.lineSpacing), QTextBlockFormat::FixedHeight);
    if (!pa.tabs.isEmpty()) b.setTabPositions(pa.tabs);
    int level = pa.outline;
    if (level < 0) {
        auto it = m_styleOutline.find(pa.style);
        if (it != m_styleOutline.end()) level = it->second;
    }
    if (level >= 0 && level <= 5) b.setHeadingLevel(level + 1);
    return b;
}

}  // namespace vasora::documents::rtf
