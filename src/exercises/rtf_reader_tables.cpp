// The reader's tables: row and cell definitions (\trowd, \cellx, borders,
// merges), cells and rows as they end, and tables in cells of tables.
#include "exercises/rtf_reader.h"
#include "exercises/rtf_reader_state.h"

#include <algorithm>

namespace tolvi::rtf {

// Row and cell definitions of tables.
bool RtfReader::tableWord(std::string_view w, bool hasParam, int param)
{
    constexpr int kBound = 1 << 20;  // twips
    const int v = std::clamp(param, -kBound, kBound);
    if (w == "trowd") {
        if (!rowOpen_) {
            if (!para_.empty() && !state().para.inTable)
                endParagraph();  // text before the table without its \par
            startRow();
        }
        rowDef_ = RowDef{};
        cellDef_ = CellDef{};
        rowBorders_ = {};
        cellBorderGiven_ = {};
        borderTarget_ = BorderTarget::None;
    } else if (w == "trleft") {
        rowDef_.left = v;
    } else if (w == "trgaph") {
        rowDef_.gap = std::clamp(param, 0, 1440);
    } else if (w == "trql" || w == "trqc" || w == "trqr") {
        rowDef_.align = w == "trqc" ? 1 : w == "trqr" ? 2 : 0;
    } else if (w.size() == 7 && w.substr(0, 6) == "trbrdr") {
        static constexpr std::string_view sides = "tlbrhv";
        const auto side = sides.find(w[6]);
        if (side == std::string_view::npos)
            return false;
        borderTarget_ = BorderTarget::Row;
        borderSide_ = int(side);
        rowBorders_[side] = Border{};
    } else if (w.size() == 7 && w.substr(0, 6) == "clbrdr") {
        static constexpr std::string_view sides = "tlbr";
        const auto side = sides.find(w[6]);
        if (side == std::string_view::npos)
            return false;
        borderTarget_ = BorderTarget::Cell;
        borderSide_ = int(side);
        cellDef_.borders[side] = Border{};
        cellBorderGiven_[side] = true;
    } else if (w.substr(0, 4) == "brdr") {
        Border* b = border(borderSide_);
        if (!b)
            return true;
        if (w == "brdrnone")
            b->on = false;
        else if (w == "brdrw")
            b->width = std::clamp(param, 0, 1000);
        else if (w == "brdrcf")
            b->color = hasParam ? param : -1;
        else if (w != "brdrbtw" && w != "brdrbar" && w != "brdrsp")
            b->on = true;  // a line of any style
    } else if (w == "clvertalt" || w == "clvertalc" || w == "clvertalb") {
        cellDef_.valign = w == "clvertalc" ? 1 : w == "clvertalb" ? 2 : 0;
    } else if (w == "clcbpat") {
        cellDef_.background = hasParam ? param : -1;
    } else if (w == "clmrg") {
        cellDef_.mergedLeft = true;
    } else if (w == "clvmrg") {
        cellDef_.mergedUp = true;
    } else if (w == "cellx") {
        cellDef_.right = v;
        // Sides without a border of their own take the row's.
        const bool firstCell = rowDef_.cells.empty();
        const Border& vertical = rowBorders_[5].on ? rowBorders_[5] : rowBorders_[firstCell ? 1 : 3];
        const Border* fromRow[4] = {&rowBorders_[0], firstCell ? &rowBorders_[1] : &vertical,
                                    &rowBorders_[2], rowBorders_[5].on ? &rowBorders_[5] : &rowBorders_[3]};
        for (int side = Top; side <= Right; ++side)
            if (!cellBorderGiven_[side])
                cellDef_.borders[side] = *fromRow[side];
        if (rowDef_.cells.size() < 4096)
            rowDef_.cells.push_back(cellDef_);
        cellDef_ = CellDef{};
        cellBorderGiven_ = {};
        borderTarget_ = BorderTarget::None;
    } else {
        return false;
    }
    return true;
}

Border* RtfReader::border(int side)
{
    switch (borderTarget_) {
    case BorderTarget::Cell: return &cellDef_.borders[std::clamp(side, 0, 3)];
    case BorderTarget::Row: return &rowBorders_[std::clamp(side, 0, 5)];
    case BorderTarget::None: break;
    }
    return nullptr;
}

void RtfReader::endCell(int depth)
{
    flushText();
    setTableDepth(depth);
    para_.block = blockFormat();
    para_.mark = charFormat();
    applyList(para_, state().para);
    currentCell().paragraphs.push_back(std::move(para_));
    para_ = Paragraph{};
    cellOpen_ = false;
}

void RtfReader::endRow(int depth)
{
    setTableDepth(depth);
    if (!rowOpen_ && para_.empty())
        return;  // nothing of a row
    if (!para_.empty())
        endCell(depth);  // the last cell without its \cell
    // The definition given before the cells; else the one given after them
    // (Word 2003 writes both).
    if (rows_.back().def.cells.empty())
        rows_.back().def = rowDef_;
    rowOpen_ = false;
    cellOpen_ = false;
}

void RtfReader::startRow()
{
    rows_.emplace_back();
    rowOpen_ = true;
    cellOpen_ = false;
}

Cell& RtfReader::currentCell()
{
    if (!rowOpen_)
        startRow();  // a cell without \trowd: the row takes the last definition
    if (!cellOpen_) {
        if (rows_.back().cells.empty())
            rows_.back().def = rowDef_;
        rows_.back().cells.emplace_back();
        cellOpen_ = true;
    }
    return rows_.back().cells.back();
}

// How deep in tables the paragraph stands: \itap, else 1 in a table.
int RtfReader::paragraphDepth() const
{
    const ParaState& p = stack_.back().para;
    return std::max(1, p.depth > 0 ? p.depth : 1);
}

// Goes into tables in cells, or out of them, until the table being read is
// at `depth`. A table left is put into the cell it stands in.
void RtfReader::setTableDepth(int depth)
{
    depth = std::clamp(depth, 1, kMaxTableDepth);
    while (int(outerTables_.size()) + 1 > depth)
        leaveNestedTable();
    while (int(outerTables_.size()) + 1 < depth)
        enterNestedTable();
}

void RtfReader::enterNestedTable()
{
    currentCell();  // the cell the table stands in
    outerTables_.push_back(
        TableLevel{rowDef_, cellDef_, rowBorders_, cellBorderGiven_, std::move(rows_), rowOpen_, cellOpen_});
    rowDef_ = RowDef{};
    cellDef_ = CellDef{};
    rowBorders_ = {};
    cellBorderGiven_ = {};
    rows_.clear();
    rowOpen_ = cellOpen_ = false;
}

void RtfReader::leaveNestedTable()
{
    if (rowOpen_ && !rows_.empty() && rows_.back().def.cells.empty())
        rows_.back().def = rowDef_;  // a last row without its \nestrow
    std::vector<Row> nested = std::move(rows_);
    TableLevel& outer = outerTables_.back();
    rowDef_ = std::move(outer.rowDef);
    cellDef_ = outer.cellDef;
    rowBorders_ = outer.rowBorders;
    cellBorderGiven_ = outer.cellBorderGiven;
    rows_ = std::move(outer.rows);
    rowOpen_ = outer.rowOpen;
    cellOpen_ = outer.cellOpen;
    outerTables_.pop_back();
    std::erase_if(nested, [](const Row& r) { return r.cells.empty(); });
    if (nested.empty())
        return;
    Cell& cell = currentCell();
    cell.tables.push_back(NestedTable{cell.paragraphs.size(), std::move(nested)});
}

void RtfReader::finishTable()
{
    setTableDepth(1);
    if (rows_.empty())
        return;
    if (rowOpen_)
        endRow();
    insertTable(cursor_, rows_, [this](int i) -> std::optional<QColor> {
        return i >= 0 && i < colors_.size() ? colors_[i] : std::nullopt;
    });
    rows_.clear();
    freshBlock_ = true;
}

}  // namespace tolvi::rtf
