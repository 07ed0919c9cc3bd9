#include "exercises/rtf_writer.h"

#include "exercises/rtf_reader.h"
#include "text/cp1252.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QTextList>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace tolvi {

namespace {

// Documents are laid out at 96 dots per inch: 15 twips to the pixel.
constexpr double kTwipsPerPixel = 15.0;

// Lengths beyond 22 inches (31 680 twips) are beyond any page: they are
// written at that bound, never as a number that overflows.
constexpr double kMaxTwips = 31680;

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
void appendText(QByteArray& out, const QString& text, bool inFontTable = false)
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

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& document) : doc_(document)
    {
        const QFont font = doc_.defaultFont();
        defaultFamily_ = font.family();
        defaultPoints_ = font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
        fontIndex(defaultFamily_);  // \f0, the default font
    }

    QByteArray write();

private:
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    QByteArray charProps(const QTextCharFormat& f);
    QByteArray paraProps(const QTextBlockFormat& f) const;
    void writeImage(QByteArray& out, const QTextImageFormat& f) const;

    const QTextDocument& doc_;
    QString defaultFamily_;
    double defaultPoints_ = 12.0;
    QStringList fonts_;
    QHash<QString, int> fontIndices_;
    QList<QColor> colors_;
    QHash<QRgb, int> colorIndices_;
};

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
    switch (f.verticalAlignment()) {
    case QTextCharFormat::AlignSuperScript:
        if (shift > 0)
            appendWord(out, "up", shift);
        else
            out += "\\super";
        break;
    case QTextCharFormat::AlignSubScript:
        if (shift < 0)
            appendWord(out, "dn", -shift);
        else
            out += "\\sub";
        break;
    default: break;
    }
    out += ' ';
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

QByteArray RtfWriter::write()
{
    QByteArray body;
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
        body += "\\pard\\plain";
        body += paraProps(block.blockFormat());
        body += ' ';
        if (const QTextList* list = block.textList()) {
            // Lists are written as word processors write them for readers
            // without lists: the bullet or number as text, then a tab.
            QString mark;
            switch (list->format().style()) {
            case QTextListFormat::ListDisc: mark = QChar(0x2022); break;
            case QTextListFormat::ListCircle: mark = QChar(0x25E6); break;
            case QTextListFormat::ListSquare: mark = QChar(0x25AA); break;
            default: mark = list->itemText(block); break;
            }
            body += "{\\listtext ";
            body += charProps(block.charFormat());
            appendText(body, mark);
            body += "\\tab}";
        }
        if (block.length() <= 1) {
            // An empty line keeps the size of its paragraph mark.
            body += '{';
            body += charProps(block.charFormat());
            body += "\\par}\n";
            continue;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            body += '{';
            body += charProps(format);
            if (format.isImageFormat()) {
                // One picture for each object mark of the fragment.
                for (qsizetype i = 0; i < fragment.text().size(); ++i)
                    writeImage(body, format.toImageFormat());
            } else {
                appendText(body, fragment.text());
            }
            body += "}";
        }
        body += "\\par\n";
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
    out += "}\n{\\*\\generator Tolvi;}\\viewkind4\n";
    out += body;
    out += "}\n";
    return out;
}

}  // namespace

QByteArray writeRtf(const QTextDocument& document)
{
    return RtfWriter(document).write();
}

}  // namespace tolvi
