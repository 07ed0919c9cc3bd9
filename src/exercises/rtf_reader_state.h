#pragma once
// The RTF reader's state and its handlers: rtf_reader.cpp reads the groups
// and control words, rtf_reader_output.cpp turns text, paragraphs, tables
// and pictures into the document.

#include "exercises/rtf_charsets.h"
#include "exercises/rtf_table.h"
#include "exercises/rtf_tokenizer.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include <array>
#include <optional>
#include <string_view>
#include <vector>

class QTextDocument;

namespace tolvi::rtf {

// Bounds that keep a damaged or hostile file harmless.
inline constexpr int kMaxDepth = 1000;                         // nested groups with a state of their own
inline constexpr qsizetype kMaxPictureBytes = 16 << 20;        // one picture's data
inline constexpr qint64 kMaxPicturePixels = 4096LL * 4096;     // one decoded picture
inline constexpr qint64 kMaxDocumentPixels = 4 * kMaxPicturePixels;  // all of them
inline constexpr int kMaxFontName = 256;
inline constexpr int kMaxTableEntries = 32768;  // fonts or colours
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
};

enum class Align { Left, Center, Right, Justify };

struct ParaState {
    Align align = Align::Left;
    int left = 0, right = 0, first = 0;  // twips
    int before = 0, after = 0;            // twips
    int line = 0;                         // \sl, twips or 240ths of a line
    bool lineMultiple = false;            // \slmult1
    bool inTable = false;                 // \intbl
};

struct GroupState {
    Destination dest = Destination::Text;
    CharState ch;
    ParaState para;
    int uc = 1;  // bytes of fallback after \uN
};

enum class PictureKind { None, Png, Jpeg, Other };

struct Picture {
    PictureKind kind = PictureKind::None;
    QByteArray data;
    int nibble = -1;  // pending high half of a hex byte
    bool tooLarge = false;
    int goalWidth = 0, goalHeight = 0;  // twips
    int scaleX = 100, scaleY = 100;     // percent
};

// Which border the \brdr words describe.
enum class BorderTarget { None, Cell, Row };

class RtfReader {
public:
    RtfReader(const QByteArray& rtf, QTextDocument& document)
        : tokens_(rtf), doc_(document), cursor_(&document)
    {
    }

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

    // Text
    void appendText(QChar c);
    void decodeBytes();
    void flushText();
    Encoding currentEncoding() const;
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;

    // Paragraphs and tables
    void endParagraph();
    void endCell();
    void endRow();
    void startRow();
    Cell& currentCell();
    void finishTable();
    void finishPicture();
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
    bool nestedCellPending_ = false;  // a nested cell ended: a tab goes before the next text
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
};


}  // namespace tolvi::rtf
