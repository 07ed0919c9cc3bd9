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
// borders, shading, vertical alignment and merged cells. List items show
// their bullet or number as text (\listtext, or made from the list table
// when the file leaves it out or blank), and keep their list and level
// (rtf_lists.h); tables in cells of tables (\itap, \nestcell, \nestrow) as
// tables in the cells. Hidden text (\v) is kept, not shown, in a mark
// (kRtfHiddenText). Stylesheets, field instructions and binary objects are
// skipped.
//
// Safe on any input, in time linear in its size: numbers, font names,
// tables and picture data are bounded; groups nested beyond a depth share
// the state of the deepest one, so their text is kept.

#include <QByteArray>
#include <QSize>
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

// Character property of a zero-width space the reader put into a very long
// word so that its lines can break: not part of the text, never written.
inline constexpr int kRtfSoftBreak = QTextFormat::UserProperty + 0x54;
// Image or character property holding a picture's data as the file gave it
// (a QByteArray) and its control words ("\\jpegblip\\picw640...",
// "\\wmetafile8..."): the picture is written back as it came, whether it was shown whole,
// scaled down, or as the « [image non affichée] » text that stands for it.
inline constexpr int kRtfPictureData = QTextFormat::UserProperty + 0x55;
inline constexpr int kRtfPictureKind = QTextFormat::UserProperty + 0x56;

// Character property of the text of a field's result: the field's
// instruction (a QString), as \fldinst gave it. A hyperlink's text also
// carries the address as its anchor.
inline constexpr int kRtfField = QTextFormat::UserProperty + 0x58;
// Character property of a footnote's mark, and block property of the note's
// paragraphs, put at the end of the text: the note's number.
inline constexpr int kRtfFootnote = QTextFormat::UserProperty + 0x59;

// Character property of a mark standing for hidden text (\v): the text (a
// QString). The mark is a zero-width character (U+2060) in the hidden
// text's format; the text is not shown, and is written back hidden.
inline constexpr int kRtfHiddenText = QTextFormat::UserProperty + 0x61;
inline constexpr char16_t kHiddenTextMark = 0x2060;
// Block property of a paragraph wholly hidden, its end too (\v\par): the
// block is not shown, and is written back hidden.
inline constexpr int kRtfHiddenParagraph = QTextFormat::UserProperty + 0x62;

// Property of the document (a QByteArray) holding its headers and footers,
// the RTF groups as the file gave them: they are not shown, and written back.
inline constexpr char kRtfHeadersProperty[] = "tolviRtfHeaders";

// Block property of a block that goes on with the paragraph of the block
// before it: the reader cuts paragraphs of many formats into blocks of about
// kMaxBlockText characters, whose layout costs far less memory; the writer
// joins them again.
inline constexpr int kRtfParagraphGoesOn = QTextFormat::UserProperty + 0x5A;

// The text standing for a picture that cannot be shown.
inline const QString kPictureNotShown = QStringLiteral("[image non affichée]");

// What reading found that the document cannot show as it is.
struct RtfReadNotes {
    int picturesNotShown = 0;
};

// Replaces the content of `document` by the RTF in `rtf`. Returns false, with a
// French message in `error` when given, when the data is not RTF; the
// document is then left as it was.
// Pictures become image resources of the document named "rtfimage:N".
bool readRtf(const QByteArray& rtf, QTextDocument& document, QString* error = nullptr,
             RtfReadNotes* notes = nullptr);

// The text of a document as the reader shows it, paragraphs separated by
// '\n', without the break opportunities put into long words, the marks of
// hidden text nor the paragraphs wholly hidden.
QString shownPlainText(const QTextDocument& document);

}  // namespace tolvi
