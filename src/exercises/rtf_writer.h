#pragma once
// Writing a QTextDocument as RTF that word processors open with the same look
// and that readRtf reads back into the same document: text, bold, italic,
// underline, strike-out, font and size, text and highlight colours,
// superscript and subscript (written as \super and \sub, which LibreOffice
// and Word draw small, with the exact offset of raised or lowered text for
// Tolvi in an ignorable group), alignment, indents, spacing, line spacing,
// line breaks, tabs, pictures (written as PNG, or JPEG when the document holds
// JPEG data), and tables as Word writes them (\trowd, \cellx, cell borders,
// shading, vertical alignment, merged cells, \cell and \row; tables in
// cells as Word 2000 writes them, \itap, \nestcell and \nestrow), lists as
// RTF lists (a list table, \ls and \ilvl), each item's bullet or number also
// in \listtext for readers without lists, and hidden text as hidden text
// (\v). Sizes beyond any page are written
// at a bound, never as a number that overflows.
//
// The file is in Windows-1252 (\ansicpg1252): other characters are written as
// \uN followed by a '?' fallback written \'3f.

#include <QByteArray>

class QTextDocument;

namespace tolvi {

QByteArray writeRtf(const QTextDocument& document);

}  // namespace tolvi
