// The RTF reader's list numbers: the list table with its levels, the overrides that give lists
// their \ls numbers, and the paragraph numbering of old files (\pn). Word writes each number's
// text as well (\listtext, \pntext), which is then shown as it stands; for files that leave it
// out, the number is made here from the list's definition.

#include "documents/RtfReaderImpl.h"

#include <QTextDocument>
#include <algorithm>

namespace vasora::documents::rtf {
namespace {

constexpr size_t kMaxLists = 1024;
constexpr size_t kMaxLevels = 9;
constexpr size_t kMaxNumberings = 10000;

QString roman(int n, bool upper) {
    static constexpr std::pair<int, const char*> parts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    for (const auto& [value, letters] : parts) {
        while (n >= value) {
            out += QLatin1String(letters);
            n -= value;
        }
    }
    return upper ? out.toUpper() : out;
}

// 1 a, 26 z, 27 aa, 28 bb: past z the letter repeats, as word processors count.
QString letters(int n, bool upper) {
    const int times = std::min((n - 1) / 26 + 1, 10);
    return QString(times, QChar((upper ? 'A' : 'a') + (n - 1) % 26));
}

QString formatNumber(int n, int format) {
    switch (format) {
        case 1:
        case 2:
            if (n >= 1 && n < 4000) return roman(n, format == 1);
            break;
        case 3:
        case 4:
            if (n >= 1) return letters(n, format == 3);
            break;
        case 22:
            return QString::number(n).rightJustified(2, QLatin1Char('0'));
        case 23:
        case 255:
            return {};  // a bullet, or no number
        default:
            break;
    }
    return QString::number(n);
}

}  // namespace

bool Reader::listWord(Word w, int param) {
    switch (w) {
        case wListTable:
            m_st.dest = Dest::ListTable;
            return true;
        case wListOverrideTable:
            m_st.dest = Dest::ListOverride;
            return true;
        case wPn:
            m_st.dest = Dest::PnDef;
            m_pnBuild = PnDef{};
            return true;
        case wListText:
            // The file gives the number's text, shown as any text.
            m_paraHasListText = true;
            return true;
        case wLs:
            m_st.para.list = std::clamp(param, 0, 1 << 20);
            return true;
        case wIlvl:
            m_st.para.listLevel = std::clamp(param, 0, int(kMaxLevels) - 1);
            return true;
        default:
            return false;
    }
}

void Reader::listInside(Word w, int param) {
    if (w == wSkipDest) {
        m_st.dest = Dest::Skip;
        return;
    }
    switch (m_st.dest) {
        case Dest::ListTable:
            listTableWord(w, param);
            return;
        case Dest::ListOverride:
            if (w == wListId) m_overrideListId = param;
            if (w == wLs && m_listOfOverride.size() < kMaxLists)
                m_listOfOverride[param] = m_overrideListId;
            return;
        case Dest::PnDef:
            oldNumberWord(w, param);
            return;
        default:
            return;
    }
}

void Reader::listTableWord(Word w, int param) {
    switch (w) {
        case wList:
            m_st.listGroup = 1;
            m_listBuild.clear();
            m_listIdBuild = 0;
            break;
        case wListLevel:
            m_st.listGroup = 2;
            m_levelBuild = ListLevel{};
            break;
        case wLevelNfc:
            m_levelBuild.format = std::clamp(param, 0, 255);
            break;
        case wLevelStartAt:
            m_levelBuild.start = std::clamp(param, 0, 32767);
            break;
        case wLevelFollow:
            m_levelBuild.follow = std::clamp(param, 0, 2);
            break;
        case wF:
            m_levelBuild.font = param;
            break;
        case wLevelText:
            m_st.dest = Dest::LevelText;
            m_destText.clear();
            break;
        case wListId:
            m_listIdBuild = param;
            break;
        default:
            break;
    }
}

void Reader::oldNumberWord(Word w, int param) {
    switch (w) {
        case wPnLvlBody:
            m_pnBuild.level = 10;
            break;
        case wPnLvlBlt:
            m_pnBuild.level = 11;
            break;
        case wPnLvl:
            m_pnBuild.level = std::clamp(param, 1, 9);
            break;
        case wPnDec:
            m_pnBuild.format = 0;
            break;
        case wPnUcRm:
            m_pnBuild.format = 1;
            break;
        case wPnLcRm:
            m_pnBuild.format = 2;
            break;
        case wPnUcLtr:
            m_pnBuild.format = 3;
            break;
        case wPnLcLtr:
            m_pnBuild.format = 4;
            break;
        case wPnStart:
            m_pnBuild.start = std::clamp(param, 0, 32767);
            break;
        case wPnF:
            m_pnBuild.font = param;
            break;
        case wPnTxtA:
        case wPnTxtB:
            m_st.dest = w == wPnTxtA ? Dest::PnAfter : Dest::PnBefore;
            m_destText.clear();
            break;
        default:
            break;
    }
}

void Reader::finishListGroup(const State& closed) {
    if (closed.listGroup == 2) {
        if (m_listBuild.size() < kMaxLevels) m_listBuild.push_back(m_levelBuild);
    } else if (closed.listGroup == 1) {
        if (m_listIdBuild != 0 && (m_lists.size() < kMaxLists || m_lists.count(m_listIdBuild)))
            m_lists[m_listIdBuild] = m_listBuild;
    } else if (closed.dest == Dest::PnDef) {
        // Paragraph after paragraph repeats one numbering; it is kept once.
        if (m_pns.empty() || !(m_pns.back() == m_pnBuild)) {
            if (m_pns.size() >= kMaxNumberings) return;
            m_pns.push_back(m_pnBuild);
        }
        m_st.para.pn = int(m_pns.size()) - 1;
    }
}

QString Reader::numberText(const QString& pattern, int font,
                           const std::array<int, kMaxLevels>& counts,
                           const std::vector<ListLevel>* levels) {
    SymbolSet set = SymbolSet::None;
    int cp = m_docCodePage;
    if (auto it = m_fonts.find(font); it != m_fonts.end()) {
        set = it->second.symbols;
        if (it->second.codePage != 0) cp = it->second.codePage;
    }
    QString out;
    QByteArray bytes;  // the pattern holds bytes as the file gave them, to decode by its font
    auto decodeBytes = [&] {
        if (bytes.isEmpty()) return;
        if (set != SymbolSet::None) {
            for (char b : bytes) out += QChar(symbolToUnicode(set, uchar(b)));
        } else {
            out += decoder(cp).decode(bytes);
        }
        bytes.clear();
    };
    for (QChar c : pattern) {
        const char16_t u = c.unicode();
        if (levels && u < kMaxLevels) {
            decodeBytes();
            if (u < levels->size() && counts[u] >= 0)
                out += formatNumber(counts[u], (*levels)[u].format);
            continue;
        }
        if (u < 0x100) {
            if (u >= 0x20) bytes.append(char(u));
            continue;
        }
        decodeBytes();
        // Word writes a symbol font's characters, bullets above all, in the private-use area.
        if (u >= 0xF020 && u <= 0xF0FF)
            out += QChar(symbolToUnicode(set == SymbolSet::None ? SymbolSet::Symbol : set, u));
        else if (u != QChar::ParagraphSeparator && !c.isSurrogate())
            out += c;
    }
    decodeBytes();
    return out;
}

void Reader::numberParagraph(bool atEnd) {
    if (m_paraNumbered || m_st.dest != Dest::Normal) return;
    // Where the file gives the number text, the number is counted once the paragraph ends and
    // its list is known: that text comes before the paragraph's own properties.
    if (m_paraHasListText && !atEnd) return;
    const ParaState& pa = m_st.para;
    QString text;
    if (pa.list > 0) {
        const auto ov = m_listOfOverride.find(pa.list);
        const auto list = m_lists.find(ov == m_listOfOverride.end() ? -1 : ov->second);
        if (list == m_lists.end() || list->second.empty()) return;
        const std::vector<ListLevel>& levels = list->second;
        const size_t level = std::min(size_t(pa.listLevel), levels.size() - 1);
        auto counts = m_listCounts.find(pa.list);
        if (counts == m_listCounts.end()) {
            if (m_listCounts.size() >= kMaxLists) return;
            counts = m_listCounts.emplace(pa.list, std::array<int, kMaxLevels>{}).first;
            counts->second.fill(-1);
        }
        std::array<int, kMaxLevels>& c = counts->second;
        c[level] = c[level] >= 0 ? std::min(c[level] + 1, 1 << 20) : levels[level].start;
        for (size_t d = level + 1; d < kMaxLevels; ++d) c[d] = -1;
        if (!m_paraHasListText) {
            const ListLevel& l = levels[level];
            text = numberText(l.text, l.font, c, &levels);
            if (l.follow == 0) text += QLatin1Char('\t');
            if (l.follow == 1) text += QLatin1Char(' ');
        }
    } else if (pa.pn >= 0 && pa.pn < int(m_pns.size())) {
        const PnDef& p = m_pns[size_t(pa.pn)];
        const bool goesOn = m_pnLast >= 0 && m_pns[size_t(m_pnLast)] == p;
        m_pnCount = goesOn ? std::min(m_pnCount + 1, 1 << 20) : p.start;
        m_pnLast = pa.pn;
        if (!m_paraHasListText) {
            const std::array<int, kMaxLevels> none{};
            text = numberText(p.before, p.font, none, nullptr);
            if (p.level != 11) text += formatNumber(m_pnCount, p.format);
            text += numberText(p.after, p.font, none, nullptr) + QLatin1Char('\t');
        }
    } else {
        return;
    }
    m_paraNumbered = true;
    if (text.isEmpty()) return;
    place();
    if (roomFor(1)) m_cur.insertText(text, charFormat());
}

}  // namespace vasora::documents::rtf
