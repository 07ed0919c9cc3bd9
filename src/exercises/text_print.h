#pragma once
// Printing an exercise text on pages, as QTextDocument::print lays it out
// (margins of 2 cm, pages of the printer's size), with tables wider than
// the page's text fitted to it: a table made for a Letter page, or a row
// with more cells than its definition, would print past the margin and be
// cut at the paper's edge.

class QPagedPaintDevice;
class QPageLayout;
class QTextDocument;

namespace tolvi {

// The width of a page's text, in the document's pixels (96 to the inch):
// the printable part of the page less the 2 cm margins on each side.
double printableTextWidth(const QPageLayout& layout);

// Gives each table of `document` wider than `width` (document pixels)
// column widths in proportion to the ones it had, so that it spans that
// width. Narrower tables are left as they are.
void fitTablesToWidth(QTextDocument& document, double width);

// Prints a copy of `document` with its tables fitted to the page's text.
void printText(const QTextDocument& document, QPagedPaintDevice* device);

}  // namespace tolvi
