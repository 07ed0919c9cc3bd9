#include "exercises/rtf_writer_impl.h"

#include <QTextDocument>
#include <QTextTable>
#include <QTextTableCellFormat>
#include <QTextTableFormat>

#include <algorithm>
#include <cmath>

namespace tolvi::rtfwrite {

// A border of a cell: its own, else the table's.
void RtfWriter::writeBorder(QByteArray& out, const char* word, const QTextTableCellFormat& f, int side,
                            const QTextTableFormat& table)
{
    static constexpr QTextFormat::Property widths[] = {
        QTextFormat::TableCellTopBorder, QTextFormat::TableCellLeftBorder, QTextFormat::TableCellBottomBorder,
        QTextFormat::TableCellRightBorder};
    static constexpr QTextFormat::Property styles[] = {
        QTextFormat::TableCellTopBorderStyle, QTextFormat::TableCellLeftBorderStyle,
        QTextFormat::TableCellBottomBorderStyle, QTextFormat::TableCellRightBorderStyle};
    static constexpr QTextFormat::Property brushes[] = {
        QTextFormat::TableCellTopBorderBrush, QTextFormat::TableCellLeftBorderBrush,
        QTextFormat::TableCellBottomBorderBrush, QTextFormat::TableCellRightBorderBrush};
    double width = table.border();
    auto style = table.borderStyle();
    QBrush brush = table.borderBrush();
    if (f.hasProperty(widths[side]))
        width = f.doubleProperty(widths[side]);
    if (f.hasProperty(styles[side]))
        style = static_cast<QTextFrameFormat::BorderStyle>(f.intProperty(styles[side]));
    if (f.hasProperty(brushes[side]))
        brush = f.brushProperty(brushes[side]);
    if (!(width > 0) || style == QTextFrameFormat::BorderStyle_None)
        return;
    out += "\\";
    out += word;
    out += "\\brdrs";
    appendWord(out, "brdrw", std::clamp(twips(width), 1, 75));
    if (brush.style() != Qt::NoBrush && brush.color() != QColor(Qt::black))
        appendWord(out, "brdrcf", colorIndex(brush.color()));
    out += ' ';
}

// A table as Word writes it: each row's definition (cell edges, borders,
// merges), then its cells' paragraphs, the last one of a cell ended by \cell.
void RtfWriter::writeTable(QByteArray& body, const QTextTable& table, int depth)
{
    const int rows = table.rows();
    const int columns = table.columns();
    if (rows <= 0 || columns <= 0)
        return;
    const QTextTableFormat tf = table.format();

    // Column edges in twips; widths not fixed share the page's text width
    // (17 cm, an A4 page with margins of 2 cm).
    constexpr double kTextWidth = 9638;
    const QList<QTextLength> constraints = tf.columnWidthConstraints();
    std::vector<double> widths(size_t(columns), 0);
    double fixed = 0;
    int free = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength l = c < constraints.size() ? constraints[c] : QTextLength();
        if (l.type() == QTextLength::FixedLength)
            widths[c] = std::clamp(l.rawValue() * kTwipsPerPixel, 15.0, kMaxTwips);
        else if (l.type() == QTextLength::PercentageLength)
            widths[c] = std::clamp(l.rawValue(), 0.0, 100.0) * kTextWidth / 100;
        else
            ++free;
        fixed += widths[c];
    }
    for (int c = 0; c < columns; ++c)
        if (widths[c] <= 0)
            widths[c] = std::max(360.0, (kTextWidth - fixed) / std::max(free, 1));
    std::vector<int> edges(size_t(columns) + 1, 0);
    for (int c = 0; c < columns; ++c)
        edges[c + 1] = edges[c] + std::max(1, static_cast<int>(std::lround(widths[c])));

    QByteArray rowStart = "\\trowd";
    appendWord(rowStart, "trgaph", std::clamp(twips(tf.cellPadding()), 0, 1440));
    const Qt::Alignment align = tf.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        rowStart += "\\trqc";
    else if (align & Qt::AlignRight)
        rowStart += "\\trqr";
    else if (const int left = twips(tf.leftMargin()); left > 0)
        appendWord(rowStart, "trleft", left);

    for (int r = 0; r < rows; ++r) {
        QByteArray def = rowStart;
        std::vector<QTextTableCell> cells;
        for (int c = 0; c < columns;) {
            const QTextTableCell cell = table.cellAt(r, c);
            const int span = std::max(1, cell.columnSpan());
            const QTextTableCellFormat f = cell.format().toTableCellFormat();
            def += '\n';
            if (cell.row() != r)
                def += "\\clvmrg";
            else if (cell.rowSpan() > 1)
                def += "\\clvmgf";
            switch (f.verticalAlignment()) {
            case QTextCharFormat::AlignMiddle: def += "\\clvertalc"; break;
            case QTextCharFormat::AlignBottom: def += "\\clvertalb"; break;
            default: break;
            }
            if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
                appendWord(def, "clcbpat", colorIndex(f.background().color()));
            writeBorder(def, "clbrdrt", f, 0, tf);
            writeBorder(def, "clbrdrl", f, 1, tf);
            writeBorder(def, "clbrdrb", f, 2, tf);
            writeBorder(def, "clbrdrr", f, 3, tf);
            appendWord(def, "cellx", edges[std::min(columns, c + span)]);
            cells.push_back(cell);
            c += span;
        }
        // A table in a cell (Word 2000's nested tables): its cells end with
        // \nestcell, each row's definition comes after its cells with its
        // end, \nestrow, in an ignorable group.
        const bool nested = depth > 1;
        if (!nested) {
            body += def;
            body += '\n';
        }
        const char* cellEnd = nested ? "\\nestcell" : "\\cell";
        for (const QTextTableCell& cell : cells) {
            if (cell.row() != r) {
                body += "\\pard\\plain\\intbl";  // covered by the cell above
                if (nested)
                    appendWord(body, "itap", depth);
                body += cellEnd;
                body += '\n';
                continue;
            }
            // The cell's paragraphs and tables.
            const QTextBlock last = doc_.findBlock(cell.lastPosition());
            for (auto it = cell.begin(); !it.atEnd(); ++it) {
                if (const auto* inner = qobject_cast<const QTextTable*>(it.currentFrame())) {
                    writeTable(body, *inner, depth + 1);
                    continue;
                }
                const QTextBlock b = it.currentBlock();
                if (!b.isValid())
                    continue;
                writeBlock(body, b, b == last ? cellEnd : "\\par", depth);
            }
        }
        if (nested) {
            body += "{\\*\\nesttableprops";
            body += def;
            body += "\n\\nestrow}\n";
        } else {
            body += "\\row\n";
        }
    }
}

}  // namespace tolvi::rtfwrite
