// Lists as RTF lists: a list table (\listtable: the look of each level) and
// an override table (\listoverridetable: the \ls number of each list), each
// item a paragraph with its \ls and \ilvl, its mark in \listtext for readers
// without lists. The lists are those the reader read (block properties
// kRtfList ...) and those made in the document (QTextList).
#include "exercises/rtf_reader.h"
#include "exercises/rtf_writer_impl.h"

#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>

#include <algorithm>

namespace tolvi::rtfwrite {

namespace {

using rtf::kBulletNumbering;
using rtf::kListLevels;
using rtf::ListLevel;
using rtf::ListLevels;

// Bullets of the levels, one after the other, as word processors give them.
constexpr char16_t kBullets[] = {0x2022, 0x25E6, 0x25AA};

QString listKey(const QTextBlock& block)
{
    if (const QTextList* list = block.textList())
        return QStringLiteral("q%1").arg(quintptr(list));
    if (block.blockFormat().hasProperty(kRtfList))
        return QStringLiteral("r%1").arg(block.blockFormat().intProperty(kRtfList));
    return {};
}

int levelOf(const QTextBlock& block)
{
    if (const QTextList* list = block.textList())
        return std::clamp(list->format().indent() - 1, 0, kListLevels - 1);
    return std::clamp(block.blockFormat().intProperty(kRtfListLevel), 0, kListLevels - 1);
}

// The text of the item's mark, as the reader kept it.
QString markText(const QTextBlock& block)
{
    QString text;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (!f.charFormat().boolProperty(kRtfListMark))
            break;
        text += f.text();
    }
    return text;
}

// The look of a level as the block shows it.
ListLevel levelLook(const QTextBlock& block, int level)
{
    ListLevel l;
    l.given = true;
    const QTextBlockFormat bf = block.blockFormat();
    if (const QTextList* list = block.textList()) {
        const QTextListFormat lf = list->format();
        l.start = 1;
        switch (lf.style()) {
        case QTextListFormat::ListDisc: l.numbering = kBulletNumbering, l.text = QChar(0x2022); break;
        case QTextListFormat::ListCircle: l.numbering = kBulletNumbering, l.text = QChar(0x25E6); break;
        case QTextListFormat::ListSquare: l.numbering = kBulletNumbering, l.text = QChar(0x25AA); break;
        case QTextListFormat::ListLowerAlpha: l.numbering = 4; break;
        case QTextListFormat::ListUpperAlpha: l.numbering = 3; break;
        case QTextListFormat::ListLowerRoman: l.numbering = 2; break;
        case QTextListFormat::ListUpperRoman: l.numbering = 1; break;
        default: l.numbering = 0; break;
        }
        if (l.numbering != kBulletNumbering)
            l.text = lf.numberPrefix() + QChar(char16_t(level))
                + (lf.hasProperty(QTextFormat::ListNumberSuffix) ? lf.numberSuffix() : QStringLiteral("."));
        l.left = 720 * (level + 1);
        l.first = -360;
        return l;
    }
    l.left = twips(bf.leftMargin());
    l.first = twips(bf.textIndent());
    if (bf.hasProperty(kRtfListNumbering) && bf.hasProperty(kRtfListTemplate)) {
        l.numbering = std::clamp(bf.intProperty(kRtfListNumbering), 0, rtf::kNoNumbering);
        l.start = std::clamp(bf.intProperty(kRtfListStart), 0, 1000000);
        l.text = bf.stringProperty(kRtfListTemplate).left(60);
        return l;
    }
    // A list the file did not describe: numbered when its mark is a number.
    const QString mark = markText(block).trimmed();
    if (mark.isEmpty()) {
        l.numbering = rtf::kNoNumbering;  // nor does it show a mark
    } else if (mark.front().isDigit()) {
        l.numbering = 0;
        l.text = QChar(char16_t(level)) + QStringLiteral(".");
    } else {
        l.numbering = kBulletNumbering;
        l.text = mark.front();
    }
    return l;
}

// The level's text as \leveltext gives it: its length, then its characters,
// the levels' numbers as \'00 to \'08; and the places of those numbers
// (\levelnumbers).
void appendLevelText(QByteArray& out, const QString& text)
{
    out += "{\\leveltext";
    out += "\\'" + QByteArray::number(std::min<qsizetype>(text.size(), 255), 16).rightJustified(2, '0');
    QByteArray numbers;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < kListLevels) {
            out += "\\'0" + QByteArray::number(u);
            numbers += "\\'" + QByteArray::number(i + 1, 16).rightJustified(2, '0');
        } else {
            appendText(out, text.mid(i, 1));
        }
    }
    out += ";}{\\levelnumbers";
    out += numbers;
    out += ";}";
}

}  // namespace

void RtfWriter::collectLists()
{
    for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
        const QString key = listKey(b);
        if (key.isEmpty())
            continue;
        auto it = listIndices_.constFind(key);
        if (it == listIndices_.constEnd()) {
            it = listIndices_.insert(key, int(lists_.size()));
            lists_.emplace_back();
        }
        const int level = levelOf(b);
        ListLevel& l = lists_[size_t(*it)][size_t(level)];
        if (!l.given)
            l = levelLook(b, level);
    }
    // Levels no item uses: numbered as the list's first level is, further in.
    for (ListLevels& levels : lists_) {
        const auto first = std::find_if(levels.begin(), levels.end(), [](const ListLevel& l) { return l.given; });
        const bool bullets = first == levels.end() || first->numbering == kBulletNumbering;
        for (int i = 0; i < kListLevels; ++i) {
            ListLevel& l = levels[size_t(i)];
            if (l.given)
                continue;
            l.numbering = bullets ? kBulletNumbering : 0;
            l.text = bullets ? QString(QChar(kBullets[i % 3])) : QString(QChar(char16_t(i))) + u'.';
            l.start = 1;
            l.left = 720 * (i + 1);
            l.first = -360;
        }
    }
}

int RtfWriter::listOf(const QTextBlock& block) const
{
    const QString key = listKey(block);
    return key.isEmpty() ? -1 : listIndices_.value(key, -1);
}

QByteArray RtfWriter::listTables() const
{
    if (lists_.empty())
        return {};
    QByteArray out = "{\\*\\listtable\n";
    for (size_t i = 0; i < lists_.size(); ++i) {
        out += "{\\list\\listtemplateid";
        out += QByteArray::number(qulonglong(i) + 1);
        out += "\\listhybrid\n";
        for (const ListLevel& l : lists_[i]) {
            out += "{\\listlevel";
            appendWord(out, "levelnfc", l.numbering);
            appendWord(out, "levelnfcn", l.numbering);
            out += "\\leveljc0\\leveljcn0\\levelfollow0";
            appendWord(out, "levelstartat", l.start);
            out += "\\levelspace0\\levelindent0";
            appendLevelText(out, l.text);
            appendWord(out, "fi", std::clamp(l.first, -31680, 31680));
            appendWord(out, "li", std::clamp(l.left, -31680, 31680));
            appendWord(out, "lin", std::clamp(l.left, -31680, 31680));
            out += "}\n";
        }
        out += "{\\listname ;}";
        appendWord(out, "listid", int(i) + 1);
        out += "}\n";
    }
    out += "}\n{\\*\\listoverridetable";
    for (size_t i = 0; i < lists_.size(); ++i) {
        out += "{\\listoverride";
        appendWord(out, "listid", int(i) + 1);
        out += "\\listoverridecount0";
        appendWord(out, "ls", int(i) + 1);
        out += '}';
    }
    out += "}\n";
    return out;
}

// The words of a list's item and its mark, after its paragraph's words.
void RtfWriter::writeListParagraph(QByteArray& body, const QTextBlock& block)
{
    const int list = listOf(block);
    const int level = levelOf(block);
    appendWord(body, "ls", list + 1);
    appendWord(body, "ilvl", level);
    const QTextList* textList = block.textList();
    if (textList && twips(block.blockFormat().leftMargin()) == 0) {
        // Qt indents its lists itself: the level's indents.
        const ListLevel& l = lists_[size_t(list)][size_t(level)];
        appendWord(body, "fi", l.first);
        appendWord(body, "li", l.left);
    }
    body += ' ';
    if (textList) {
        // The bullet or number as text, then a tab.
        QString mark;
        switch (textList->format().style()) {
        case QTextListFormat::ListDisc: mark = QChar(0x2022); break;
        case QTextListFormat::ListCircle: mark = QChar(0x25E6); break;
        case QTextListFormat::ListSquare: mark = QChar(0x25AA); break;
        default: mark = textList->itemText(block); break;
        }
        body += "{\\listtext ";
        body += charProps(block.charFormat());
        appendText(body, mark);
        body += "\\tab}";
        return;
    }
    // The mark the reader kept, in its look.
    auto it = block.begin();
    if (it.atEnd() || !it.fragment().charFormat().boolProperty(kRtfListMark))
        return;
    body += "{\\listtext ";
    body += charProps(it.fragment().charFormat());
    appendText(body, markText(block));
    body += '}';
}

}  // namespace tolvi::rtfwrite
