#include "exercises/rtf_writer.h"

#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer_impl.h"
#include "text/cp1252.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QSet>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QTextTableCellFormat>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace tolvi::rtfwrite {

int twips(double pixels)
{
    const double t = pixels * kTwipsPerPixel;
    if (!std::isfinite(t))
        return 0;
    return static_cast<int>(std::lround(std::clamp(t, -kMaxTwips, kMaxTwips)));
}

void appendWord(QByteArray& out, const char* word, int value)
{
    out += '\\';
    out += word;
    out += QByteArray::number(value);
}

// Text in RTF: Windows-1252 characters as they are (ASCII) or as \'hh, others
// as \uN with a '?' fallback. The fallback is written \'3f: some readers take
// a literal '?' after \uN for text of its own.
void appendText(QByteArray& out, const QString& text, bool inFontTable)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'\\': out += "\\\\"; continue;
        case u'{': out += "\\{"; continue;
        case u'}': out += "\\}"; continue;
        case u'\t': out += inFontTable ? "" : "\\tab "; continue;
        case 0x2028: out += inFontTable ? "" : "\\line "; continue;
        case u';':
            if (inFontTable)
                continue;  // ends a font name
            break;
        default: break;
        }
        // Text symbols; a font name holds such characters as they are.
        if (!inFontTable) {
            if (u == 0x00A0) {
                out += "\\~";
                continue;
            }
            if (u == 0x00AD) {
                out += "\\-";
                continue;
            }
            if (u == 0x2011) {
                out += "\\_";
                continue;
            }
        }
        if (u < 0x20)
            continue;
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        if (const auto b = unicodeToCp1252(u)) {
            out += "\\'";
            out += QByteArray::number(*b, 16).rightJustified(2, '0');
            continue;
        }
        appendWord(out, "u", static_cast<int16_t>(u));
        out += "\\'3f";
    }
}

// A picture's data as the file gave it, with its words.
void writeOriginalPicture(QByteArray& out, const QTextFormat& f)
{
    out += "{\\pict";
    out += f.property(kRtfPictureKind).toByteArray();
    out += '\n';
    const QByteArray hex = f.property(kRtfPictureData).toByteArray().toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        out += hex.mid(i, 128);
        out += '\n';
    }
    out += '}';
}

RtfWriter::RtfWriter(const QTextDocument& document) : doc_(document)
{
    const QFont font = doc_.defaultFont();
    defaultFamily_ = font.family();
    defaultPoints_ = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
    fontIndex(defaultFamily_);  // \f0, the default font
}

int RtfWriter::fontIndex(const QString& family)
{
    auto it = fontIndices_.constFind(family);
    if (it == fontIndices_.constEnd()) {
        it = fontIndices_.insert(family, static_cast<int>(fonts_.size()));
        fonts_.append(family);
    }
    return *it;
}

int RtfWriter::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb() | 0xFF000000u;
    auto it = colorIndices_.constFind(rgb);
    if (it == colorIndices_.constEnd()) {
        // Entry 0 of the table is the automatic colour.
        it = colorIndices_.insert(rgb, static_cast<int>(colors_.size()) + 1);
        colors_.append(QColor(rgb));
    }
    return *it;
}

QByteArray RtfWriter::charProps(const QTextCharFormat& f)
{
    QByteArray out;
    QString family;
    for (const QString& name : f.fontFamilies().toStringList()) {
        if (!name.isEmpty()) {
            family = name;
            break;
        }
    }
    if (family.isEmpty())
        family = defaultFamily_;
    appendWord(out, "f", fontIndex(family));

    double points = defaultPoints_;
    if (f.fontPointSize() > 0)
        points = f.fontPointSize();
    else if (f.hasProperty(QTextFormat::FontPixelSize) && f.intProperty(QTextFormat::FontPixelSize) > 0)
        points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
    if (!std::isfinite(points))
        points = defaultPoints_;
    appendWord(out, "fs", static_cast<int>(std::lround(std::clamp(points * 2, 1.0, 3276.0))));

    if (f.fontWeight() >= QFont::DemiBold)
        out += "\\b";
    if (f.fontItalic())
        out += "\\i";
    if (f.fontUnderline() || f.underlineStyle() != QTextCharFormat::NoUnderline)
        out += "\\ul";
    if (f.fontStrikeOut())
        out += "\\strike";
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        appendWord(out, "cf", colorIndex(f.foreground().color()));
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        appendWord(out, "highlight", colorIndex(f.background().color()));

    const int shift = f.intProperty(kRtfBaselineShift);
    // Raised or lowered text: as superscript or subscript, which word
    // processors draw small (LibreOffice draws \up and \dn at full size),
    // with the size LibreOffice gave it and, for Tolvi, the exact offset.
    const int size = f.intProperty(kRtfShiftedSize) > 0 ? f.intProperty(kRtfShiftedSize) : 5800;
    switch (f.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
        out += "\\super";
        if (shift > 0)
            out += "{\\*\\updnprop" + QByteArray::number(size) + "}{\\*\\tolvishift" + QByteArray::number(shift) + '}';
        break;
    case QTextCharFormat::AlignSubScript:
        out += "\\sub";
        if (shift < 0)
            out += "{\\*\\updnprop" + QByteArray::number(size) + "}{\\*\\tolvishift" + QByteArray::number(shift) + '}';
        break;
    default: break;
    }
    if (!out.endsWith('}'))
        out += ' ';  // ends the last control word
    return out;
}

QByteArray RtfWriter::paraProps(const QTextBlockFormat& f) const
{
    QByteArray out;
    const Qt::Alignment h = f.alignment() & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignHCenter)
        out += "\\qc";
    else if (h & Qt::AlignJustify)
        out += "\\qj";
    else if (h & Qt::AlignRight)
        out += "\\qr";
    if (f.layoutDirection() == Qt::RightToLeft)
        out += "\\rtlpar";
    if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        out += "\\pagebb";
    if (const int v = twips(f.leftMargin()))
        appendWord(out, "li", v);
    if (const int v = twips(f.rightMargin()))
        appendWord(out, "ri", v);
    if (const int v = twips(f.textIndent()))
        appendWord(out, "fi", v);
    if (const int v = twips(f.topMargin()))
        appendWord(out, "sb", v);
    if (const int v = twips(f.bottomMargin()))
        appendWord(out, "sa", v);
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (f.lineHeight() > 0 && std::lround(f.lineHeight() * 2.4) != 240) {
            appendWord(out, "sl", static_cast<int>(std::lround(f.lineHeight() * 2.4)));
            out += "\\slmult1";
        }
        break;
    case QTextBlockFormat::FixedHeight:
        if (const int v = twips(f.lineHeight()); v > 0) {
            appendWord(out, "sl", -v);
            out += "\\slmult0";
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        if (const int v = twips(f.lineHeight()); v > 0) {
            appendWord(out, "sl", v);
            out += "\\slmult0";
        }
        break;
    default: break;  // extra spacing between lines has no RTF equivalent
    }
    return out;
}

void RtfWriter::writeImage(QByteArray& out, const QTextImageFormat& f) const
{
    if (f.hasProperty(kRtfPictureData) && f.hasProperty(kRtfPictureKind)) {
        writeOriginalPicture(out, f);
        return;
    }
    const QVariant resource = doc_.resource(QTextDocument::ImageResource, QUrl(f.name()));
    QByteArray bytes;
    QImage image;
    const char* blip = "pngblip";
    if (resource.typeId() == QMetaType::QByteArray) {
        bytes = resource.toByteArray();
        image = QImage::fromData(bytes);
        if (bytes.startsWith("\xFF\xD8\xFF"))
            blip = "jpegblip";
        else if (!bytes.startsWith("\x89PNG"))
            bytes.clear();
    } else if (resource.typeId() == QMetaType::QImage) {
        image = resource.value<QImage>();
    } else if (resource.typeId() == QMetaType::QPixmap) {
        image = resource.value<QPixmap>().toImage();
    }
    if (image.isNull())
        return;  // nothing to show: the picture is left out
    if (bytes.isEmpty()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }

    // Shown size: as set in the document, else the picture's own.
    double width = f.width();
    double height = f.height();
    if (width <= 0 && height <= 0) {
        width = image.width();
        height = image.height();
    } else if (width <= 0) {
        width = height * image.width() / image.height();
    } else if (height <= 0) {
        height = width * image.height() / image.width();
    }
    // A size beyond any page shrinks, keeping its proportions.
    if (!std::isfinite(width) || !std::isfinite(height)) {
        width = image.width();
        height = image.height();
    }
    if (const double over = std::max(width, height) * kTwipsPerPixel / kMaxTwips; over > 1) {
        width /= over;
        height /= over;
    }
    width = std::max(width, 1.0 / kTwipsPerPixel);
    height = std::max(height, 1.0 / kTwipsPerPixel);

    out += "{\\pict\\";
    out += blip;
    appendWord(out, "picw", image.width());
    appendWord(out, "pich", image.height());
    appendWord(out, "picwgoal", twips(width));
    appendWord(out, "pichgoal", twips(height));
    out += '\n';
    const QByteArray hex = bytes.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        out += hex.mid(i, 128);
        out += '\n';
    }
    out += '}';
}

void RtfWriter::writeBlock(QByteArray& body, const QTextBlock& block, const char* end, int depth)
{
    if (noteBlocks_.contains(block.blockNumber()))
        return;  // written with its mark
    body += "\\pard\\plain";
    if (depth > 0)
        body += "\\intbl";
    if (depth > 1)
        appendWord(body, "itap", depth);
    body += paraProps(block.blockFormat());
    const bool list = listOf(block) >= 0;
    if (list)
        writeListParagraph(body, block);  // its words, then its mark
    else
        body += ' ';
    // A paragraph wholly hidden: its end hidden too.
    const bool hidden = block.blockFormat().boolProperty(kRtfHiddenParagraph) && std::string_view(end) == "\\par";
    if (block.length() <= 1) {
        // An empty line keeps the size of its paragraph mark.
        body += '{';
        body += charProps(block.charFormat());
        if (hidden)
            body += "\\v";
        body += end;
        body += "}\n";
        return;
    }
    writeFragments(body, block, list);
    body += hidden ? "{\\v\\par}" : end;
    body += '\n';
}

void RtfWriter::writeFragments(QByteArray& body, const QTextBlock& block, bool skipListMark)
{
    QString field;  // the instruction of the field being written
    auto closeField = [&] {
        if (!field.isEmpty())
            body += "}}";
        field.clear();
    };
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (format.boolProperty(kRtfSoftBreak))
            continue;  // a break the reader put into a long word
        if (skipListMark && format.boolProperty(kRtfListMark))
            continue;  // written as the item's mark
        skipListMark = false;
        // Fields: their instruction, then the text of their result. A link
        // made in the document is a HYPERLINK field.
        QString instruction = format.stringProperty(kRtfField);
        if (instruction.isEmpty() && format.isAnchor() && !format.anchorHref().isEmpty())
            instruction = QStringLiteral("HYPERLINK \"%1\"").arg(format.anchorHref());
        if (instruction != field) {
            closeField();
            if (!instruction.isEmpty()) {
                body += "{\\field{\\*\\fldinst ";
                appendText(body, instruction);
                body += "}{\\fldrslt ";
                field = instruction;
            }
        }
        body += '{';
        body += charProps(format);
        if (format.isImageFormat()) {
            // One picture for each object mark of the fragment.
            for (qsizetype i = 0; i < fragment.text().size(); ++i)
                writeImage(body, format.toImageFormat());
        } else if (format.hasProperty(kRtfHiddenText)) {
            // Hidden text, once for each of its marks.
            for (qsizetype i = 0; i < fragment.text().size(); ++i) {
                body += "\\v ";
                appendText(body, format.stringProperty(kRtfHiddenText));
                body += "\\v0 ";
            }
        } else if (format.hasProperty(kRtfPictureData)) {
            // Pictures that could not be shown, as they came.
            for (qsizetype n = fragment.text().count(kPictureNotShown); n > 0; --n)
                writeOriginalPicture(body, format);
        } else if (const int note = format.intProperty(kRtfFootnote); note > 0) {
            // The note where its mark stands. LibreOffice gives the mark in
            // the note the look the text has where the note begins: a note
            // whose mark is raised is written in the group of the raised
            // mark of the text, as LibreOffice writes it; others after it.
            body += "\\chftn";
            if (!inNote_) {
                const bool raised = noteMarkRaised(note);
                if (!raised)
                    body += '}';
                writeFootnote(body, note);
                if (!raised)
                    continue;
            }
        } else {
            appendText(body, fragment.text());
        }
        body += "}";
    }
    closeField();
}

bool RtfWriter::noteMarkRaised(int note) const
{
    for (const QTextBlock& b : notes_.value(note))
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().intProperty(kRtfFootnote) > 0)
                return it.fragment().charFormat().verticalAlignment() == QTextCharFormat::AlignSuperScript;
    return false;
}

// A footnote where its mark stands: its paragraphs, the last one without
// its end.
void RtfWriter::writeFootnote(QByteArray& body, int note)
{
    const QList<QTextBlock> blocks = notes_.take(note);
    if (blocks.isEmpty())
        return;
    inNote_ = true;
    body += "{\\*\\footnote";
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        body += "\\pard\\plain";
        body += paraProps(blocks[i].blockFormat());
        const bool list = listOf(blocks[i]) >= 0;
        if (list)
            writeListParagraph(body, blocks[i]);
        else
            body += ' ';
        writeFragments(body, blocks[i], list);
        if (i + 1 < blocks.size())
            body += "\\par\n";
    }
    body += "}";
    inNote_ = false;
}

QByteArray RtfWriter::write()
{
    QByteArray body;
    collectLists();
    // Footnotes stand at the end of the document: each is written with its
    // mark, where a mark for it is.
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next())
        if (const int note = b.blockFormat().intProperty(kRtfFootnote); note > 0)
            notes_[note].append(b);
    QHash<int, QList<QTextBlock>> notes = notes_;
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd() && !b.blockFormat().hasProperty(kRtfFootnote); ++it)
            if (it.fragment().charFormat().intProperty(kRtfFootnote) > 0)
                notes.remove(it.fragment().charFormat().intProperty(kRtfFootnote));
    // Notes without a mark stay paragraphs of the text.
    for (auto it = notes.cbegin(); it != notes.cend(); ++it)
        notes_.remove(it.key());
    for (const QList<QTextBlock>& blocks : std::as_const(notes_))
        for (const QTextBlock& b : blocks)
            noteBlocks_.insert(b.blockNumber());
    QTextFrame* root = doc_.rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            if (const auto* table = qobject_cast<const QTextTable*>(frame)) {
                writeTable(body, *table);
            } else {
                QTextBlock b = doc_.findBlock(frame->firstPosition());
                for (; b.isValid() && b.position() <= frame->lastPosition(); b = b.next())
                    writeBlock(body, b, "\\par", 0);
            }
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (block == doc_.begin() && block.length() <= 1) {
            // The document's first block, empty, before a table: it is
            // there because a document cannot begin with a table.
            auto next = it;
            ++next;
            if (!next.atEnd() && qobject_cast<QTextTable*>(next.currentFrame()))
                continue;
        }
        // A block the reader cut from a long paragraph: no paragraph end.
        const QTextBlock after = block.next();
        const bool goesOn = after.isValid() && after.blockFormat().boolProperty(kRtfParagraphGoesOn)
            && !it.currentFrame();
        writeBlock(body, block, goesOn ? "" : "\\par", 0);
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036\\uc1\n{\\fonttbl";
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        out += '{';
        appendWord(out, "f", static_cast<int>(i));
        out += "\\fnil\\fcharset0 ";
        appendText(out, fonts_[i], true);
        out += ";}";
    }
    out += "}\n{\\colortbl;";
    for (const QColor& c : colors_) {
        appendWord(out, "red", c.red());
        appendWord(out, "green", c.green());
        appendWord(out, "blue", c.blue());
        out += ';';
    }
    out += "}\n";
    out += listTables();
    out += "{\\*\\generator Tolvi;}\\viewkind4\n";
    // Headers and footers as they came.
    out += doc_.property(kRtfHeadersProperty).toByteArray();
    out += body;
    out += "}\n";
    return out;
}

}  // namespace tolvi::rtfwrite

namespace tolvi {

QByteArray writeRtf(const QTextDocument& document)
{
    return rtfwrite::RtfWriter(document).write();
}

}  // namespace tolvi
