#pragma once

// What a table button of the lab book does, on the document itself: the lab book display's tag
// event and the headless play of vasora-rtf both click buttons through here, so a book played
// without windows holds exactly what the learner would have got.

#include <QString>
#include <vector>

#include "documents/Tags.h"

class QTextDocument;

namespace vasora::labbook {

/// One cell a button visited.
struct CellVisit {
    int code = 0;
    QString text;  ///< an output cell's new text, an input cell's applied text, a plot cell's
};

/// What one click of a table button did.
struct TableClick {
    int table = 0;                 ///< the button's table digit; 8 for the plot table
    QString name;                  ///< the text of the start marker the walk stopped at, trimmed
    int outputs = 0;               ///< output cells filled
    int inputs = 0;                ///< input cells applied
    int plotCells = 0;             ///< cells loaded into the chart window
    std::vector<CellVisit> cells;  ///< in the order visited: from the button upwards
    bool plot() const { return table == 8; }
};

/// An output cell's text for a caption of the model window: without leading and trailing
/// blanks, cut to 6 characters, padded with blanks to 7.
QString cellText(const QString& caption);

/// Clicks the table button `button` (a kind-4 tag of `doc`). A button of table T walks the
/// tags backward from itself to the nearest table start marker: each output cell of table T
/// gets the model window's value, each input cell of table T is applied to the model, bottom to
/// top, and cells of other tables are passed over. The plot-table button (T = 8) instead walks
/// back to the plot table's start marker and loads every cell into the chart window, the cell
/// nearest the button into txtZ(10), the one before it into txtY(10), then txtX(10), txtZ(9)
/// and so on; a twelfth row gives "Plot layout error". Messages go through the engine's view.
TableClick clickTableButton(QTextDocument& doc, const documents::TagSpan& button);

/// The message of a plot table with more than eleven rows.
inline constexpr const char* kPlotLayoutError = "Plot layout error";

}  // namespace vasora::labbook
