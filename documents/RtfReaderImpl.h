#pragma once

// The inner workings of the RTF reader, shared by its source files and used nowhere else:
// RtfReader.cpp (groups, control words, paragraphs), RtfReaderText.cpp (characters and code
// pages), RtfReaderFormat.cpp (formatting and the header tables), RtfReaderTables.cpp,
// RtfReaderObjects.cpp (pictures and embedded objects), RtfReaderFields.cpp (fields and tag
// bookmarks), RtfReaderNotes.cpp (footnotes and text boxes) and RtfReaderLists.cpp (list and
// paragraph numbers).

#include "core/Twips.h"
#include "documents/RtfCodePages.h"
#include "documents/RtfPicture.h"
#include "documents/RtfReader.h"
#include "documents/RtfWords.h"

#include <QList>
#include <QStringDecoder>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextOption>
#include <array>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

class QTextTable;

namespace vasora::documents::rtf {

/// The value of a hexadecimal digit; -1 for any other character.
int hexValue(char c);

/// Replaces each half of a surrogate pair that stands alone by the replacement character.
void replaceLoneSurrogates(QString& text);

/// The character a control word stands for (\tab, \emdash, ...); 0 for the other words.
char16_t characterOf(Word w);

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
    Note,          // a footnote's text, shown at the end of the document
    ListTable,     // the list table, and the parts of one list
    ListOverride,  // the table that gives lists their \ls numbers
    LevelText,     // the number text of a list level
    PnDef,         // the paragraph numbering of old files
    PnBefore,      // its text before and after the number
    PnAfter,
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
    int list = 0;       // \ls: the list the paragraph belongs to; 0 none
    int listLevel = 0;  // \ilvl
    int pn = -1;        // the paragraph numbering of an old file, an index into Reader::m_pns
    bool operator==(const ParaState&) const = default;
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
    bool nestProps = false;   // inside the row properties of a nested table
    bool drawing = false;     // inside an old drawing object, outside its text box
    bool textBox = false;     // inside the text of a drawing's text box
    quint8 listGroup = 0;     // 1: this group is a \list, 2: a \listlevel
};

struct ListLevel {
    int format = 0;  // \levelnfc: 0 decimal, 1 and 2 roman, 3 and 4 letters, 23 bullet, 255 none
    int start = 1;
    int follow = 0;  // after the number: 0 a tab, 1 a blank, 2 nothing
    int font = -1;
    QString text;  // \leveltext without its length: characters below 9 stand for numbers
};

struct PnDef {
    int level = 0;   // 1..9 outline levels, 10 body text, 11 bullet
    int format = 0;  // as ListLevel::format
    int start = 1;
    int font = -1;
    QString before, after;
    bool operator==(const PnDef&) const = default;
};

struct FontEntry {
    QString family;
    int codePage = 0;  // 0: the document's
    SymbolSet symbols = SymbolSet::None;
};

struct CellDef {
    int edge = 0;
    bool hFirst = false, hMerge = false, vFirst = false, vMerge = false;
};

struct ObjectInfo {
    qsizetype groupStart = 0;
    int resultStart = -1;
    int width = 0, height = 0;  // twips
    // Its result reaches beyond its place: paragraphs, cells, or what belongs to the whole
    // document (tables of the header, code pages, bookmarks, notes). Such an object cannot be
    // written back byte for byte where it stood.
    bool spreads = false;
};

class Reader final {
  public:
    Reader(const QByteArray& data, QTextDocument& doc, RtfReadReport& report);
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    void run();

  private:
    // Input (RtfReader.cpp; characters in RtfReaderText.cpp).
    bool atEnd() const { return m_at >= m_data.size(); }
    uchar peek() const { return uchar(m_data[m_at]); }
    void problem(const QString& what);
    void openGroup();
    void closeGroup();
    void control();
    // A control word with its parameter, and a control symbol: the two kinds of control().
    void controlWord();
    void controlSymbol(uchar c);
    void dispatch(std::string_view name, bool hasParam, int param);
    /// A word read inside a destination other than the text; false when the text's own
    /// handling goes on with it.
    bool destinationWord(Word w, int param);
    void textByte(uchar b);
    void appendChar(QChar c);
    void putChar(QChar c);
    void hexByte(uchar b);
    void queueByte(uchar b);
    void decodeBytes();
    bool awaitingTrailByte() const;
    bool skipsFallback();
    bool textWord(Word w, int param);
    QStringDecoder& decoder(int codePage);
    int codePage() const;
    SymbolSet symbolSet();

    // Output (RtfReader.cpp).
    void flush();
    void place();
    void endParagraph();
    bool roomFor(int pieces);

    // Formatting and the header tables (RtfReaderFormat.cpp).
    QTextCharFormat charFormat();
    QTextCharFormat makeCharFormat() const;
    QTextBlockFormat blockFormat() const;
    const QTextBlockFormat& cachedBlockFormat();
    void applyBlockFormat();
    void startHeaderTable(Word w);
    void headerWord(Word w, int param);
    bool formatWord(Word w, bool hasParam, int param);
    // The three kinds of formatWord: a character's, a paragraph's, the whole document's.
    bool charWord(Word w, bool hasParam, int param);
    bool paragraphWord(Word w, bool hasParam, int param);
    bool documentWord(Word w, int param);
    void colorTableByte(uchar b);
    void finishTableEntry();

    // Tables (RtfReaderTables.cpp).
    bool tableWord(Word w, int param);
    void beginRow();
    void moveToCell(int row, int column);
    void nextCell();
    void ensureCell();
    void finishRow();
    void mergeCells(int row, int column, int rows, int columns);
    void endTable();

    // Pictures and embedded objects (RtfReaderObjects.cpp).
    void skipBinary(qint64 n);
    void pictWord(Word w, int param);
    void pictByte(uchar b);
    bool objectWord(Word w, int param);
    void noteSpreadingWord(Word w);
    void objectBodyWord(Word w, bool star, int param);
    void insertPicture();
    void finishObject(const State& group, qsizetype closeAt);

    // Fields and tag bookmarks (RtfReaderFields.cpp).
    bool fieldWord(Word w);
    void finishFieldInst();
    void finishBookmark(bool start);

    // Footnotes, text boxes and nested tables' rows (RtfReaderNotes.cpp).
    bool noteWord(Word w);
    void noteInside(Word w);
    void skippedWord(Word w, bool star, int param);
    void startTextBox();
    void finishTextBox();
    void appendNotes();
    bool paragraphHasText() const;

    // Lists and paragraph numbers (RtfReaderLists.cpp).
    bool listWord(Word w, int param);
    void listInside(Word w, int param);
    // The two kinds of listInside: the list table's words, and an old file's paragraph numbers.
    void listTableWord(Word w, int param);
    void oldNumberWord(Word w, int param);
    void finishListGroup(const State& closed);
    void numberParagraph(bool withText);
    QString numberText(const QString& pattern, int font, const std::array<int, 9>& counts,
                       const std::vector<ListLevel>* levels);

    const QByteArray& m_data;
    QTextDocument& m_doc;
    RtfReadReport& m_report;
    QTextCursor m_cur;
    qsizetype m_at = 0;
    qsizetype m_wordStart = 0;  // where the control word being read begins

    std::vector<State> m_stack;
    State m_st;
    int m_overflow = 0;  // groups opened beyond the depth limit, still to be closed
    bool m_star = false;
    bool m_done = false;
    bool m_full = false;  // the document holds as many pieces as it may
    qint64 m_pieces = 0;
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
    // Bytes of text waiting to be decoded together, so that the two bytes of a character of
    // an East Asian code page stay together; all of code page m_bytesCodePage.
    QByteArray m_bytes;
    int m_bytesCodePage = 0;
    // The symbol set of the font m_symbolFont, the last one asked about.
    int m_symbolFont = -2;
    SymbolSet m_symbolSet = SymbolSet::None;
    int m_pendingTab = 0;

    std::vector<QString> m_notes;
    int m_noteNumber = 0;
    bool m_nestTabPending = false;  // a nested cell ended; a tab goes before what comes next

    std::map<int, std::vector<ListLevel>> m_lists;  // by \listid
    std::vector<ListLevel> m_listBuild;
    ListLevel m_levelBuild;
    int m_listIdBuild = 0;
    std::map<int, int> m_listOfOverride;  // \ls -> \listid
    int m_overrideListId = 0;
    std::map<int, std::array<int, 9>> m_listCounts;  // by \ls; 0: not counted yet
    std::vector<PnDef> m_pns;
    PnDef m_pnBuild;
    int m_pnLast = -1;  // the numbering of the last numbered paragraph, and its count
    int m_pnCount = 0;
    bool m_paraNumbered = false;     // the paragraph's number is counted
    bool m_paraHasListText = false;  // the file gave the paragraph's number text itself

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
    } m_formatKey;
    QTextCharFormat m_format;
    bool m_formatValid = false;
    // The block format of the current paragraph state, and the state whose format the block
    // at the cursor has (when known): most paragraphs repeat the one before.
    QTextBlockFormat m_blockFormat;
    ParaState m_blockFormatOf;
    bool m_blockFormatValid = false;
    ParaState m_blockAtCursor;
    bool m_blockAtCursorKnown = false;

    RtfPicture m_pict;
    int m_pictHigh = -1;
    bool m_pictFull = false;

    std::map<int, ObjectInfo> m_objects;
    int m_objectSerial = 0;

    std::vector<CellDef> m_rowDef;
    CellDef m_cellDef;
    QTextTable* m_table = nullptr;
    int m_tableRows = 0;  // rows in use; the table may hold a few more, still empty
    bool m_rowOpen = false;
    int m_row = -1;
    int m_cellIndex = 0;
    int m_cellsInRow = 0;
    std::vector<int> m_vStart;
};

}  // namespace vasora::documents::rtf
