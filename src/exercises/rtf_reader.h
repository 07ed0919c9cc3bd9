#pragma once
// Reading RTF, as word processors (LibreOffice, Word, WordPad, the rich-text
// box of Windows, pandoc) write exercise statements, into a QTextDocument.
//
// Kept: font and colour tables, bold, italic, underline, strike-out, font and
// size, text and highlight colours, superscript and subscript (\super \sub, and
// the raised or lowered text of \up \dn with its \updnprop size), alignment,
// indents, spacing before and after, line spacing, line breaks, tabs, the
// character set of each font (\fcharset, \cpg, \ansicpg: Central European,
// Cyrillic, Greek, Chinese, Japanese, ... and the Symbol and Wingdings fonts
// turned into Unicode), Unicode characters, PNG and JPEG pictures, and tables
// (\trowd ... \cell ... \row) as QTextTable with their column widths, cell
// borders, shading, vertical alignment and merged cells. List items come out
// as plain paragraphs with their bullet or number text; nested tables as
// cells of the outer table, their cells separated by tabs. Stylesheets,
// headers and footers, footnotes, field instructions, hidden text, binary
// objects and pictures in other formats (metafiles, bitmaps) are skipped.
//
// Safe on any input, in time linear in its size: numbers, font names,
// tables and picture data are bounded; groups nested beyond a depth share
// the state of the deepest one, so their text is kept.

#include <QByteArray>
#include <QString>
#include <QTextFormat>

class QTextDocument;

namespace tolvi {

// Character property holding the vertical offset of raised or lowered text in
// half-points (positive up), as \up and \dn give it. The text also carries the
// superscript or subscript alignment so that it shows as such; the offset is
// kept so that the text is written back exactly as it was read.
inline constexpr int kRtfBaselineShift = QTextFormat::UserProperty + 0x52;
// Character property holding the size of raised or lowered text in
// hundredths of a percent of the font size (\updnprop, 5800 for 58 %), as
// LibreOffice writes it beside \up and \dn.
inline constexpr int kRtfShiftedSize = QTextFormat::UserProperty + 0x53;

// Replaces the content of `document` by the RTF in `rtf`. Returns false, with a
// French message in `error` when given, when the data is not RTF; the
// document is then left as it was.
// Pictures become image resources of the document named "rtfimage:N".
bool readRtf(const QByteArray& rtf, QTextDocument& document, QString* error = nullptr);

}  // namespace tolvi
