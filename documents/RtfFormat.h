#pragma once

// The properties that the RTF reader stores in a QTextDocument and the writer reads back. They
// carry what Qt's own formats have no place for: the tag of a run of text, the original bytes of
// pictures and embedded objects, and the cell boundaries of table rows in twips.

#include <QTextFormat>

namespace vasora::documents {

enum RtfProperty : int {
    /// Character format: the tag code 0..99999 of a tag's text.
    kTagCodeProperty = QTextFormat::UserProperty + 100,
    /// Character format: a number that tells one tag from its neighbour when two tags with the
    /// same code touch; unique within a document, never written to a file.
    kTagIdProperty,
    /// Character format (image): the picture's original data and its kind ("png", "jpeg",
    /// "dib", "wmf"), written back unchanged.
    kPictDataProperty,
    kPictKindProperty,
    /// Character format (image): the picture's size in twips as the file gave it.
    kPictGoalWidthProperty,
    kPictGoalHeightProperty,
    /// Character format (image): the picture's own width and height (\picw, \pich).
    kPictWidthProperty,
    kPictHeightProperty,
    /// Character format: the raw RTF group of an embedded object, written back unchanged, and
    /// a number that joins the characters of one object's shown result.
    kObjectRtfProperty,
    kObjectIdProperty,
    /// Table format: the right edges of the columns in twips, as a QList<int>.
    kCellEdgesProperty,
};

/// Limits the reader holds an untrusted file to. A file that breaks one is still shown as far
/// as it could be read, with a message.
struct RtfLimits final {
    /// Deepest nesting of groups; deeper groups are skipped. Mails nest thousands deep; the
    /// stack of group states stays below 3 MB.
    static constexpr int kMaxDepth = 10000;
    /// Longest control word; RTF words are at most 32 letters.
    static constexpr int kMaxWordLength = 32;
    /// Most digits of a control word's parameter; the value is then clamped to 32 bits.
    static constexpr int kMaxParamDigits = 10;
    /// Entries kept in the font, colour and style tables; later entries are ignored.
    static constexpr int kMaxFonts = 1024;
    static constexpr int kMaxColors = 1024;
    static constexpr int kMaxStyles = 1024;
    /// Characters skipped after \uN; larger \ucN values are clamped to this.
    static constexpr int kMaxUnicodeSkip = 8;
    /// Most bytes of one picture's or object's data, and the largest picture side in pixels.
    static constexpr int kMaxPictureBytes = 32 * 1024 * 1024;
    static constexpr int kMaxPictureSide = 8192;
    /// Most columns of a table; further cells of a row are joined into its last cell.
    static constexpr int kMaxTableColumns = 63;
    /// The farthest right edge of a table cell, in twips (100 inches).
    static constexpr int kMaxTableEdge = 100 * 1440;
    /// Most rows of one table; a longer table goes on as a new table right below it. Qt's
    /// tables grow at a cost that rises with their size, so one table of many thousand rows
    /// would take minutes to read.
    static constexpr int kMaxTableRows = 500;
    /// Most pieces a document holds: paragraphs, table cells, pictures and runs of text in a
    /// format of their own. Reading stops there, with a message: a document of this size is no
    /// lab book or information text, and Qt's text document needs about 100 bytes and a
    /// microsecond or two for each piece.
    static constexpr int kMaxPieces = 500000;
};

/// The highest tag code.
constexpr int kMaxTagCode = 99999;

}  // namespace vasora::documents
