#include "exercises/rtf_table.h"

#include <QTextCursor>
#include <QTextImageFormat>
#include <QTextLength>
#include <QTextTable>
#include <QTextTableCellFormat>
#include <QTextTableFormat>

#include <algorithm>

namespace tolvi::rtf {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kMaxColumns = 63;           // as many as Word allows
constexpr qsizetype kMaxCells = 20000;    // of one table laid out as a grid
constexpr qsizetype kMaxMergeWork = 20000000;  // merges times cells
constexpr int kEdgeBound = 1 << 20;       // twips: beyond any page
constexpr int kDefaultCellWidth = 1440;   // an inch, for cells without \cellx

// A cell of the table: the columns it spans in its first row, and the
// rows it covers.
struct Span {
    int row = 0;
    int first = 0, last = 0;  // columns [first, last)
    int rows = 1;
    Cell* content = nullptr;
    const CellDef* def = nullptr;
};

void appendCell(Cell& to, Cell& from)
{
    size_t table = 0;
    for (size_t i = 0; i <= from.paragraphs.size(); ++i) {
        for (; table < from.tables.size() && from.tables[table].before <= i; ++table)
            to.tables.push_back(NestedTable{to.paragraphs.size(), std::move(from.tables[table].rows)});
        if (i < from.paragraphs.size() && !from.paragraphs[i].empty())
            to.paragraphs.push_back(std::move(from.paragraphs[i]));
    }
    from.paragraphs.clear();
    from.tables.clear();
}

// Rows as paragraphs, cells separated by tabs: for tables no grid can hold.
void insertAsParagraphs(QTextCursor& cursor, std::vector<Row>& rows)
{
    for (Row& row : rows) {
        Paragraph line;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            std::vector<Paragraph>& ps = row.cells[c].paragraphs;
            size_t table = 0;
            for (size_t i = 0; i < ps.size(); ++i) {
                for (; table < row.cells[c].tables.size() && row.cells[c].tables[table].before <= i; ++table) {
                    // A table in the cell: its rows as lines of their own.
                    insertParagraph(cursor, line, false);
                    line = Paragraph{};
                    insertAsParagraphs(cursor, row.cells[c].tables[table].rows);
                }
                if (i > 0) {
                    insertParagraph(cursor, line, false);
                    line = Paragraph{};
                }
                line.block = ps[i].block;
                line.mark = ps[i].mark;
                line.append(ps[i]);
            }
            for (; table < row.cells[c].tables.size(); ++table) {
                insertParagraph(cursor, line, false);
                line = Paragraph{};
                insertAsParagraphs(cursor, row.cells[c].tables[table].rows);
            }
            if (c + 1 < row.cells.size())
                line.add(QStringLiteral("\t"), line.mark);
        }
        insertParagraph(cursor, line, false);
    }
}

QTextTableCellFormat cellFormat(const Span& s, const RowDef& def, const ColorLookup& colors,
                                const QTextCharFormat& mark)
{
    QTextTableCellFormat f;
    f.merge(mark);
    const double gap = std::clamp(def.gap, 0, 1440) / kTwipsPerPixel;
    f.setLeftPadding(gap);
    f.setRightPadding(gap);
    f.setTopPadding(0);
    f.setBottomPadding(0);
    if (!s.def)
        return f;
    const CellDef& d = *s.def;
    switch (d.valign) {
    case 1: f.setVerticalAlignment(QTextCharFormat::AlignMiddle); break;
    case 2: f.setVerticalAlignment(QTextCharFormat::AlignBottom); break;
    default: f.setVerticalAlignment(QTextCharFormat::AlignTop); break;
    }
    if (d.background >= 0)
        if (const auto c = colors(d.background))
            f.setBackground(*c);
    for (int side = Top; side <= Right; ++side) {
        const Border& b = d.borders[side];
        const double width = b.on ? std::clamp(b.width / kTwipsPerPixel, 1.0, 10.0) : 0.0;
        QBrush brush(Qt::black);
        if (b.color >= 0)
            if (const auto c = colors(b.color))
                brush = QBrush(*c);
        const auto style = b.on ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None;
        switch (side) {
        case Top:
            f.setTopBorder(width);
            f.setTopBorderStyle(style);
            f.setTopBorderBrush(brush);
            break;
        case Left:
            f.setLeftBorder(width);
            f.setLeftBorderStyle(style);
            f.setLeftBorderBrush(brush);
            break;
        case Bottom:
            f.setBottomBorder(width);
            f.setBottomBorderStyle(style);
            f.setBottomBorderBrush(brush);
            break;
        default:
            f.setRightBorder(width);
            f.setRightBorderStyle(style);
            f.setRightBorderBrush(brush);
            break;
        }
    }
    return f;
}

}  // namespace

void Paragraph::addPiece(QStringView t, const QTextCharFormat& format)
{
    if (t.isEmpty())
        return;
    const qsizetype start = text.size();
    text.append(t);
    if (!pieces.empty() && !format.isImageFormat() && !pieces.back().format.isImageFormat()
        && pieces.back().format == format) {
        pieces.back().length += t.size();
        return;
    }
    pieces.push_back(Piece{start, t.size(), format});
}

void Paragraph::add(QStringView t, const QTextCharFormat& format)
{
    if (format.isImageFormat() || format.boolProperty(kRtfSoftBreak)) {
        wordLength = 0;
        addPiece(t, format);
        return;
    }
    if (format.hasProperty(kRtfHiddenText)) {
        addPiece(t, format);  // not shown: the word goes on
        return;
    }
    qsizetype from = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t u = t[i].unicode();
        if (u == u' ' || u == u'\t' || u == 0x2028 || u == 0x200B || u == u'-' || t[i].isSpace()) {
            wordLength = 0;
            continue;
        }
        if (t[i].isLowSurrogate() || ++wordLength < kLongWord)
            continue;
        addPiece(t.sliced(from, i + 1 - from), format);
        from = i + 1;
        QTextCharFormat soft = format;
        soft.setProperty(kRtfSoftBreak, true);
        addPiece(u"\u200B", soft);
        wordLength = 0;
    }
    addPiece(t.sliced(from), format);
}

void Paragraph::append(const Paragraph& other)
{
    for (const Piece& piece : other.pieces)
        addPiece(QStringView(other.text).sliced(piece.start, piece.length), piece.format);
    wordLength = other.wordLength;
}

void insertPieces(QTextCursor& cursor, const Paragraph& p)
{
    for (const Piece& piece : p.pieces) {
        if (piece.format.isImageFormat())
            cursor.insertImage(piece.format.toImageFormat());
        else
            cursor.insertText(p.text.mid(piece.start, piece.length), piece.format);
    }
}

void insertParagraph(QTextCursor& cursor, const Paragraph& p, bool reuseBlock)
{
    if (reuseBlock) {
        cursor.setBlockFormat(p.block);
        if (p.empty())
            cursor.setBlockCharFormat(p.mark);  // gives an empty line its height
    } else {
        cursor.insertBlock(p.block, p.empty() ? p.mark : QTextCharFormat());
    }
    insertPieces(cursor, p);
    if (p.block.boolProperty(kRtfHiddenParagraph))
        cursor.block().setVisible(false);
}

void insertTable(QTextCursor& cursor, std::vector<Row>& rows, const ColorLookup& colors)
{
    std::erase_if(rows, [](const Row& r) { return r.cells.empty(); });
    if (rows.empty())
        return;

    // The edges of every row's cells, in twips; together they are the
    // columns of the grid.
    std::vector<std::vector<int>> edges(rows.size());
    std::vector<int> all;
    size_t widest = 0;
    for (size_t r = 0; r < rows.size(); ++r) {
        const Row& row = rows[r];
        std::vector<int>& e = edges[r];
        int x = std::clamp(row.def.left, -kEdgeBound, kEdgeBound);
        e.push_back(x);
        for (size_t i = 0; i < row.cells.size(); ++i) {
            int right = i < row.def.cells.size() ? std::clamp(row.def.cells[i].right, -kEdgeBound, kEdgeBound)
                                                 : x + kDefaultCellWidth;
            right = std::max(right, x + 1);  // edges only go right
            e.push_back(right);
            x = right;
        }
        all.insert(all.end(), e.begin(), e.end());
        widest = std::max(widest, row.cells.size());
    }
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    const bool grid = all.size() - 1 <= size_t(kMaxColumns);
    const int columns = grid ? int(all.size()) - 1 : int(std::min<size_t>(widest, kMaxColumns));
    if (qsizetype(rows.size()) * columns > kMaxCells) {
        insertAsParagraphs(cursor, rows);
        return;
    }

    // Cells on the grid; merged cells join the cell they belong to.
    const int rowCount = int(rows.size());
    std::vector<Span> spans;
    std::vector<int> owner(size_t(rowCount) * columns, -1);
    auto column = [&](int x) { return int(std::lower_bound(all.begin(), all.end(), x) - all.begin()); };
    for (int r = 0; r < rowCount; ++r) {
        Row& row = rows[r];
        int previous = -1;  // span of the cell on the left in this row
        for (size_t i = 0; i < row.cells.size(); ++i) {
            const CellDef* def = i < row.def.cells.size() ? &row.def.cells[i] : nullptr;
            int first = grid ? column(edges[r][i]) : std::min(int(i), columns - 1);
            int last = grid ? column(edges[r][i + 1]) : first + 1;
            if (!grid && int(i) >= columns) {
                appendCell(*spans[previous].content, row.cells[i]);  // beyond the last column
                continue;
            }
            if (def && def->mergedLeft && previous >= 0) {
                Span& left = spans[previous];
                if (left.row == r) {
                    for (int c = left.last; c < last; ++c)
                        owner[size_t(r) * columns + c] = previous;
                    left.last = last;
                    appendCell(*left.content, row.cells[i]);
                    continue;
                }
            }
            if (def && def->mergedUp && r > 0) {
                const int above = owner[size_t(r - 1) * columns + first];
                if (above >= 0) {
                    Span& anchor = spans[above];
                    if (anchor.first == first && anchor.last == last && anchor.row + anchor.rows == r) {
                        ++anchor.rows;
                        for (int c = first; c < last; ++c)
                            owner[size_t(r) * columns + c] = above;
                        appendCell(*anchor.content, row.cells[i]);
                        previous = above;
                        continue;
                    }
                }
            }
            Span s;
            s.row = r;
            s.first = first;
            s.last = last;
            s.content = &row.cells[i];
            s.def = def;
            previous = int(spans.size());
            for (int c = first; c < last; ++c)
                owner[size_t(r) * columns + c] = previous;
            spans.push_back(s);
        }
    }

    QTextTableFormat format;
    format.setBorder(0);
    // Lines between cells drawn once; Qt does not draw them so for a table
    // in a cell of a table, whose cells then draw their own.
    format.setBorderCollapse(!cursor.currentTable());
    format.setCellSpacing(0);
    format.setCellPadding(0);
    const RowDef& first = rows.front().def;
    if (first.align == 1)
        format.setAlignment(Qt::AlignHCenter);
    else if (first.align == 2)
        format.setAlignment(Qt::AlignRight);
    else if (first.left > 0)
        format.setLeftMargin(std::min(first.left, 31680) / kTwipsPerPixel);
    QList<QTextLength> widths;
    if (grid) {
        for (int c = 0; c < columns; ++c)
            widths << QTextLength(QTextLength::FixedLength, double(all[c + 1] - all[c]) / kTwipsPerPixel);
    } else {
        for (int c = 0; c < columns; ++c)
            widths << QTextLength(QTextLength::VariableLength, 0);
    }
    format.setColumnWidthConstraints(widths);

    QTextTable* table = cursor.insertTable(rowCount, columns, format);
    qsizetype merges = 0;
    for (const Span& s : spans)
        if (s.rows > 1 || s.last - s.first > 1)
            ++merges;
    if (merges * qsizetype(rowCount) * columns <= kMaxMergeWork) {
        for (const Span& s : spans)
            if (s.rows > 1 || s.last - s.first > 1)
                table->mergeCells(s.row, s.first, s.rows, s.last - s.first);
    }
    for (const Span& s : spans) {
        QTextTableCell cell = table->cellAt(s.row, s.first);
        QTextCursor c = cell.firstCursorPosition();
        const std::vector<Paragraph>& ps = s.content->paragraphs;
        std::vector<NestedTable>& tables = s.content->tables;
        bool fresh = true;  // the cursor's block is still to be written
        size_t table = 0;
        for (size_t i = 0; i <= ps.size(); ++i) {
            for (; table < tables.size() && tables[table].before <= i; ++table) {
                insertTable(c, tables[table].rows, colors);
                fresh = true;  // the block after the table
            }
            if (i == ps.size())
                break;
            if (fresh) {
                // The cell's format is the first block's character format:
                // set below, with the paragraph mark in it.
                if (i == 0) {
                    c.setBlockFormat(ps[0].block);
                    insertPieces(c, ps[0]);
                    if (ps[0].block.boolProperty(kRtfHiddenParagraph))
                        c.block().setVisible(false);
                } else {
                    insertParagraph(c, ps[i], true);
                }
                fresh = false;
            } else {
                insertParagraph(c, ps[i], false);
            }
        }
        const QTextCharFormat mark = !ps.empty() && ps[0].empty() ? ps[0].mark : QTextCharFormat();
        cell.setFormat(cellFormat(s, rows[s.row].def, colors, mark));
    }
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
}

}  // namespace tolvi::rtf
