// The RTF reader's characters: bytes decoded by the code page of their font in runs, symbol
// fonts read as Unicode, the fallback characters after \uN, and where each character goes.

#include "documents/RtfCodePages.h"
#include "documents/RtfFormat.h"
#include "documents/RtfReaderImpl.h"

#include <algorithm>

namespace vasora::documents::rtf {
namespace {

// Characters QTextDocument gives a meaning of its own (block and frame separators, the object
// mark) must not come in from a file as text.
QChar safeChar(QChar c) {
    const char16_t u = c.unicode();
    if (u == 0x2029 || u == 0xFFFC || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFE || u == 0xFFFF)
        return QChar(0xFFFD);
    return c;
}

}  // namespace

QStringDecoder& Reader::decoder(int codePage) {
    auto& d = m_decoders[codePage];
    if (!d) {
        // Each run of bytes is decoded on its own: a stray byte spoils no later run.
        d = std::make_unique<QStringDecoder>(codecName(codePage).constData(),
                                             QStringConverter::Flag::Stateless);
        if (!d->isValid()) {
            problem(QStringLiteral("the code page %1 is not known; its text was read as "
                                   "Windows-1252 and may show wrong letters")
                        .arg(codePage));
            d = std::make_unique<QStringDecoder>("windows-1252", QStringConverter::Flag::Stateless);
        }
    }
    return *d;
}

int Reader::codePage() const {
    if (m_st.ch.font >= 0) {
        auto it = m_fonts.find(m_st.ch.font);
        if (it != m_fonts.end() && it->second.codePage != 0) return it->second.codePage;
    }
    return m_docCodePage;
}

SymbolSet Reader::symbolSet() {
    if (m_st.ch.font != m_symbolFont) {
        m_symbolFont = m_st.ch.font;
        auto it = m_fonts.find(m_st.ch.font);
        m_symbolSet = it == m_fonts.end() ? SymbolSet::None : it->second.symbols;
    }
    return m_symbolSet;
}

bool Reader::skipsFallback() {
    if (m_ucSkip == 0) return false;
    --m_ucSkip;
    return true;
}

void Reader::hexByte(uchar b) {
    switch (m_st.dest) {
        case Dest::Normal:
        case Dest::FontTable:
        case Dest::StyleSheet:
        case Dest::FieldInst:
        case Dest::BookmarkStart:
        case Dest::BookmarkEnd:
        case Dest::Note:
        case Dest::LevelText:
        case Dest::PnBefore:
        case Dest::PnAfter:
            break;
        default:
            return;  // skipped text never reaches a decoder
    }
    if (skipsFallback()) return;
    queueByte(b);
}

void Reader::queueByte(uchar b) {
    switch (m_st.dest) {
        case Dest::LevelText:
        case Dest::PnBefore:
        case Dest::PnAfter:
            // Number texts are decoded by the font of their list level, which may come later.
            appendChar(QChar(b));
            return;
        default:
            break;
    }
    if (m_st.dest == Dest::Normal) {
        if (const SymbolSet set = symbolSet(); set != SymbolSet::None) {
            appendChar(QChar(symbolToUnicode(set, b)));
            return;
        }
    }
    const int cp = codePage();
    if (!m_bytes.isEmpty() && cp != m_bytesCodePage) decodeBytes();
    m_bytesCodePage = cp;
    m_bytes.append(char(b));
}

bool Reader::awaitingTrailByte() const {
    // Counted from the start of the run, since a trail byte may look like a lead byte.
    qsizetype i = 0;
    while (i < m_bytes.size()) i += isLeadByte(m_bytesCodePage, uchar(m_bytes[i])) ? 2 : 1;
    return i > m_bytes.size();
}

void Reader::decodeBytes() {
    if (m_bytes.isEmpty()) return;
    // A lead byte without its trail byte shows as a replacement character, not as nothing.
    const bool cut = awaitingTrailByte();
    const QString text =
        decoder(m_bytesCodePage).decode(QByteArrayView(m_bytes).chopped(cut ? 1 : 0));
    m_bytes.resize(0);
    for (QChar c : text) putChar(c);
    if (cut) putChar(QChar(QChar::ReplacementCharacter));
}

void Reader::textByte(uchar b) {
    // Bytes waiting to be decoded come before this character, unless it is the trail byte of
    // a double-byte character (which is never a semicolon or a brace).
    if (!m_bytes.isEmpty() && b < 0x80 && !awaitingTrailByte()) decodeBytes();
    switch (m_st.dest) {
        case Dest::Skip:
            return;
        case Dest::Pict:
            pictByte(b);
            return;
        case Dest::ColorTable:
            colorTableByte(b);
            return;
        case Dest::FontTable:
        case Dest::StyleSheet:
            if (b == ';') {
                finishTableEntry();
                return;
            }
            break;
        case Dest::LevelText:
            if (b == ';') return;  // the end of the level's text
            break;
        default:
            break;
    }
    if (b == '\t') {
        if (!skipsFallback()) appendChar(QLatin1Char('\t'));
        return;
    }
    if (b < 0x20) return;
    if (b >= 0x80) {
        hexByte(b);
        return;
    }
    if (skipsFallback()) return;
    // A trail byte of a double-byte character may be a plain letter in the file.
    if (!m_bytes.isEmpty() && awaitingTrailByte()) {
        m_bytes.append(char(b));
        return;
    }
    if (m_st.dest == Dest::Normal) {
        if (const SymbolSet set = symbolSet(); set != SymbolSet::None) {
            appendChar(QChar(symbolToUnicode(set, b)));
            return;
        }
    }
    appendChar(QLatin1Char(char(b)));
}

void Reader::appendChar(QChar c) {
    decodeBytes();
    putChar(c);
}

void Reader::putChar(QChar c) {
    switch (m_st.dest) {
        case Dest::Normal:
            // Control characters other than the tab have no place in a document's text (and
            // no way back into a file).
            if (m_st.ch.hidden || (c.unicode() < 0x20 && c != QLatin1Char('\t'))) return;
            if (m_nestTabPending) {
                m_nestTabPending = false;
                m_text.append(QLatin1Char('\t'));
            }
            m_text.append(safeChar(c));
            return;
        case Dest::Note:
            if (!m_st.ch.hidden && m_notes.back().size() < 65536)
                m_notes.back().append(safeChar(c));
            return;
        case Dest::FontTable:
        case Dest::StyleSheet:
        case Dest::FieldInst:
        case Dest::BookmarkStart:
        case Dest::BookmarkEnd:
        case Dest::LevelText:
        case Dest::PnBefore:
        case Dest::PnAfter:
            if (m_destText.size() < 4096) m_destText.append(c);
            return;
        default:
            return;
    }
}

bool Reader::textWord(Word w, int param) {
    switch (w) {
        case wPar:
        case wPage:
        case wSect:
            // A paragraph mark is no fallback of a Unicode character.
            m_ucSkip = 0;
            endParagraph();
            return true;
        case wU: {
            int v = std::clamp(param, -32768, 65535);
            if (v < 0) v += 65536;
            if (m_st.dest == Dest::Normal && v >= 0xF020 && v <= 0xF0FF) {
                // Word writes the characters of symbol fonts in the private-use area.
                if (const SymbolSet set = symbolSet(); set != SymbolSet::None)
                    v = symbolToUnicode(set, v);
            }
            appendChar(QChar(char16_t(v)));
            m_ucSkip = m_st.uc;
            return true;
        }
        case wUc:
            m_st.uc = std::clamp(param, 0, RtfLimits::kMaxUnicodeSkip);
            return true;
        default:
            break;
    }
    const char16_t c = characterOf(w);
    if (c == 0) return false;
    // Like any character, the one of a control word may be the fallback of a \uN before it.
    if (!skipsFallback()) appendChar(QChar(c));
    return true;
}

}  // namespace vasora::documents::rtf
