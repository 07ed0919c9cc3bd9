#pragma once
// The values table: the points of the graph recording as rows of t, u1
// (blue marker) and u2 (red marker), in the texts of the graph's CSV; and
// its printed form, columns of rows flowing from page to page.

#include "sim/graph.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace tolvi {

class ValuesTable {
public:
    ValuesTable() = default;
    explicit ValuesTable(std::vector<GraphPoint> points) : points_(std::move(points)) {}

    std::size_t rowCount() const { return points_.size(); }
    bool isEmpty() const { return points_.empty(); }
    const std::vector<GraphPoint>& points() const { return points_; }

    static QStringList header() { return GraphRecording::csvHeader(); }
    QStringList row(std::size_t i) const { return GraphRecording::csvFields(points_.at(i)); }
    // The header and rows [first, first + count) as lines of fields joined
    // by `separator` (the graph's CSV with ';', spreadsheet text with a tab).
    QString text(QChar separator, std::size_t first = 0, std::size_t count = std::size_t(-1)) const
    {
        return GraphRecording::csvText(points_, separator, first, count);
    }

private:
    std::vector<GraphPoint> points_;
};

// Sizes of the printed table at a resolution, in device units.
struct ValuesMetrics {
    int rowHeight = 0;    // one line of Arial 10 pt
    int columnWidth = 0;  // the widest text of a column, and a margin
    int blockGap = 0;     // between two blocks of three columns
    int blockWidth() const { return 3 * columnWidth; }
};
ValuesMetrics valuesMetrics(int dpi);

// One block of the printed table: its header line at `topLeft`, then `rows`
// rows from `firstRow`, on page `page` (0 = the page it starts on).
struct ValuesBlock {
    int page = 0;
    QPoint topLeft;
    std::size_t firstRow = 0;
    std::size_t rows = 0;
};

// Lays `rows` rows out on pages of `pageSize`: blocks side by side across
// the page, the first page starting at `top` (a new page when not even one
// row fits there), the next pages at their top. No rows, no blocks.
std::vector<ValuesBlock> valuesBlocks(const ValuesMetrics& m, const QSize& pageSize, int top, std::size_t rows);

// Paints the table on `painter` (on `device`, of `dpi`), starting at `top`
// of the current page and starting new pages as it needs. Returns false when
// a new page could not be started.
bool paintValuesTable(QPainter& painter, QPagedPaintDevice& device, int dpi, const ValuesTable& table, int top);

// Prints the table alone, under `title`: the job of the table window.
// Returns an empty text when done, or the French reason of a failure.
QString printValuesTable(QPagedPaintDevice& device, const ValuesTable& table, const QString& title);

}  // namespace tolvi
