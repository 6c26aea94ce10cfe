#include "documents/RtfReader.h"

#include "core/Twips.h"
#include "documents/RtfFormat.h"
#include "documents/RtfPicture.h"

#include <QAtomicInt>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vasora::documents {
namespace {

qreal twipsToPx(int t) {
    return qreal(t) / kTwipsPerPixel;
}

enum class Dest : quint8 {
    Normal,
    Skip,
    FontTable,
    ColorTable,
    StyleSheet,
    FieldInst,
    BookmarkStart,
    BookmarkEnd,
    Pict,
};

struct CharState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    quint8 vAlign = 0;  // 0 normal, 1 superscript, 2 subscript
    int font = -1;      // -1: the document's default font
    int halfPoints = 24;
    int color = 0;
    int highlight = 0;
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    int align = 0;  // 0 left, 1 centre, 2 right, 3 justified
    int left = 0, right = 0, first = 0, before = 0, after = 0;  // twips
    int lineSpacing = 0;
    bool lineMultiple = false;
    QList<QTextOption::Tab> tabs;
    int style = 0;
    int outline = -1;
    bool inTable = false;
    int nesting = 1;
};

struct State {
    Dest dest = Dest::Normal;
    CharState ch;
    ParaState para;
    int uc = 1;
    int field = -1;
    QString href;
    int object = 0;
    qsizetype groupStart = 0;
    bool objectGroup = false;
    bool pictGroup = false;
    bool objectBody = false;  // inside an object group, outside its \result
};

struct FontEntry {
    QString family;
    int codePage = 0;
};

struct CellDef {
    int edge = 0;
    bool hFirst = false, hMerge = false, vFirst = false, vMerge = false;
};

struct ObjectInfo {
    qsizetype groupStart = 0;
    int resultStart = -1;
    int width = 0, height = 0;  // twips
};

// clang-format off
enum Word : int {
    wUnknown, wPar, wLine, wTab, wCell, wRow, wNestCell, wTrowd, wCellx, wClmgf, wClmrg,
    wClvmgf, wClvmrg, wIntbl, wItap, wPard, wPlain, wB, wI, wUl, wUlnone, wStrike, wSuper, wSub,
    wNoSuperSub, wV, wF, wFs, wCf, wCb, wHighlight, wQl, wQc, wQr, wQj, wLi, wRi, wFi, wSb, wSa,
    wSl, wSlmult, wTx, wTqr, wTqc, wTqdec, wS, wOutline, wU, wUc, wBin, wEmdash, wEndash,
    wBullet, wLquote, wRquote, wLdblquote, wRdblquote, wEmspace, wEnspace, wPage, wSect, wAnsi,
    wAnsicpg, wMac, wPc, wPca, wDeff, wFcharset, wRed, wGreen, wBlue, wFonttbl, wColortbl,
    wStylesheet, wField, wFldinst, wFldrslt, wBkmkstart, wBkmkend, wPict, wPngblip, wJpegblip,
    wDibitmap, wWbitmap, wWmetafile, wEmfblip, wOtherPict, wPicw, wPich, wPicwgoal, wPichgoal,
    wPicscalex, wPicscaley, wObject, wObjw, wObjh, wResult, wShppict, wSkipDest, wCs, wDs, wTs,
};

const std::unordered_map<std::string_view, Word>& words() {
    static const std::unordered_map<std::string_view, Word> table = {
        {"par", wPar}, {"line", wLine}, {"tab", wTab}, {"cell", wCell}, {"row", wRow},
        {"nestcell", wNestCell}, {"trowd", wTrowd}, {"cellx", wCellx}, {"clmgf", wClmgf},
        {"clmrg", wClmrg}, {"clvmgf", wClvmgf}, {"clvmrg", wClvmrg}, {"intbl", wIntbl},
        {"itap", wItap}, {"pard", wPard}, {"plain", wPlain}, {"b", wB}, {"i", wI}, {"ul", wUl},
        {"uld", wUl}, {"uldash", wUl}, {"uldashd", wUl}, {"uldashdd", wUl}, {"uldb", wUl},
        {"ulhwave", wUl}, {"ulldash", wUl}, {"ulth", wUl}, {"ulthd", wUl}, {"ulthdash", wUl},
        {"ulthdashd", wUl}, {"ulthdashdd", wUl}, {"ulthldash", wUl}, {"ululdbwave", wUl},
        {"ulw", wUl}, {"ulwave", wUl}, {"ulnone", wUlnone}, {"strike", wStrike},
        {"striked", wStrike}, {"super", wSuper}, {"sub", wSub}, {"nosupersub", wNoSuperSub},
        {"v", wV}, {"f", wF}, {"fs", wFs}, {"cf", wCf}, {"cb", wCb}, {"chcbpat", wCb},
        {"highlight", wHighlight}, {"ql", wQl}, {"qc", wQc}, {"qr", wQr}, {"qj", wQj}, {"qd", wQj},
        {"li", wLi}, {"lin", wLi}, {"ri", wRi}, {"rin", wRi}, {"fi", wFi}, {"sb", wSb}, {"sa", wSa},
        {"sl", wSl}, {"slmult", wSlmult}, {"tx", wTx}, {"tqr", wTqr}, {"tqc", wTqc},
        {"tqdec", wTqdec}, {"s", wS}, {"outlinelevel", wOutline}, {"u", wU}, {"uc", wUc},
        {"bin", wBin}, {"emdash", wEmdash}, {"endash", wEndash}, {"bullet", wBullet},
        {"lquote", wLquote}, {"rquote", wRquote}, {"ldblquote", wLdblquote},
        {"rdblquote", wRdblquote}, {"emspace", wEmspace}, {"enspace", wEnspace},
        {"qmspace", wEnspace}, {"page", wPage}, {"sect", wSect}, {"ansi", wAnsi},
        {"ansicpg", wAnsicpg}, {"mac", wMac}, {"pc", wPc}, {"pca", wPca}, {"deff", wDeff},
        {"fcharset", wFcharset}, {"red", wRed}, {"green", wGreen}, {"blue", wBlue},
        {"fonttbl", wFonttbl}, {"colortbl", wColortbl}, {"stylesheet", wStylesheet},
        {"field", wField}, {"fldinst", wFldinst}, {"fldrslt", wFldrslt}, {"bkmkstart", wBkmkstart},
        {"bkmkend", wBkmkend}, {"pict", wPict}, {"pngblip", wPngblip}, {"jpegblip", wJpegblip},
        {"dibitmap", wDibitmap}, {"wbitmap", wWbitmap}, {"wmetafile", wWmetafile},
        {"emfblip", wEmfblip}, {"macpict", wOtherPict}, {"pmmetafile", wOtherPict}, {"picw", wPicw},
        {"pich", wPich}, {"picwgoal", wPicwgoal}, {"pichgoal", wPichgoal},
        {"picscalex", wPicscalex}, {"picscaley", wPicscaley}, {"object", wObject}, {"objw", wObjw},
        {"objh", wObjh}, {"result", wResult}, {"shppict", wShppict}, {"cs", wCs}, {"ds", wDs},
        {"ts", wTs},
        // Destinations whose text is not part of the document.
        {"info", wSkipDest}, {"header", wSkipDest}, {"headerl", wSkipDest}, {"headerr", wSkipDest},
        {"headerf", wSkipDest}, {"footer", wSkipDest}, {"footerl", wSkipDest},
        {"footerr", wSkipDest}, {"footerf", wSkipDest}, {"footnote", wSkipDest},
        {"annotation", wSkipDest}, {"pn", wSkipDest}, {"listtable", wSkipDest},
        {"listoverridetable", wSkipDest}, {"revtbl", wSkipDest}, {"rsidtbl", wSkipDest},
        {"filetbl", wSkipDest}, {"nonshppict", wSkipDest}, {"xe", wSkipDest}, {"tc", wSkipDest},
        {"txe", wSkipDest}, {"do", wSkipDest}, {"objdata", wSkipDest}, {"objclass", wSkipDest},
        {"pgdsctbl", wSkipDest}, {"atnid", wSkipDest}, {"atnauthor", wSkipDest},
        {"private", wSkipDest},
    };
    return table;
}
// clang-format on

int codePageOfCharset(int charset) {
    switch (charset) {
        case 0:
            return 1252;
        case 77:
            return 10000;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        default:
            return 0;  // symbol and others: the document's code page
    }
}

QByteArray codecName(int codePage) {
    switch (codePage) {
        case 437:
            return "IBM437";
        case 850:
            return "IBM850";
        case 10000:
            return "macintosh";
        case 65001:
            return "UTF-8";
        default:
            return "windows-" + QByteArray::number(codePage);
    }
}

// Characters QTextDocument gives a meaning of its own (block and frame separators, the object
// mark) must not come in from a file as text.
QChar safeChar(QChar c) {
    const char16_t u = c.unicode();
    if (u == 0x2029 || u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFE || u == 0xFFFF)
        return QChar(0xFFFD);
    return c;
}

class Reader final {
  public:
    Reader(const QByteArray& data, QTextDocument& doc, RtfReadReport& report)
        : m_data(data), m_doc(doc), m_report(report), m_cur(&doc) {}

    void run();

  private:
    // Input.
    bool atEnd() const { return m_at >= m_data.size(); }
    uchar peek() const { return uchar(m_data[m_at]); }
    void problem(const QString& what) {
        if (!m_report.problems.contains(what)) m_report.problems.append(what);
    }

    void openGroup();
    void closeGroup();
    void control();
    void dispatch(std::string_view name, bool hasParam, int param);
    void destination(Word w, std::string_view name);
    void textByte(uchar b);
    void appendChar(QChar c);
    void hexByte(uchar b);
    void skipBinary(qint64 n);

    // Output.
    QTextCharFormat charFormat();
    QTextCharFormat makeCharFormat() const;
    QTextBlockFormat blockFormat() const;
    void flush();
    void place();
    void endParagraph();
    void beginRow();
    void moveToCell(int row, int column);
    void nextCell();
    void ensureCell();
    void finishRow();
    void endTable();
    void insertPicture();
    void finishObject(const State& group, qsizetype closeAt);
    void finishBookmark(bool start);
    void finishTableEntry();
    QStringDecoder& decoder(int codePage);

    const QByteArray& m_data;
    QTextDocument& m_doc;
    RtfReadReport& m_report;
    QTextCursor m_cur;
    qsizetype m_at = 0;

    std::vector<State> m_stack;
    State m_st;
    int m_overflow = 0;  // groups opened beyond the depth limit, still to be closed
    bool m_star = false;
    bool m_done = false;
    int m_ucSkip = 0;

    QString m_text;  // text waiting for insertion, all in the current state's format
    QString m_destText;

    std::map<int, FontEntry> m_fonts;
    int m_fontNum = 0, m_fontCharset = -1;
    int m_defaultFont = 0;
    int m_docCodePage = 1252;
    std::vector<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;
    std::map<int, int> m_styleOutline;  // paragraph style number -> outline level
    int m_styleNum = 0, m_styleLevel = -1;
    bool m_styleIsPara = true;
    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
    int m_pendingTab = 0;

    std::vector<QString> m_fields;
    struct OpenTag {
        int code = -1;
        int id = 0;
        QString name;
    } m_tag;
    int m_tagSerial = 0;

    struct FormatKey {
        CharState ch;
        QString href;
        int tagCode = -1;
        int tagId = 0;
        int object = 0;
    } m_formatKey;
    QTextCharFormat m_format;
    bool m_formatValid = false;

    RtfPicture m_pict;
    int m_pictHigh = -1;
    bool m_pictFull = false;

    std::map<int, ObjectInfo> m_objects;
    int m_objectSerial = 0;

    std::vector<CellDef> m_rowDef;
    CellDef m_cellDef;
    QTextTable* m_table = nullptr;
    bool m_rowOpen = false;
    int m_row = -1;
    int m_cellIndex = 0;
    int m_cellsInRow = 0;
    std::vector<int> m_vStart;
};

QStringDecoder& Reader::decoder(int codePage) {
    auto& d = m_decoders[codePage];
    if (!d) {
        d = std::make_unique<QStringDecoder>(codecName(codePage).constData());
        if (!d->isValid()) d = std::make_unique<QStringDecoder>("windows-1252");
    }
    return *d;
}

void Reader::run() {
    // The data must open as RTF: "{\rtf", after blanks and a byte-order mark at most.
    qsizetype start = 0;
    if (m_data.startsWith("\xEF\xBB\xBF")) start = 3;
    while (start < m_data.size() && QChar::isSpace(uchar(m_data[start]))) ++start;
    if (m_data.mid(start, 5) != "{\\rtf") {
        m_report.isRtf = false;
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8.decode(m_data);
        if (utf8.hasError()) text = decoder(1252).decode(m_data);
        m_doc.setPlainText(text);
        return;
    }
    m_at = start;
    while (!atEnd() && !m_done) {
        const uchar c = peek();
        if (c == '{') {
            openGroup();
            ++m_at;
        } else if (c == '}') {
            closeGroup();
            ++m_at;
        } else if (c == '\\') {
            control();
        } else if (c == '\r' || c == '\n') {
            ++m_at;
        } else if (m_overflow == 0 && m_st.dest == Dest::Normal && m_ucSkip == 0 &&
                   !m_st.ch.hidden && c >= 0x20 && c < 0x80) {
            // Plain text, the bulk of a document, goes in as one run.
            const qsizetype start = m_at;
            while (!atEnd()) {
                const uchar d = peek();
                if (d < 0x20 || d >= 0x80 || d == '\\' || d == '{' || d == '}') break;
                ++m_at;
            }
            m_text.append(QLatin1StringView(m_data.constData() + start, m_at - start));
        } else {
            if (m_overflow == 0) textByte(c);
            ++m_at;
        }
    }
    if (!m_done) problem(QStringLiteral("the file ends before all its groups are closed"));
    if (m_st.dest == Dest::Pict && m_st.pictGroup) insertPicture();
    if (m_st.dest != Dest::Normal) m_text.clear();
    flush();
    if (m_rowOpen) finishRow();
    if (!m_table) m_cur.setBlockFormat(blockFormat());
    if (m_table) endTable();
    if (auto it = m_fonts.find(m_defaultFont);
        it != m_fonts.end() && !it->second.family.isEmpty()) {
        QFont f = m_doc.defaultFont();
        f.setFamilies(QStringList{it->second.family});
        m_doc.setDefaultFont(f);
    }
}

void Reader::openGroup() {
    m_star = false;
    if (m_overflow > 0 || int(m_stack.size()) >= RtfLimits::kMaxDepth) {
        ++m_overflow;
        problem(QStringLiteral("groups are nested deeper than %1 levels; the deeper ones were "
                               "left out")
                    .arg(RtfLimits::kMaxDepth));
        return;
    }
    flush();
    m_ucSkip = 0;
    m_stack.push_back(m_st);
    m_st.groupStart = m_at;
    m_st.objectGroup = false;
    m_st.pictGroup = false;
}

void Reader::closeGroup() {
    m_star = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.size() <= 1) {
        // The end of the document: its state stays for the last paragraph.
        m_done = true;
        return;
    }
    flush();
    m_ucSkip = 0;
    switch (m_st.dest) {
        case Dest::Pict:
            if (m_st.pictGroup) insertPicture();
            break;
        case Dest::BookmarkStart:
        case Dest::BookmarkEnd:
            if (m_stack.back().dest != m_st.dest) finishBookmark(m_st.dest == Dest::BookmarkStart);
            break;
        case Dest::FieldInst:
            if (m_stack.back().dest != Dest::FieldInst && m_st.field >= 0 &&
                m_st.field < int(m_fields.size()))
                m_fields[size_t(m_st.field)] = m_destText;
            break;
        case Dest::FontTable:
        case Dest::StyleSheet:
            // An entry may end with its group instead of with a semicolon.
            if (!m_destText.trimmed().isEmpty()) finishTableEntry();
            break;
        default:
            break;
    }
    const State closed = m_st;
    m_st = m_stack.back();
    m_stack.pop_back();
    if (closed.objectGroup) finishObject(closed, m_at);
}

void Reader::skipBinary(qint64 n) {
    const qint64 left = m_data.size() - m_at;
    if (n < 0 || n > left) {
        problem(QStringLiteral("binary data (\\bin) is longer than the data left in the file"));
        n = std::clamp<qint64>(n, 0, left);
        if (m_st.dest == Dest::Pict && !m_pictFull) {
            m_pict.data.append(m_data.constData() + m_at, n);
        }
        m_at = m_data.size();
        return;
    }
    if (m_overflow == 0 && m_st.dest == Dest::Pict && !m_pictFull) {
        if (m_pict.data.size() + n > RtfLimits::kMaxPictureBytes) {
            m_pictFull = true;
            problem(QStringLiteral("a picture is larger than the reader allows"));
        } else {
            m_pict.data.append(m_data.constData() + m_at, n);
        }
    }
    m_at += n;
}

void Reader::control() {
    ++m_at;  // the backslash
    if (atEnd()) return;
    const uchar c = peek();
    if (std::isalpha(c)) {
        const qsizetype start = m_at;
        while (!atEnd() && std::isalpha(peek()) && m_at - start <= RtfLimits::kMaxWordLength)
            ++m_at;
        bool tooLong = false;
        if (m_at - start > RtfLimits::kMaxWordLength) {
            tooLong = true;
            problem(QStringLiteral("a control word is longer than %1 letters")
                        .arg(RtfLimits::kMaxWordLength));
            while (!atEnd() && std::isalpha(peek())) ++m_at;
        }
        const std::string_view name(m_data.constData() + start, size_t(m_at - start));
        bool hasParam = false;
        bool negative = false;
        qint64 value = 0;
        if (!atEnd() && peek() == '-' && m_at + 1 < m_data.size() &&
            std::isdigit(uchar(m_data[m_at + 1]))) {
            negative = true;
            ++m_at;
        }
        int digits = 0;
        while (!atEnd() && std::isdigit(peek())) {
            if (digits < RtfLimits::kMaxParamDigits) value = value * 10 + (peek() - '0');
            ++digits;
            ++m_at;
        }
        if (digits > RtfLimits::kMaxParamDigits)
            problem(QStringLiteral("a control word has a parameter of more than %1 digits")
                        .arg(RtfLimits::kMaxParamDigits));
        if (digits > 0) hasParam = true;
        if (negative) value = -value;
        const int param = int(std::clamp<qint64>(value, INT32_MIN, INT32_MAX));
        if (!atEnd() && peek() == ' ') ++m_at;
        if (name == "bin") {
            // The data after \bin is raw bytes, in every state, even inside skipped groups.
            skipBinary(hasParam ? value : 0);
            return;
        }
        if (m_overflow > 0 || tooLong) return;
        dispatch(name, hasParam, param);
        return;
    }
    ++m_at;
    if (m_overflow > 0) {
        if (c == '\'' && m_at + 2 <= m_data.size()) m_at += 2;
        return;
    }
    switch (c) {
        case '\'': {
            if (m_at + 2 > m_data.size()) {
                m_at = m_data.size();
                return;
            }
            const auto hexValue = [](char c) {
                if (c >= '0' && c <= '9') return c - '0';
                if (c >= 'a' && c <= 'f') return c - 'a' + 10;
                if (c >= 'A' && c <= 'F') return c - 'A' + 10;
                return -1;
            };
            const int h = hexValue(m_data[m_at]);
            const int l = hexValue(m_data[m_at + 1]);
            if (h < 0 || l < 0) return;  // not an escape: the characters are read as text
            m_at += 2;
            hexByte(uchar(h * 16 + l));
            return;
        }
        case '*':
            m_star = true;
            return;
        case '\\':
        case '{':
        case '}':
            textByte(c);
            return;
        case '~':
            appendChar(QChar(0x00A0));
            return;
        case '-':
            appendChar(QChar(0x00AD));
            return;
        case '_':
            appendChar(QChar(0x2011));
            return;
        case '\r':
        case '\n':
            if (m_st.dest == Dest::Normal) endParagraph();
            return;
        case '\t':
            appendChar(QLatin1Char('\t'));
            return;
        default:
            return;  // \| \: and other symbols have no visible effect here
    }
}

void Reader::hexByte(uchar b) {
    if (m_st.dest == Dest::Pict) return;
    if (m_ucSkip > 0) {
        --m_ucSkip;
        return;
    }
    int cp = m_docCodePage;
    if (m_st.ch.font >= 0) {
        auto it = m_fonts.find(m_st.ch.font);
        if (it != m_fonts.end() && it->second.codePage != 0) cp = it->second.codePage;
    }
    const QString s = decoder(cp).decode(QByteArrayView(reinterpret_cast<const char*>(&b), 1));
    for (QChar ch : s) appendChar(ch);
}

void Reader::textByte(uchar b) {
    switch (m_st.dest) {
        case Dest::Skip:
            return;
        case Dest::Pict: {
            if (m_pictFull) return;
            int v = -1;
            if (b >= '0' && b <= '9')
                v = b - '0';
            else if (b >= 'a' && b <= 'f')
                v = b - 'a' + 10;
            else if (b >= 'A' && b <= 'F')
                v = b - 'A' + 10;
            if (v < 0) return;
            if (m_pictHigh < 0) {
                m_pictHigh = v;
            } else {
                if (m_pict.data.size() >= RtfLimits::kMaxPictureBytes) {
                    m_pictFull = true;
                    problem(QStringLiteral("a picture is larger than the reader allows"));
                    return;
                }
                m_pict.data.append(char(m_pictHigh * 16 + v));
                m_pictHigh = -1;
            }
            return;
        }
        case Dest::ColorTable:
            if (b == ';') {
                m_formatValid = false;
                if (int(m_colors.size()) < RtfLimits::kMaxColors)
                    m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
                else
                    problem(QStringLiteral("the colour table has more entries than allowed"));
                m_red = m_green = m_blue = 0;
                m_colorSet = false;
            }
            return;
        case Dest::FontTable:
        case Dest::StyleSheet:
            if (b == ';') {
                finishTableEntry();
                return;
            }
            break;
        default:
            break;
    }
    if (b == '\t') {
        appendChar(QLatin1Char('\t'));
        return;
    }
    if (b < 0x20) return;
    if (b >= 0x80) {
        hexByte(b);
        return;
    }
    if (m_ucSkip > 0) {
        --m_ucSkip;
        return;
    }
    appendChar(QLatin1Char(char(b)));
}

void Reader::appendChar(QChar c) {
    switch (m_st.dest) {
        case Dest::Normal:
            if (m_st.ch.hidden) return;
            m_text.append(safeChar(c));
            return;
        case Dest::FontTable:
        case Dest::StyleSheet:
        case Dest::FieldInst:
        case Dest::BookmarkStart:
        case Dest::BookmarkEnd:
            if (m_destText.size() < 4096) m_destText.append(c);
            return;
        default:
            return;
    }
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
            m_fonts[m_fontNum] = e;
            m_formatValid = false;
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

void Reader::finishBookmark(bool start) {
    const QString name = m_destText.trimmed();
    m_destText.clear();
    // Tag bookmarks are named "vt", the code in one to five digits, then "_" and anything.
    int code = -1;
    if (name.size() >= 3 && name.startsWith(QLatin1String("vt"), Qt::CaseInsensitive)) {
        int i = 2;
        int value = 0;
        while (i < name.size() && i < 8 && name[i].isDigit() && name[i].unicode() < 128) {
            value = value * 10 + (name[i].unicode() - '0');
            ++i;
        }
        if (i > 2 && i <= 7 && (i == name.size() || name[i] == QLatin1Char('_'))) code = value;
    }
    if (code < 0) return;
    flush();
    if (start) {
        m_tag = {code, ++m_tagSerial, name};
    } else if (m_tag.code >= 0 && name.compare(m_tag.name, Qt::CaseInsensitive) == 0) {
        m_tag = {};
    }
}

void Reader::destination(Word w, std::string_view) {
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
        case wFldinst:
            if (m_st.field >= 0) {
                m_st.dest = Dest::FieldInst;
                m_destText.clear();
            } else {
                m_st.dest = Dest::Skip;
            }
            break;
        case wBkmkstart:
            m_st.dest = Dest::BookmarkStart;
            m_destText.clear();
            break;
        case wBkmkend:
            m_st.dest = Dest::BookmarkEnd;
            m_destText.clear();
            break;
        default:
            break;
    }
}

void Reader::dispatch(std::string_view name, bool hasParam, int param) {
    const auto& table = words();
    const auto found = table.find(name);
    const Word w = found == table.end() ? wUnknown : found->second;
    const bool star = m_star;
    m_star = false;
    if (m_st.dest == Dest::Skip) {
        // An object's group shows nothing but its result; its size is still wanted.
        if (!m_st.objectBody || m_st.object == 0) return;
        if (w == wObjw) m_objects[m_st.object].width = std::clamp(param, 0, 1 << 22);
        if (w == wObjh) m_objects[m_st.object].height = std::clamp(param, 0, 1 << 22);
        if (w != wResult || star) return;
        m_st.dest = Dest::Normal;
        m_st.objectBody = false;
        place();
        flush();
        if (m_objects[m_st.object].resultStart < 0)
            m_objects[m_st.object].resultStart = m_cur.position();
        return;
    }
    if (star) {
        // "{\*\word": a destination this reader may not know; unknown ones are skipped whole.
        switch (w) {
            case wFldinst:
            case wBkmkstart:
            case wBkmkend:
            case wShppict:
                break;
            default:
                m_st.dest = Dest::Skip;
                return;
        }
    }
    const bool on = !hasParam || param != 0;
    CharState& ch = m_st.ch;
    ParaState& pa = m_st.para;

    // Unicode characters count in every destination that keeps text (font names, bookmark
    // names, field instructions) as in the document itself.
    if (m_st.dest != Dest::Normal && (w == wU || w == wUc)) {
        if (w == wUc) {
            m_st.uc = std::clamp(param, 0, RtfLimits::kMaxUnicodeSkip);
            return;
        }
        int v = std::clamp(param, -32768, 65535);
        if (v < 0) v += 65536;
        appendChar(QChar(char16_t(v)));
        m_ucSkip = m_st.uc;
        return;
    }
    // Words that only matter inside the tables of the header.
    if (m_st.dest == Dest::FontTable) {
        if (w == wF)
            m_fontNum = param;
        else if (w == wFcharset)
            m_fontCharset = param;
        return;
    }
    if (m_st.dest == Dest::ColorTable) {
        const int v = std::clamp(param, 0, 255);
        if (w == wRed)
            m_red = v, m_colorSet = true;
        else if (w == wGreen)
            m_green = v, m_colorSet = true;
        else if (w == wBlue)
            m_blue = v, m_colorSet = true;
        return;
    }
    if (m_st.dest == Dest::StyleSheet) {
        if (w == wS)
            m_styleNum = param, m_styleIsPara = true;
        else if (w == wCs || w == wDs || w == wTs)
            m_styleIsPara = false;
        else if (w == wOutline)
            m_styleLevel = param;
        return;
    }
    if (m_st.dest == Dest::Pict) {
        switch (w) {
            case wPngblip:
                m_pict.kind = QStringLiteral("png");
                break;
            case wJpegblip:
                m_pict.kind = QStringLiteral("jpeg");
                break;
            case wDibitmap:
                m_pict.kind = QStringLiteral("dib");
                break;
            case wWmetafile:
                m_pict.kind = QStringLiteral("wmf");
                break;
            case wEmfblip:
                m_pict.kind = QStringLiteral("emf");
                break;
            case wWbitmap:
            case wOtherPict:
                m_pict.kind = QStringLiteral("other");
                break;
            case wPicw:
                m_pict.picWidth = std::clamp(param, 0, 1 << 20);
                break;
            case wPich:
                m_pict.picHeight = std::clamp(param, 0, 1 << 20);
                break;
            case wPicwgoal:
                m_pict.goalWidth = std::clamp(param, 0, 1 << 22);
                break;
            case wPichgoal:
                m_pict.goalHeight = std::clamp(param, 0, 1 << 22);
                break;
            case wPicscalex:
                m_pict.scaleX = std::clamp(param, 1, 1000);
                break;
            case wPicscaley:
                m_pict.scaleY = std::clamp(param, 1, 1000);
                break;
            default:
                break;
        }
        return;
    }
    if (m_st.dest != Dest::Normal && w != wFldrslt) {
        if (w == wSkipDest) m_st.dest = Dest::Skip;
        return;
    }

    switch (w) {
        case wUnknown:
            return;
        case wSkipDest:
            flush();
            m_st.dest = Dest::Skip;
            return;
        case wFonttbl:
        case wColortbl:
        case wStylesheet:
        case wFldinst:
        case wBkmkstart:
        case wBkmkend:
            flush();
            destination(w, name);
            return;
        case wShppict:
            return;
        case wField:
            flush();
            if (m_fields.size() < 100000) {
                m_st.field = int(m_fields.size());
                m_fields.emplace_back();
            }
            return;
        case wFldrslt: {
            flush();
            m_st.dest = Dest::Normal;
            if (m_st.field < 0 || m_st.field >= int(m_fields.size())) return;
            const QString inst = m_fields[size_t(m_st.field)].trimmed();
            if (!inst.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) return;
            // HYPERLINK "target" with \l "anchor" for a place inside a document.
            QString target, anchor;
            const QString args = inst.mid(9);
            QStringList parts;
            for (qsizetype i = 0; i < args.size();) {
                if (args[i].isSpace()) {
                    ++i;
                    continue;
                }
                qsizetype j = i;
                QString part;
                if (args[i] == QLatin1Char('"')) {
                    j = args.indexOf(QLatin1Char('"'), i + 1);
                    if (j < 0) j = args.size();
                    part = args.mid(i + 1, j - i - 1);
                    i = j + 1;
                } else {
                    while (j < args.size() && !args[j].isSpace()) ++j;
                    part = args.mid(i, j - i);
                    i = j;
                }
                parts.append(part);
            }
            for (qsizetype k = 0; k < parts.size(); ++k) {
                if (parts[k] == QLatin1String("\\l") && k + 1 < parts.size())
                    anchor = parts[++k];
                else if (parts[k].startsWith(QLatin1Char('\\')))
                    continue;
                else if (target.isEmpty())
                    target = parts[k];
            }
            m_st.href = anchor.isEmpty() ? target : target + QLatin1Char('#') + anchor;
            return;
        }
        case wPict:
            flush();
            m_st.dest = Dest::Pict;
            m_st.pictGroup = true;
            m_pict = RtfPicture{};
            m_pictHigh = -1;
            m_pictFull = false;
            return;
        case wObject:
            if (m_st.object == 0) {
                flush();
                m_st.object = ++m_objectSerial;
                m_st.objectGroup = true;
                m_st.objectBody = true;
                m_st.dest = Dest::Skip;
                m_objects[m_st.object].groupStart = m_st.groupStart;
            }
            return;
        case wObjw:
            if (m_st.object) m_objects[m_st.object].width = std::clamp(param, 0, 1 << 22);
            return;
        case wObjh:
            if (m_st.object) m_objects[m_st.object].height = std::clamp(param, 0, 1 << 22);
            return;
        case wResult:
            if (m_st.object) {
                place();
                flush();
                if (m_objects[m_st.object].resultStart < 0)
                    m_objects[m_st.object].resultStart = m_cur.position();
            }
            return;
        default:
            break;
    }

    // Everything below but the characters changes the format of the text that follows.
    switch (w) {
        case wLine:
        case wTab:
        case wNestCell:
        case wU:
        case wEmdash:
        case wEndash:
        case wBullet:
        case wLquote:
        case wRquote:
        case wLdblquote:
        case wRdblquote:
        case wEmspace:
        case wEnspace:
            break;
        case wCell:
            if (pa.nesting > 1) break;
            [[fallthrough]];
        default:
            flush();
            break;
    }
    switch (w) {
        case wPar:
        case wPage:
        case wSect:
            endParagraph();
            break;
        case wLine:
            m_text.append(QChar(QChar::LineSeparator));
            break;
        case wTab:
            appendChar(QLatin1Char('\t'));
            break;
        case wNestCell:
            appendChar(QLatin1Char('\t'));
            break;
        case wCell:
            if (pa.nesting > 1)
                appendChar(QLatin1Char('\t'));
            else
                nextCell();
            break;
        case wRow:
            if (!m_rowOpen) beginRow();
            finishRow();
            break;
        case wTrowd:
            m_rowDef.clear();
            m_cellDef = {};
            break;
        case wCellx:
            // Edges beyond a few metres are no table a page can hold.
            m_cellDef.edge = std::clamp(param, -RtfLimits::kMaxTableEdge, RtfLimits::kMaxTableEdge);
            if (int(m_rowDef.size()) < RtfLimits::kMaxTableColumns)
                m_rowDef.push_back(m_cellDef);
            else
                problem(QStringLiteral("a table row has more cells than allowed"));
            m_cellDef = {};
            break;
        case wClmgf:
            m_cellDef.hFirst = true;
            break;
        case wClmrg:
            m_cellDef.hMerge = true;
            break;
        case wClvmgf:
            m_cellDef.vFirst = true;
            break;
        case wClvmrg:
            m_cellDef.vMerge = true;
            break;
        case wIntbl:
            pa.inTable = true;
            break;
        case wItap:
            pa.nesting = std::clamp(param, 0, 1000);
            pa.inTable = pa.nesting > 0;
            break;
        case wPard:
            pa = ParaState{};
            m_pendingTab = 0;
            break;
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
                QTextOption::Tab t(twipsToPx(std::clamp(param, 0, 31680)), types[m_pendingTab]);
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
        case wU: {
            int v = std::clamp(param, -32768, 65535);
            if (v < 0) v += 65536;
            appendChar(QChar(char16_t(v)));
            m_ucSkip = m_st.uc;
            break;
        }
        case wUc:
            m_st.uc = std::clamp(param, 0, RtfLimits::kMaxUnicodeSkip);
            break;
        case wEmdash:
            appendChar(QChar(0x2014));
            break;
        case wEndash:
            appendChar(QChar(0x2013));
            break;
        case wBullet:
            appendChar(QChar(0x2022));
            break;
        case wLquote:
            appendChar(QChar(0x2018));
            break;
        case wRquote:
            appendChar(QChar(0x2019));
            break;
        case wLdblquote:
            appendChar(QChar(0x201C));
            break;
        case wRdblquote:
            appendChar(QChar(0x201D));
            break;
        case wEmspace:
            appendChar(QChar(0x2003));
            break;
        case wEnspace:
            appendChar(QChar(0x2002));
            break;
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
            break;
    }
}

QTextCharFormat Reader::charFormat() {
    // Most runs repeat the format of an earlier one; building a format costs more than this.
    if (m_formatValid && m_formatKey.ch == m_st.ch && m_formatKey.href == m_st.href &&
        m_formatKey.tagId == m_tag.id && m_formatKey.tagCode == m_tag.code &&
        m_formatKey.object == m_st.object)
        return m_format;
    m_formatKey = {m_st.ch, m_st.href, m_tag.code, m_tag.id, m_st.object};
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
        if (it != m_fonts.end() && !it->second.family.isEmpty())
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
    if (m_st.object) f.setProperty(kObjectIdProperty, m_st.object);
    return f;
}

QTextBlockFormat Reader::blockFormat() const {
    const ParaState& pa = m_st.para;
    QTextBlockFormat b;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    if (pa.align) b.setAlignment(aligns[pa.align]);
    if (pa.left) b.setLeftMargin(twipsToPx(pa.left));
    if (pa.right) b.setRightMargin(twipsToPx(pa.right));
    if (pa.first) b.setTextIndent(twipsToPx(pa.first));
    if (pa.before) b.setTopMargin(twipsToPx(pa.before));
    if (pa.after) b.setBottomMargin(twipsToPx(pa.after));
    if (pa.lineSpacing > 0 && pa.lineMultiple)
        b.setLineHeight(pa.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (pa.lineSpacing > 0)
        b.setLineHeight(twipsToPx(pa.lineSpacing), QTextBlockFormat::MinimumHeight);
    else if (pa.lineSpacing < 0)
        b.setLineHeight(twipsToPx(-pa.lineSpacing), QTextBlockFormat::FixedHeight);
    if (!pa.tabs.isEmpty()) b.setTabPositions(pa.tabs);
    int level = pa.outline;
    if (level < 0) {
        auto it = m_styleOutline.find(pa.style);
        if (it != m_styleOutline.end()) level = it->second;
    }
    if (level >= 0 && level <= 5) b.setHeadingLevel(level + 1);
    return b;
}

void Reader::place() {
    if (m_st.para.inTable || m_rowOpen) {
        if (!m_rowOpen) beginRow();
        ensureCell();
        m_cellsInRow = std::max(m_cellsInRow, m_cellIndex + 1);
    } else if (m_table) {
        endTable();
    }
}

void Reader::flush() {
    if (m_text.isEmpty()) return;
    place();
    // A lone half of a surrogate pair cannot be shown or written back.
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c.isHighSurrogate() && i + 1 < m_text.size() && m_text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            m_text[i] = QChar(0xFFFD);
        }
    }
    m_cur.insertText(m_text, charFormat());
    m_text.resize(0);  // keeps the buffer for the next run
}

void Reader::endParagraph() {
    place();
    flush();
    m_cur.setBlockFormat(blockFormat());
    m_cur.insertBlock();
}

void Reader::beginRow() {
    const int wanted = std::max(1, int(m_rowDef.size()));
    if (!m_table) {
        // The paragraph mark before a table ends the paragraph above it; Qt places a table
        // after the block the cursor is in, so an empty block left by that mark is removed.
        const QTextBlock block = m_cur.block();
        if (block.length() == 1 && block.previous().isValid() &&
            !QTextCursor(block.previous()).currentTable() && !m_cur.currentTable() &&
            !m_cur.currentFrame()->parentFrame()) {
            m_cur.deletePreviousChar();
        }
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setCellPadding(3);
        tf.setCellSpacing(0);
        tf.setBorderCollapse(true);
        QList<int> edges;
        QList<QTextLength> widths;
        int last = 0;
        for (const CellDef& d : m_rowDef) {
            edges.append(d.edge);
            widths.append(QTextLength(QTextLength::FixedLength,
                                      std::max<qreal>(4, twipsToPx(d.edge - last))));
            last = d.edge;
        }
        if (!edges.isEmpty()) {
            tf.setProperty(kCellEdgesProperty, QVariant::fromValue(edges));
            tf.setColumnWidthConstraints(widths);
        }
        m_table = m_cur.insertTable(1, wanted, tf);
        m_vStart.assign(size_t(wanted), -1);
    } else {
        m_table->appendRows(1);
        if (m_table->columns() < wanted) m_table->appendColumns(wanted - m_table->columns());
    }
    m_vStart.resize(size_t(m_table->columns()), -1);
    m_row = m_table->rows() - 1;
    m_cellIndex = 0;
    m_cellsInRow = 0;
    m_rowOpen = true;
    moveToCell(m_row, 0);
}

void Reader::moveToCell(int row, int column) {
    const QTextTableCell cell = m_table->cellAt(row, column);
    if (cell.isValid()) m_cur = cell.lastCursorPosition();
}

void Reader::nextCell() {
    if (!m_rowOpen) beginRow();
    ensureCell();
    m_cur.setBlockFormat(blockFormat());
    ++m_cellIndex;
    // The next cell is made when something comes for it, so the mark after a row's last cell
    // adds no column.
    m_cellsInRow = std::max(m_cellsInRow, m_cellIndex);
    if (m_cellIndex < m_table->columns()) moveToCell(m_row, m_cellIndex);
}

void Reader::ensureCell() {
    if (m_cellIndex < m_table->columns()) return;
    if (m_table->columns() < RtfLimits::kMaxTableColumns) {
        m_table->appendColumns(m_cellIndex + 1 - m_table->columns());
        m_vStart.resize(size_t(m_table->columns()), -1);
    } else {
        problem(QStringLiteral("a table row has more cells than allowed"));
        m_cellIndex = m_table->columns() - 1;
    }
    moveToCell(m_row, m_cellIndex);
}

void Reader::finishRow() {
    const int columns = m_table->columns();
    const int defined = std::min(int(m_rowDef.size()), columns);
    // Cells merged with the one on their left.
    for (int c = 1; c < defined; ++c) {
        if (!m_rowDef[size_t(c)].hMerge) continue;
        int s = c;
        while (s > 0 && m_rowDef[size_t(s)].hMerge) --s;
        int e = c;
        while (e + 1 < defined && m_rowDef[size_t(e + 1)].hMerge) ++e;
        m_table->mergeCells(m_row, s, 1, e - s + 1);
        c = e;
    }
    // A row with fewer cells than the table: its last cell takes the rest of the width.
    const int used = std::max(defined, std::min(m_cellsInRow, columns));
    if (used >= 1 && used < columns) m_table->mergeCells(m_row, used - 1, 1, columns - used + 1);
    // Cells merged with the one above.
    for (int c = 0; c < defined; ++c) {
        const CellDef& d = m_rowDef[size_t(c)];
        if (d.vFirst) {
            m_vStart[size_t(c)] = m_row;
        } else if (d.vMerge && m_vStart[size_t(c)] >= 0 && !d.hMerge) {
            const QTextTableCell top = m_table->cellAt(m_vStart[size_t(c)], c);
            const QTextTableCell here = m_table->cellAt(m_row, c);
            if (top.column() == c && top.columnSpan() == here.columnSpan() && here.row() == m_row)
                m_table->mergeCells(m_vStart[size_t(c)], c, m_row - m_vStart[size_t(c)] + 1,
                                    top.columnSpan());
        } else {
            m_vStart[size_t(c)] = -1;
        }
    }
    m_rowOpen = false;
    m_cellIndex = 0;
}

void Reader::endTable() {
    if (m_rowOpen) finishRow();
    m_cur.setPosition(m_table->lastPosition() + 1);
    m_table = nullptr;
    m_vStart.clear();
}

void Reader::insertPicture() {
    m_st.pictGroup = false;
    RtfPicture pict = std::move(m_pict);
    m_pict = RtfPicture{};
    if (m_stack.empty()) return;
    // The picture belongs to the group around the \pict group.
    const State outer = m_stack.back();
    if (outer.dest != Dest::Normal || outer.ch.hidden) return;
    const State saved = m_st;
    m_st = outer;
    place();
    QString why;
    QImage img = decodePicture(pict, &why);
    if (!why.isEmpty()) problem(why);
    // The scaled size is clamped to what a page could show.
    const int goalW = int(std::min<qint64>(qint64(pict.goalWidth) * pict.scaleX / 100, 1 << 22));
    const int goalH = int(std::min<qint64>(qint64(pict.goalHeight) * pict.scaleY / 100, 1 << 22));
    qreal w = goalW > 0 ? twipsToPx(goalW) : 0;
    qreal h = goalH > 0 ? twipsToPx(goalH) : 0;
    if (img.isNull()) {
        const bool metafile =
            pict.kind == QLatin1String("wmf") || pict.kind == QLatin1String("emf");
        // Metafile sizes are in hundredths of a millimetre, bitmap sizes in pixels.
        const qreal fallbackW = metafile ? pict.picWidth * 96.0 / 2540.0 : pict.picWidth;
        const qreal fallbackH = metafile ? pict.picHeight * 96.0 / 2540.0 : pict.picHeight;
        if (w <= 0) w = fallbackW > 0 ? fallbackW : 64;
        if (h <= 0) h = fallbackH > 0 ? fallbackH : 64;
        img = placeholderImage(int(w), int(h));
    }
    if (w <= 0) w = img.width();
    if (h <= 0) h = img.height();
    static QAtomicInt serial;
    const QString name = QStringLiteral("vasora-pict:%1").arg(serial.fetchAndAddRelaxed(1));
    m_doc.addResource(QTextDocument::ImageResource, QUrl(name), img);
    QTextImageFormat f;
    f.merge(charFormat());
    f.setName(name);
    f.setWidth(std::min<qreal>(w, 4000));
    f.setHeight(std::min<qreal>(h, 4000));
    f.setProperty(kPictDataProperty, pict.data);
    f.setProperty(kPictKindProperty, pict.kind.isEmpty() ? QStringLiteral("other") : pict.kind);
    f.setProperty(kPictGoalWidthProperty, goalW);
    f.setProperty(kPictGoalHeightProperty, goalH);
    f.setProperty(kPictWidthProperty, pict.picWidth);
    f.setProperty(kPictHeightProperty, pict.picHeight);
    m_cur.insertImage(f);
    m_st = saved;
}

void Reader::finishObject(const State& group, qsizetype closeAt) {
    const auto it = m_objects.find(group.object);
    if (it == m_objects.end()) return;
    const ObjectInfo info = it->second;
    m_objects.erase(it);
    QByteArray raw = m_data.mid(info.groupStart, closeAt + 1 - info.groupStart);
    if (raw.size() > RtfLimits::kMaxPictureBytes) {
        problem(QStringLiteral("an embedded object is larger than the reader allows"));
        return;
    }
    place();
    const int end = m_cur.position();
    QTextCharFormat mark;
    mark.setProperty(kObjectRtfProperty, raw);
    mark.setProperty(kObjectIdProperty, group.object);
    if (info.resultStart >= 0 && end > info.resultStart) {
        QTextCursor c(&m_doc);
        c.setPosition(info.resultStart);
        c.setPosition(end, QTextCursor::KeepAnchor);
        c.mergeCharFormat(mark);
        return;
    }
    // No shown result: a placeholder of the object's size stands for it.
    const qreal w = info.width > 0 ? twipsToPx(info.width) : 64;
    const qreal h = info.height > 0 ? twipsToPx(info.height) : 64;
    static QAtomicInt serial;
    const QString name = QStringLiteral("vasora-object:%1").arg(serial.fetchAndAddRelaxed(1));
    m_doc.addResource(QTextDocument::ImageResource, QUrl(name), placeholderImage(int(w), int(h)));
    QTextImageFormat f;
    f.merge(charFormat());
    f.merge(mark);
    f.setName(name);
    f.setWidth(std::min<qreal>(w, 4000));
    f.setHeight(std::min<qreal>(h, 4000));
    m_cur.insertImage(f);
}

}  // namespace

QString RtfReadReport::message(const QString& fileName) const {
    if (!isRtf)
        return QStringLiteral(
                   "The file %1 is not a rich-text (RTF) file; it is shown as plain "
                   "text.")
            .arg(fileName);
    if (problems.isEmpty()) return {};
    return QStringLiteral(
               "The file %1 could not be read completely (%2). What could be read "
               "is shown.")
        .arg(fileName, problems.join(QStringLiteral("; ")));
}

RtfReadReport readRtf(const QByteArray& data, QTextDocument& doc) {
    RtfReadReport report;
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    {
        // One edit block for the whole load: Qt then rebuilds its frame tree once at the end
        // instead of after every table and row, which would make loading quadratic.
        QTextCursor block(&doc);
        block.beginEditBlock();
        Reader reader(data, doc, report);
        reader.run();
        block.endEditBlock();
    }
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
    return report;
}

}  // namespace vasora::documents
