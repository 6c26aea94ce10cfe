#pragma once

// The column widths of a compiled document's tables. A table must fit the narrowest place it is
// read in: the lab book display beside the model window on a screen of 1366 x 768, whose text is
// about 500 pixels wide. Widths are estimated from the standard advance widths of Arial, the
// documents' face (Liberation Sans has the same), so that compiling gives the same bytes on
// every machine whatever fonts it has.

#include <QList>
#include <QString>
#include <QTextLength>
#include <vector>

namespace vasora::documents {

/// One piece of a table cell's text as the reader sees it.
struct CellPiece {
    QString text;
    bool bold = false;
    bool unbreakable = false;  ///< a tag's text (a button), which never wraps
    bool value = false;        ///< a table cell for a model value, however blank it is now
};
using CellText = std::vector<CellPiece>;

/// The width, in pixels, that tables are made to fit: a lab book's tables of model values the
/// lab book display beside the model window on a screen of 1366 x 768, other tables the help
/// windows (the options help is 640 pixels wide) and the information viewer.
inline constexpr double kValueTableBudget = 470;
inline constexpr double kTextTableBudget = 580;
/// The size of tables' text, in points, a little smaller than the body's so that a table of ten
/// values fits the display; and the padding of their cells, in pixels.
inline constexpr double kTablePointSize = 10;
inline constexpr double kTableCellPadding = 2;
/// The room a value cell keeps for its value: five characters, such as "5500." or "-1000", the
/// most the model window's captions show but for rare ones. Their trailing blanks hang.
inline constexpr const char* kValueRoom = "-1000";

/// The pixel width of `text` in Arial at `pointSize` points, 96 pixels to the inch.
double textWidth(const QString& text, double pointSize, bool bold = false);

/// The column widths for a table of `rows` (each a list of cells) in a body face of `pointSize`
/// and a cell padding of `padding` pixels: each column as wide as its widest cell, and where
/// they do not fit `budget` pixels together, the columns of text narrowed, as far as their
/// longest word, so that their text wraps. Sets `fits` to false when even that is too wide.
QList<QTextLength> columnWidths(const std::vector<std::vector<CellText>>& rows, double pointSize,
                                double padding, double budget, bool& fits);

}  // namespace vasora::documents
