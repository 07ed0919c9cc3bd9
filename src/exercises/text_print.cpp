#include "exercises/text_print.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLength>
#include <QTextTable>

#include <memory>

namespace tolvi {

namespace {

// QTextDocument::print's margins: 2 cm, in whole pixels at 96 per inch.
constexpr double kPrintMargin = int(2 / 2.54 * 96);

void collectTables(QTextFrame* frame, QList<QTextTable*>& tables)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child))
            tables << table;
        collectTables(child, tables);
    }
}

}  // namespace

double printableTextWidth(const QPageLayout& layout)
{
    return layout.paintRect(QPageLayout::Millimeter).width() / 25.4 * 96 - 2 * kPrintMargin;
}

void fitTablesToWidth(QTextDocument& document, double width)
{
    if (!(width > 0))
        return;
    QList<QTextTable*> tables;
    collectTables(document.rootFrame(), tables);
    if (tables.isEmpty())
        return;
    // Laid out as the page lays it out: the text's width, no other margin.
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    const QTextFrameFormat kept = root;
    root.setLeftMargin(0);
    root.setRightMargin(0);
    document.rootFrame()->setFrameFormat(root);
    document.setTextWidth(width);
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    for (QTextTable* table : std::as_const(tables)) {
        if (layout->frameBoundingRect(table).width() <= width + 0.5)
            continue;
        // Columns in proportion to their widths, spanning the text.
        QTextTableFormat format = table->format();
        const QList<QTextLength> constraints = format.columnWidthConstraints();
        double total = 0;
        for (const QTextLength& l : constraints)
            total += l.type() == QTextLength::VariableLength ? 0 : l.rawValue();
        QList<QTextLength> fitted;
        for (int c = 0; c < table->columns(); ++c) {
            const QTextLength l = c < constraints.size() ? constraints[c] : QTextLength();
            const double share = total > 0 && l.type() != QTextLength::VariableLength ? l.rawValue() / total
                                                                                      : 1.0 / table->columns();
            fitted << QTextLength(QTextLength::PercentageLength, share * 100);
        }
        format.setColumnWidthConstraints(fitted);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setLeftMargin(0);
        table->setFormat(format);
    }
    document.rootFrame()->setFrameFormat(kept);
}

void printText(const QTextDocument& document, QPagedPaintDevice* device)
{
    if (!device)
        return;
    const std::unique_ptr<QTextDocument> copy(document.clone());
    // The copy is laid out again by print, at the page's size.
    fitTablesToWidth(*copy, printableTextWidth(device->pageLayout()));
    copy->setPageSize(QSizeF());
    copy->print(device);
}

}  // namespace tolvi
