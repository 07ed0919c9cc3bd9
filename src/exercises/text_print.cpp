#include "exercises/text_print.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLength>
#include <QTextTable>

#include <memory>
#include <vector>

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

// A paragraph in the same frame right before or after `b`, or an invalid one.
QTextBlock neighbour(const QTextBlock& b, bool before)
{
    const QTextBlock n = before ? b.previous() : b.next();
    if (!n.isValid())
        return n;
    const bool adjacent = before ? n.position() + n.length() == b.position() : b.position() + b.length() == n.position();
    return adjacent && QTextCursor(n).currentFrame() == QTextCursor(b).currentFrame() ? n : QTextBlock();
}

// Takes out of `copy` the paragraphs `document` does not show (wholly hidden
// text): a copy of a document shows every paragraph, and printing copies the
// document again.
void removeHiddenParagraphs(const QTextDocument& document, QTextDocument& copy)
{
    if (copy.blockCount() != document.blockCount())
        return;
    std::vector<int> hidden;
    int index = 0;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next(), ++index)
        if (!b.isVisible())
            hidden.push_back(index);
    // From the end, so that the numbers of the blocks before stay right.
    for (auto it = hidden.rbegin(); it != hidden.rend(); ++it) {
        const QTextBlock b = copy.findBlockByNumber(*it);
        if (!b.isValid())
            continue;
        QTextCursor c(b);
        c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        // The empty paragraph left goes into the one before it, or takes
        // in the one after it, in the same frame.
        if (neighbour(c.block(), true).isValid()) {
            c.deletePreviousChar();
        } else if (const QTextBlock after = neighbour(c.block(), false); after.isValid()) {
            const QTextBlockFormat format = after.blockFormat();
            const QTextCharFormat mark = after.charFormat();
            c.deleteChar();
            c.setBlockFormat(format);
            c.setBlockCharFormat(mark);
        }
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
    removeHiddenParagraphs(document, *copy);
    // The copy is laid out again by print, at the page's size.
    fitTablesToWidth(*copy, printableTextWidth(device->pageLayout()));
    copy->setPageSize(QSizeF());
    copy->print(device);
}

}  // namespace tolvi
