#pragma once
// What the RTF tests compare: a document as a list of paragraphs, each a list
// of runs of text with the formatting that shows.

#include "exercises/rtf_reader.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <cmath>

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// LibreOffice's program, the word processor at hand for reading what Tolvi
// writes; the test is skipped, with the reason, where it is not installed.
#define TOLVI_NEEDS_SOFFICE(name)                                    \
    const QString name = QStandardPaths::findExecutable("soffice"); \
    if (name.isEmpty())                                              \
    GTEST_SKIP() << "LibreOffice (soffice) is not installed"

namespace tolvi::rtftest {

struct TextRun {
    QString text;
    QString family;
    double points = 0;
    bool bold = false, italic = false, underline = false, strike = false;
    QString color;       // "#rrggbb", empty: automatic
    QString background;  // empty: none
    int script = 0;      // QTextCharFormat::VerticalAlignment
    int shift = 0;       // kRtfBaselineShift
    QImage image;        // a picture, shown at imageWidth x imageHeight
    double imageWidth = 0, imageHeight = 0;

    bool sameFormat(const TextRun& o) const
    {
        return family == o.family && points == o.points && bold == o.bold && italic == o.italic
            && underline == o.underline && strike == o.strike && color == o.color
            && background == o.background && script == o.script && shift == o.shift;
    }
    // Text that can be one run with `o`: same format, and no picture.
    bool sameLook(const TextRun& o) const { return sameFormat(o) && image.isNull() && o.image.isNull(); }
    bool operator==(const TextRun& o) const
    {
        return text == o.text && sameFormat(o) && image == o.image
            && std::abs(imageWidth - o.imageWidth) < 0.05 && std::abs(imageHeight - o.imageHeight) < 0.05;
    }
};

struct Paragraph {
    int align = 0;
    double left = 0, right = 0, indent = 0, before = 0, after = 0;
    int lineType = 0;
    double line = 0;
    std::vector<TextRun> runs;

    bool operator==(const Paragraph& o) const
    {
        auto near = [](double a, double b) { return std::abs(a - b) < 0.05; };
        return align == o.align && near(left, o.left) && near(right, o.right) && near(indent, o.indent)
            && near(before, o.before) && near(after, o.after) && lineType == o.lineType
            && near(line, o.line) && runs == o.runs;
    }
};

inline std::ostream& operator<<(std::ostream& os, const TextRun& r)
{
    return os << "[" << r.text.toStdString() << "|" << r.family.toStdString() << " " << r.points
              << (r.bold ? " b" : "") << (r.italic ? " i" : "") << (r.underline ? " u" : "")
              << (r.strike ? " s" : "") << " " << r.color.toStdString() << " bg" << r.background.toStdString()
              << " va" << r.script << " sh" << r.shift << (r.image.isNull() ? "" : " image ") << r.image.width() << "x" << r.image.height() << " shown "
              << r.imageWidth << "x" << r.imageHeight << "]";
}

inline std::ostream& operator<<(std::ostream& os, const Paragraph& p)
{
    os << "{align " << p.align << " li " << p.left << " ri " << p.right << " fi " << p.indent << " sb "
       << p.before << " sa " << p.after << " line " << p.lineType << "/" << p.line << ":";
    for (const TextRun& r : p.runs)
        os << " " << r;
    return os << "}";
}

inline std::vector<Paragraph> paragraphs(const QTextDocument& doc)
{
    std::vector<Paragraph> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        Paragraph p;
        p.align = int(bf.alignment() & Qt::AlignHorizontal_Mask);
        p.left = bf.leftMargin();
        p.right = bf.rightMargin();
        p.indent = bf.textIndent();
        p.before = bf.topMargin();
        p.after = bf.bottomMargin();
        p.lineType = bf.lineHeightType();
        p.line = bf.lineHeight();
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const QTextCharFormat f = fr.charFormat();
            if (f.hasProperty(kRtfHiddenText))
                continue;  // hidden text: not shown
            TextRun r;
            r.text = fr.text();
            if (f.isImageFormat()) {
                const QTextImageFormat im = f.toImageFormat();
                r.image = doc.resource(QTextDocument::ImageResource, QUrl(im.name()))
                              .value<QImage>()
                              .convertToFormat(QImage::Format_ARGB32);
                r.imageWidth = im.width();
                r.imageHeight = im.height();
                p.runs.push_back(r);
                continue;
            }
            r.family = f.fontFamilies().toStringList().value(0);
            r.points = f.fontPointSize();
            r.bold = f.fontWeight() >= QFont::DemiBold;
            r.italic = f.fontItalic();
            r.underline = f.fontUnderline();
            r.strike = f.fontStrikeOut();
            if (f.hasProperty(QTextFormat::ForegroundBrush))
                r.color = f.foreground().color().name();
            if (f.hasProperty(QTextFormat::BackgroundBrush))
                r.background = f.background().color().name();
            r.script = f.verticalAlignment();
            r.shift = f.intProperty(kRtfBaselineShift);
            // Runs of the same look are one run, however the file cut them.
            if (!p.runs.empty() && p.runs.back().sameLook(r))
                p.runs.back().text += r.text;
            else
                p.runs.push_back(r);
        }
        out.push_back(p);
    }
    return out;
}

inline QByteArray testData(const char* name)
{
    QFile f(QStringLiteral(TOLVI_SOURCE_DIR "/tests/exercises/data/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// The text of a document as it shows, paragraphs separated by '\n'.
inline QString plainText(const QTextDocument& doc)
{
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString line;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (!it.fragment().charFormat().hasProperty(kRtfHiddenText))
                line += it.fragment().text();
        lines << line;
    }
    return lines.join(u'\n');
}

// The runs of a document with their text.
inline QString runText(const std::vector<Paragraph>& ps, size_t para, size_t run)
{
    if (para >= ps.size() || run >= ps[para].runs.size())
        return QStringLiteral("<none>");
    return ps[para].runs[run].text;
}

}  // namespace tolvi::rtftest
