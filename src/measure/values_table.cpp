#include "measure/values_table.h"

#include <QFont>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace tolvi {

namespace {
QFont tableFont(int dpi, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(10.0 * dpi / 72.0 + 0.5)));
    font.setBold(bold);
    return font;
}

QFont titleFont(int dpi)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(12.0 * dpi / 72.0 + 0.5)));
    font.setBold(true);
    return font;
}
}  // namespace

ValuesMetrics valuesMetrics(int dpi)
{
    const QFontMetrics body(tableFont(dpi, false));
    const QFontMetrics bold(tableFont(dpi, true));
    ValuesMetrics m;
    m.rowHeight = std::max(bold.lineSpacing(), body.lineSpacing());
    int widest = 0;
    for (const QString& title : ValuesTable::header())
        widest = std::max(widest, bold.horizontalAdvance(title));
    // The widest values a recording holds: 600 s, and 40 cm either way.
    for (const char* sample : {"-40,0000", "600,000", "-888,8888"})
        widest = std::max(widest, body.horizontalAdvance(QString::fromLatin1(sample)));
    m.columnWidth = widest + body.horizontalAdvance(QStringLiteral("00"));
    m.blockGap = m.columnWidth / 2;
    return m;
}

std::vector<ValuesBlock> valuesBlocks(const ValuesMetrics& m, const QSize& pageSize, int top, std::size_t rows)
{
    std::vector<ValuesBlock> blocks;
    if (rows == 0 || m.rowHeight <= 0 || m.columnWidth <= 0)
        return blocks;
    const int across = std::max(1, (pageSize.width() + m.blockGap) / (m.blockWidth() + m.blockGap));
    // Rows under the header line of a block that starts at `y`; never less
    // than one, so that a tiny page still ends.
    auto rowsFrom = [&](int y) { return (pageSize.height() - y) / m.rowHeight - 1; };
    int page = 0;
    int y = std::max(0, top);
    if (rowsFrom(y) < 1 && y > 0) {
        page = 1;
        y = 0;
    }
    std::size_t next = 0;
    while (next < rows) {
        const std::size_t perBlock = std::size_t(std::max(1, rowsFrom(y)));
        for (int b = 0; b < across && next < rows; ++b) {
            ValuesBlock block;
            block.page = page;
            block.topLeft = QPoint(b * (m.blockWidth() + m.blockGap), y);
            block.firstRow = next;
            block.rows = std::min(perBlock, rows - next);
            next += block.rows;
            blocks.push_back(block);
        }
        ++page;
        y = 0;
    }
    return blocks;
}

bool paintValuesTable(QPainter& painter, QPagedPaintDevice& device, int dpi, const ValuesTable& table, int top)
{
    const ValuesMetrics m = valuesMetrics(dpi);
    const QSize pageSize(device.width(), device.height());
    const std::vector<ValuesBlock> blocks = valuesBlocks(m, pageSize, top, table.rowCount());
    const QFont body = tableFont(dpi, false);
    const QFont bold = tableFont(dpi, true);
    const QStringList header = ValuesTable::header();
    const int pad = m.columnWidth / 8;
    int page = 0;
    painter.save();
    painter.setPen(Qt::black);
    for (const ValuesBlock& block : blocks) {
        while (page < block.page) {
            if (!device.newPage()) {
                painter.restore();
                return false;
            }
            ++page;
        }
        // Numbers are right-aligned, so that their commas line up.
        const auto cell = [&](int column, int line) {
            return QRect(block.topLeft.x() + column * m.columnWidth, block.topLeft.y() + line * m.rowHeight,
                         m.columnWidth - pad, m.rowHeight);
        };
        painter.setFont(bold);
        for (int c = 0; c < 3; ++c)
            painter.drawText(cell(c, 0), Qt::AlignRight | Qt::AlignVCenter, header[c]);
        const int lineY = block.topLeft.y() + m.rowHeight;
        painter.drawLine(block.topLeft.x(), lineY, block.topLeft.x() + m.blockWidth() - pad, lineY);
        painter.setFont(body);
        for (std::size_t r = 0; r < block.rows; ++r) {
            const QStringList fields = table.row(block.firstRow + r);
            for (int c = 0; c < 3; ++c)
                painter.drawText(cell(c, int(r) + 1), Qt::AlignRight | Qt::AlignVCenter, fields[c]);
        }
    }
    painter.restore();
    return true;
}

QString printValuesTable(QPagedPaintDevice& device, const ValuesTable& table, const QString& title)
{
    QPainter painter;
    if (!painter.begin(&device))
        return QStringLiteral("L'imprimante n'accepte pas le document : vérifiez qu'elle est "
                              "allumée et disponible, ou choisissez-en une autre.");
    const int dpi = device.logicalDpiY();
    const QFont font = titleFont(dpi);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int titleLine = QFontMetrics(font).lineSpacing();
    painter.drawText(QRect(0, 0, device.width(), titleLine), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     title);
    bool ok = paintValuesTable(painter, device, dpi, table, 2 * titleLine);
    ok = painter.end() && ok;
    if (!ok)
        return QStringLiteral("L'impression n'a pas pu se terminer : le document n'a pas été imprimé entièrement.");
    return QString();
}

}  // namespace tolvi
