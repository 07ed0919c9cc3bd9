#pragma once
// The RTF reader's state and its handlers: rtf_reader.cpp reads the groups
// and control words, rtf_reader_output.cpp turns text and paragraphs into the
// document, rtf_reader_tables.cpp tables, rtf_reader_pictures.cpp pictures,
// rtf_reader_lists.cpp lists.

#include "exercises/rtf_charsets.h"
#include "exercises/rtf_lists.h"
#include "exercises/rtf_table.h"
#include "exercises/rtf_tokenizer.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QImage>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

class QTextDocument;

namespace tolvi::rtf {

// Bounds that keep a damaged or hostile file harmless.
inline constexpr int kMaxDepth = 1000;                         // nested groups with a state of their own
inline constexpr qsizetype kMaxPictureBytes = 40 << 20;        // one picture's data
// Pictures are decoded at most at this many pixels (a 2 560 x 1 600 screen),
// scaled down while they are decoded when they are larger.
inline constexpr qint64 kMaxPicturePixels = 2560LL * 1600;
// Larger pictures than this are not decoded whole even to be scaled down:
// JPEG pictures, which are scaled while they are decoded, excepted.
inline constexpr qint64 kMaxSourcePixels = 40LL << 20;
// Pixels of all the pictures of a text: this many, or four for each byte of
// the file when that is more.
inline constexpr qint64 kMinDocumentPixels = 16LL << 20;
inline constexpr int kMaxFieldInstruction = 4096;  // characters
// Paragraphs longer than this are laid out as several blocks, cut where
// the format changes.
inline constexpr qsizetype kMaxBlockText = 65536;
// Groups of a text whose groups are closer than ten bytes apart, on average.
inline constexpr qsizetype kMaxDensePieces = 500000;
inline constexpr int kMaxFontName = 256;
inline constexpr int kMaxTableEntries = 32768;  // fonts or colours
inline constexpr int kMaxTableDepth = 16;       // tables in cells of tables ...
// Largest shown size of a picture: an A4 page's height at 96 dots per inch.
inline constexpr double kMaxPictureShown = 1123;

// Pixels per twip: documents are laid out at 96 dots per inch.
inline constexpr double kTwipsPerPixel = 15.0;

struct FontEntry {
    QString family;
    Encoding encoding;
};

// --- Reader state ----------------------------------------------------------

enum class Destination {
    Text,        // the document's text
    Skip,        // ignored, groups only counted
    FontTable,
    ColorTable,
    Picture,
    ShapeInstructions,  // drawing object: text ignored, pictures kept
    FieldInstruction,   // \fldinst: the instruction's text is kept aside
    ListTable,          // \listtable: the levels of each list
    ListLevelText,      // \leveltext of a level
    ListOverrides,      // \listoverridetable: the list each \ls stands for
};

enum class Script { None, Super, Sub };

struct CharState {
    int font = -1;  // index in the font table, -1 for the default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int color = -1;      // colour table index; -1 or an automatic entry: automatic
    int highlight = -1;  // colour table index; -1: none
    Script script = Script::None;
    int shift = 0;        // \up (positive) or \dn (negative), half-points
    int shiftedSize = 0;  // \updnprop, 0 when not given
    int field = -1;       // index of the field instruction whose result this is
    int noteMark = 0;     // a footnote's mark (\chftn): the note's number
    bool listMark = false;  // text of a list item's mark (\listtext), kept by \plain

    bool operator==(const CharState&) const = default;
};

enum class Align { Left, Center, Right, Justify };

struct ParaState {
    Align align = Align::Left;
    int left = 0, right = 0, first = 0;  // twips
    int before = 0, after = 0;            // twips
    int line = 0;                         // \sl, twips or 240ths of a line
    bool lineMultiple = false;            // \slmult1
    bool inTable = false;                 // \intbl
    bool rightToLeft = false;             // \rtlpar
    bool alignGiven = false;              // \ql \qc \qr \qj given
    int depth = 0;                        // \itap: 2 in a table in a cell, 0 not given
    int list = 0;                         // \ls: the list of the paragraph, 0 none
    int level = 0;                        // \ilvl
};

struct GroupState {
    Destination dest = Destination::Text;
    CharState ch;
    ParaState para;
    int uc = 1;  // bytes of fallback after \uN
    bool listText = false;  // \listtext: a list item's bullet or number
    int shapeDepth = 0;     // the stack depth of the shape this group is in, 0: none
    qsizetype start = 0;    // where its '{' stands in the file
    bool keepRaw = false;   // a header or footer: kept as the file gives it
};

struct Picture {
    QByteArray kind;   // the word naming its format: "pngblip", "wmetafile", ...
    QByteArray words;  // its control words, as the file gave them
    QByteArray data;
    int nibble = -1;  // pending high half of a hex byte
    bool tooLarge = false;
    int goalWidth = 0, goalHeight = 0;  // twips
    int scaleX = 100, scaleY = 100;     // percent
};

// A BMP file of a device-independent bitmap; the largest bitmap a Windows
// metafile draws, as a BMP file. Empty when there is none.
QByteArray bmpFromDib(const QByteArray& dib);
QByteArray bmpFromWmf(const QByteArray& wmf);

// Which border the \brdr words describe.
enum class BorderTarget { None, Cell, Row };

class RtfReader {
public:
    RtfReader(const QByteArray& rtf, QTextDocument& document)
        : tokens_(rtf), doc_(document), cursor_(&document),
          documentPixels_(std::max<qint64>(kMinDocumentPixels, 4 * qint64(rtf.size())))
    {
    }

    const RtfReadNotes& report() const { return report_; }

    bool run(QString* error);

private:
    // Groups
    void openGroup();
    void closeGroup();
    GroupState& state() { return stack_.back(); }

    // Handlers
    void controlWord(const Token& t);
    void controlSymbol(unsigned char c);
    void textByte(unsigned char b);
    void hexByte(unsigned char b);
    void unicodeChar(int code);
    void fontTableWord(const Token& t);
    bool destinationWord(std::string_view w);
    bool characterWord(std::string_view w, bool hasParam, int param);
    bool paragraphWord(std::string_view w, bool hasParam, int param);
    bool tableWord(std::string_view w, bool hasParam, int param);
    void listTableWord(const Token& t);
    void listTextByte(unsigned char b);
    void commitLevelText();
    void applyList(Paragraph& p, const ParaState& state);

    // Text
    void appendText(QChar c);
    void decodeBytes();
    void flushText();
    void addHiddenText(const QString& text);
    Encoding currentEncoding() const;
    QTextCharFormat charFormat();
    QTextCharFormat makeCharFormat() const;
    QTextBlockFormat blockFormat() const;

    // Paragraphs and tables
    void endParagraph();
    // \cell and \row end a cell and a row of the outer table (depth 1),
    // \nestcell and \nestrow those of a table in a cell (depth 2 or more).
    void endCell(int depth = 1);
    void endRow(int depth = 1);
    int paragraphDepth() const;
    void setTableDepth(int depth);
    void enterNestedTable();
    void leaveNestedTable();
    void startRow();
    Cell& currentCell();
    void finishTable();
    void finishPicture();
    void addPictureNotShown(const Picture& p);
    void startFootnote();
    void endFootnote();
    void pageBreak();
    void footnoteMark();
    void fieldResult();
    void commitFont();
    Border* border(int side);

    Tokenizer tokens_;
    QTextDocument& doc_;
    QTextCursor cursor_;
    std::vector<GroupState> stack_;
    // Groups nested deeper than kMaxDepth share the state of the deepest
    // one; only their destination is kept, so that a skipped group ends.
    std::vector<Destination> deepGroups_;

    Decoder decoder_;
    int documentCodePage_ = 1252;
    bool codePageGiven_ = false;
    QByteArray bytes_;  // text bytes of a multi-byte code page, not yet decoded
    int bytesCodePage_ = 0;
    QString pending_;   // text waiting to be added with the current format
    Paragraph para_;    // the paragraph being read
    bool freshBlock_ = true;      // the cursor's block is still to be written
    int fallbackToSkip_ = 0;      // bytes of \uN fallback still to skip
    bool starPending_ = false;    // "\*" seen: the next control word is an optional destination

    QHash<int, FontEntry> fonts_;
    int defaultFont_ = -1;
    int fontNumber_ = -1;  // entry of the font table being read
    QString fontName_;
    QByteArray fontNameBytes_;
    int fontCharset_ = -1;
    int fontCodePage_ = -1;
    bool fontOpen_ = false;

    QList<std::optional<QColor>> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    Picture picture_;
    int imageCount_ = 0;
    qint64 picturePixels_ = 0;
    qint64 documentPixels_;  // the budget of all pictures
    // A shape holds its picture twice (LibreOffice writes \sp pib and
    // \sp fillBlip): the depth of the shape whose picture is taken.
    int shapeWithPicture_ = 0;
    RtfReadNotes report_;

    // The last character formats made, with the states they were made of:
    // text of the same look shares one format.
    std::vector<std::pair<CharState, QTextCharFormat>> formats_;

    // Fields: the instruction being read, and those of the results read.
    QString fieldInstruction_;
    QStringList fields_;

    // Footnotes: their paragraphs, put at the end of the text, and the
    // paragraph of the text the note stands in, put aside while it is read.
    std::vector<Paragraph> notes_;
    std::vector<Paragraph> outerParagraphs_;
    int noteCount_ = 0;
    // The notes being read: the depth of their group and their number.
    std::vector<std::pair<int, int>> openNotes_;
    bool pageBreakPending_ = false;
    bool paragraphGoesOn_ = false;  // the paragraph being read was cut
    bool hiddenParagraphs_ = false;  // paragraphs wholly hidden were read
    // Lists: the levels of each list of the list table, the lists of the
    // \listid numbers and of the \ls numbers, and the numbers each list's
    // items have reached.
    std::vector<ListLevels> lists_;
    QHash<int, int> listIds_;    // \listid -> index in lists_
    QHash<int, int> overrides_;  // \ls -> \listid
    std::vector<ListCounter> listCounters_;
    int listLevel_ = kListLevels;  // the level being read, kListLevels: none
    bool listOpen_ = false;        // a list of the table is being read
    QString levelText_;
    int overrideList_ = 0, overrideNumber_ = 0;
    bool overrideListGiven_ = false, overrideNumberGiven_ = false;
    // Headers and footers, as the file gives them (they are not shown).
    QByteArray headers_;

    // Tables: the row definition being read (as RTF keeps it from row to
    // row), the cell being defined, and the rows of the table being read.
    RowDef rowDef_;
    CellDef cellDef_;
    std::array<Border, 6> rowBorders_;  // \trbrdr t l b r h v
    std::array<bool, 4> cellBorderGiven_{};
    BorderTarget borderTarget_ = BorderTarget::None;
    int borderSide_ = 0;
    std::vector<Row> rows_;
    bool rowOpen_ = false;
    bool cellOpen_ = false;
    // The tables around the one being read, when it stands in a cell.
    struct TableLevel {
        RowDef rowDef;
        CellDef cellDef;
        std::array<Border, 6> rowBorders;
        std::array<bool, 4> cellBorderGiven;
        std::vector<Row> rows;
        bool rowOpen, cellOpen;
    };
    std::vector<TableLevel> outerTables_;
};


}  // namespace tolvi::rtf
