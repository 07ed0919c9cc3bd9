#pragma once
// What the RTF reader puts into the document: paragraphs, held until they
// end (RTF gives a paragraph's properties at its end), and tables, held until
// their last row so that the columns of every row line up in one QTextTable.

#include "exercises/rtf_reader.h"

#include <QColor>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QTextCursor;

namespace tolvi::rtf {

// Words longer than this get a break opportunity (a zero-width space marked
// kRtfSoftBreak) every so many letters: the layout of a line looks for the
// end of the word it stands in, and a word of a million letters would take
// the square of its length to lay out.
inline constexpr qsizetype kLongWord = 200;

// A piece of the paragraph's text in one format, or a picture (an image
// format and the object character).
struct Piece {
    qsizetype start = 0, length = 0;
    QTextCharFormat format;
};

struct Paragraph {
    QTextBlockFormat block;
    QTextCharFormat mark;  // format of an empty paragraph: its height
    QString text;          // the text of all pieces, one after the other
    std::vector<Piece> pieces;
    qsizetype wordLength = 0;  // letters since the last blank

    bool empty() const { return pieces.empty(); }
    // Adds text in a format; a piece of the same format as the last one
    // grows it.
    void add(QStringView text, const QTextCharFormat& format);
    // Adds the pieces of `other`, in their formats.
    void append(const Paragraph& other);

private:
    void addPiece(QStringView text, const QTextCharFormat& format);
};

// Writes `p` at the cursor: into the block where the cursor stands when
// `reuseBlock` (the first paragraph of a document or of a cell), else into a
// new block after it.
void insertParagraph(QTextCursor& cursor, const Paragraph& p, bool reuseBlock);
// Writes the text and pictures of `p` at the cursor.
void insertPieces(QTextCursor& cursor, const Paragraph& p);

// One side of a cell: none, or a line of a width in twips and a colour
// (index in the colour table, -1 automatic).
struct Border {
    bool on = false;
    int width = 0;
    int color = -1;
};

enum Side { Top, Left, Bottom, Right };

struct CellDef {
    int right = 0;  // \cellx: right edge, twips from the margin
    std::array<Border, 4> borders;
    int valign = 0;       // 0 top, 1 middle, 2 bottom
    int background = -1;  // colour index
    bool mergedLeft = false;  // \clmrg: part of the cell on its left
    bool mergedUp = false;    // \clvmrg: part of the cell above
};

struct RowDef {
    int left = 0;  // \trleft
    int gap = 0;   // \trgaph: half the space between cells
    int align = 0; // 0 left, 1 centre, 2 right
    std::vector<CellDef> cells;
};

struct Row;

// A table inside a cell, standing before the cell's paragraph `before`.
struct NestedTable {
    size_t before = 0;
    std::vector<Row> rows;
};

struct Cell {
    std::vector<Paragraph> paragraphs;
    std::vector<NestedTable> tables;  // in the order they stand
};

struct Row {
    RowDef def;
    std::vector<Cell> cells;
};

using ColorLookup = std::function<std::optional<QColor>(int)>;

// Inserts the rows as one table at the cursor, which ends in the block after
// the table. The columns are the edges of all rows together; cells that span
// several of them, or are merged, become one cell; tables in cells become
// tables in the cells. A table too large to lay out as a grid is written as
// paragraphs, its cells separated by tabs.
void insertTable(QTextCursor& cursor, std::vector<Row>& rows, const ColorLookup& colors);

}  // namespace tolvi::rtf
