#include "documents/TableWidths.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vasora::documents {

namespace {

// Advance widths of Arial (and of Liberation Sans, which shares them) in thousandths of an em,
// for the printable ASCII characters from the blank on; other characters are taken as a digit.
constexpr short kRegular[95] = {278,  278, 355, 556, 556, 889, 667, 191,
                                333,  333, 389, 584, 278, 333, 278, 278,  //  !"#$%&'()*+,-./
                                556,  556, 556, 556, 556, 556, 556, 556,
                                556,  556, 278, 278, 584, 584, 584, 556,  // 0-9:;<=>?
                                1015, 667, 667, 722, 722, 667, 611, 778,
                                722,  278, 500, 667, 556, 833, 722, 778,  // @A-O
                                667,  778, 722, 667, 611, 722, 667, 944,
                                667,  667, 611, 278, 278, 278, 469, 556,  // P-Z[\]^_
                                333,  556, 556, 500, 556, 556, 278, 556,
                                556,  222, 222, 500, 222, 833, 556, 556,  // `a-o
                                556,  556, 333, 500, 278, 556, 500, 722,
                                500,  500, 500, 334, 260, 334, 584};  // p-z{|}~
// Bold letters are wider; digits and most signs keep their widths.
constexpr double kBoldFactor = 1.08;
// Hinting at the screen's pixel sizes widens glyphs a little beyond their nominal advances.
constexpr double kHintingSlack = 1.04;
// What a cell adds to its text: the padding on both sides, the border and a pixel of air.
constexpr double kBorderAndAir = 3;

struct Column {
    double natural = 0;    // the widest cell on one line
    double narrowest = 0;  // the longest piece that cannot wrap
};

// The widths a cell asks for: all of it on one line, and its longest piece that cannot wrap (a
// word, or a tag's text with its blanks).
Column measure(const CellText& cell, double pointSize) {
    Column c;
    double word = 0;
    for (const CellPiece& p : cell) {
        if (p.value) {
            // A value never wraps, and its blanks hang at the end of its line.
            const double w = std::max(textWidth(p.text.trimmed(), pointSize, p.bold),
                                      textWidth(QString::fromLatin1(kValueRoom), pointSize));
            c.natural += w;
            c.narrowest = std::max(c.narrowest, word + w);
            word = 0;
            continue;
        }
        for (const QChar ch : p.text) {
            const double w = textWidth(QString(ch), pointSize, p.bold);
            c.natural += w;
            if (ch == QLatin1Char(' ') && !p.unbreakable) {
                word = 0;
                continue;
            }
            word += w;
            c.narrowest = std::max(c.narrowest, word);
        }
    }
    return c;
}

}  // namespace

double textWidth(const QString& text, double pointSize, bool bold) {
    double em = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        const bool ascii = u >= 0x20 && u < 0x7F;
        double w = u == 0x00A0 ? kRegular[0] : ascii ? kRegular[u - 0x20] : kRegular['0' - 0x20];
        if (bold && ch.isLetter()) w *= kBoldFactor;
        em += w;
    }
    return em / 1000 * pointSize * 96 / 72 * kHintingSlack;
}

QList<QTextLength> columnWidths(const std::vector<std::vector<CellText>>& rows, double pointSize,
                                double padding, double tableBudget, bool& fits) {
    std::size_t cols = 0;
    for (const auto& r : rows) cols = std::max(cols, r.size());
    std::vector<Column> col(cols);
    for (const auto& r : rows)
        for (std::size_t c = 0; c < r.size(); ++c) {
            const Column m = measure(r[c], pointSize);
            col[c].natural = std::max(col[c].natural, m.natural);
            col[c].narrowest = std::max(col[c].narrowest, m.narrowest);
        }
    const double extra = 2 * padding + kBorderAndAir;
    std::vector<double> width(cols);
    for (std::size_t c = 0; c < cols; ++c) width[c] = col[c].natural + extra;
    // The table's own border and edges.
    const double budget = tableBudget - 10;
    double total = std::accumulate(width.begin(), width.end(), 0.0);
    // Too wide: the columns that can wrap give up a share of what they could spare, all in the
    // same proportion, so the widest text columns wrap the most.
    if (total > budget) {
        double spare = 0;
        for (std::size_t c = 0; c < cols; ++c) spare += col[c].natural - col[c].narrowest;
        const double share = spare > 0 ? std::min(1.0, (total - budget) / spare) : 0;
        for (std::size_t c = 0; c < cols; ++c)
            width[c] -= share * (col[c].natural - col[c].narrowest);
        total = std::accumulate(width.begin(), width.end(), 0.0);
    }
    fits = total <= budget + 0.5;
    QList<QTextLength> out;
    for (double w : width) out << QTextLength(QTextLength::FixedLength, std::ceil(w));
    return out;
}

}  // namespace vasora::documents
