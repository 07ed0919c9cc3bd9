#pragma once
// Writing a QTextDocument as RTF that word processors open with the same look
// and that readRtf reads back into the same document: text, bold, italic,
// underline, strike-out, font and size, text and highlight colours,
// superscript and subscript (raised or lowered text keeps its exact offset),
// alignment, indents, spacing, line spacing, line breaks, tabs and pictures
// (written as PNG, or JPEG when the document holds JPEG data). The items of a
// list are written with their bullet or number as text, as readers without
// lists show them; the cells of a table as paragraphs.
//
// The file is in Windows-1252 (\ansicpg1252): other characters are written as
// \uN followed by a '?' fallback written \'3f.

#include <QByteArray>

class QTextDocument;

namespace tolvi {

QByteArray writeRtf(const QTextDocument& document);

}  // namespace tolvi
