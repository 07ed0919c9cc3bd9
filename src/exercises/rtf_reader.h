#pragma once
// Reading RTF, as word processors (LibreOffice, Word, WordPad, the rich-text
// box of Windows) write exercise statements, into a QTextDocument.
//
// Kept: font and colour tables, bold, italic, underline, strike-out, font and
// size, text and highlight colours, superscript and subscript (\super \sub, and
// the raised or lowered text of \up \dn), alignment, indents, spacing before
// and after, line spacing, line breaks, tabs, Windows-1252 and Unicode
// characters, PNG and JPEG pictures. List items come out as plain paragraphs
// with their bullet or number text; tables as one paragraph per row with the
// cells separated by tabs. Stylesheets, headers and footers, footnotes, field
// instructions, hidden text and pictures in other formats (metafiles, bitmaps)
// are skipped.
//
// Safe on any input: nesting depth, numbers, font names and picture data are
// bounded; a damaged file gives an error, with whatever text could be read
// left in the document.

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

// Replaces the content of `document` by the RTF in `rtf`. Returns false, with a
// French message in `error` when given, when the data is not RTF or is damaged
// beyond reading; the document then holds what was read before the damage.
// Pictures become image resources of the document named "rtfimage:N".
bool readRtf(const QByteArray& rtf, QTextDocument& document, QString* error = nullptr);

}  // namespace tolvi
