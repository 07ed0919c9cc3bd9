#pragma once
// The RTF writer's own parts, shared by rtf_writer.cpp (text, paragraphs,
// pictures, notes, the file), rtf_writer_tables.cpp (tables) and
// rtf_writer_lists.cpp (lists).

#include "exercises/rtf_lists.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextBlock>

#include <vector>

class QTextDocument;
class QTextFormat;
class QTextImageFormat;
class QTextTable;
class QTextTableCellFormat;
class QTextTableFormat;

namespace tolvi::rtfwrite {

// Documents are laid out at 96 dots per inch: 15 twips to the pixel.
inline constexpr double kTwipsPerPixel = 15.0;

// Lengths beyond 22 inches (31 680 twips) are beyond any page: they are
// written at that bound, never as a number that overflows.
inline constexpr double kMaxTwips = 31680;

int twips(double pixels);
void appendWord(QByteArray& out, const char* word, int value);
// Text in RTF: Windows-1252 characters as they are (ASCII) or as \'hh, others
// as \uN with a '?' fallback.
void appendText(QByteArray& out, const QString& text, bool inFontTable = false);
// A picture's data as the file gave it, with its words.
void writeOriginalPicture(QByteArray& out, const QTextFormat& f);

class RtfWriter {
public:
    explicit RtfWriter(const QTextDocument& document);

    QByteArray write();

private:
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    QByteArray charProps(const QTextCharFormat& f);
    QByteArray paraProps(const QTextBlockFormat& f) const;
    // A paragraph, `depth` tables deep (0: outside tables).
    void writeBlock(QByteArray& body, const QTextBlock& block, const char* end, int depth);
    void writeTable(QByteArray& body, const QTextTable& table, int depth = 1);
    void writeBorder(QByteArray& out, const char* word, const QTextTableCellFormat& f, int side,
                     const QTextTableFormat& table);
    void writeImage(QByteArray& out, const QTextImageFormat& f) const;
    void writeFragments(QByteArray& body, const QTextBlock& block, bool skipListMark = false);
    void writeFootnote(QByteArray& body, int note);
    bool noteMarkRaised(int note) const;

    // Lists: each list of the document (a list the reader read, or a list
    // made in the document) is one list of the file.
    void collectLists();
    int listOf(const QTextBlock& block) const;
    QByteArray listTables() const;
    void writeListParagraph(QByteArray& body, const QTextBlock& block);

    const QTextDocument& doc_;
    QString defaultFamily_;
    double defaultPoints_ = 12.0;
    QStringList fonts_;
    QHash<QString, int> fontIndices_;
    QList<QColor> colors_;
    QHash<QRgb, int> colorIndices_;
    // The paragraphs of each footnote, written where its mark stands.
    QHash<int, QList<QTextBlock>> notes_;
    QSet<int> noteBlocks_;  // numbers of the blocks written in their note
    bool inNote_ = false;
    QHash<QString, int> listIndices_;
    std::vector<rtf::ListLevels> lists_;
};

}  // namespace tolvi::rtfwrite
