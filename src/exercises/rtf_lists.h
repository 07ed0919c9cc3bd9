#pragma once
// Lists of RTF texts: what a level of a list looks like (\listlevel of the
// list table), how its items are numbered, and the properties the reader
// gives a list's paragraphs so that the writer writes them back as a list.

#include <QString>
#include <QTextFormat>

#include <array>

namespace tolvi {

// Block properties of a paragraph of a list: the list it belongs to (\ls),
// its level (\ilvl, 0 to 8), and the look of that level: its numbering
// (\levelnfc: 0 1, 2, 3; 1 I, II; 2 i, ii; 3 A, B; 4 a, b; 23 a bullet;
// 255 nothing), its first number (\levelstartat) and its text, where the
// characters U+0000 to U+0008 stand for the numbers of levels 0 to 8
// ("\u0000." for "1.", "\u0000.\u0001." for "2.1.", "•" for a bullet).
inline constexpr int kRtfList = QTextFormat::UserProperty + 0x5B;
inline constexpr int kRtfListLevel = QTextFormat::UserProperty + 0x5C;
inline constexpr int kRtfListNumbering = QTextFormat::UserProperty + 0x5D;
inline constexpr int kRtfListStart = QTextFormat::UserProperty + 0x5E;
inline constexpr int kRtfListTemplate = QTextFormat::UserProperty + 0x5F;
// Character property of the text of a list item's mark (its bullet or
// number and the tab after it, \listtext): shown as text, written back as
// the item's mark.
inline constexpr int kRtfListMark = QTextFormat::UserProperty + 0x60;

namespace rtf {

inline constexpr int kListLevels = 9;
inline constexpr int kBulletNumbering = 23;
inline constexpr int kNoNumbering = 255;

struct ListLevel {
    int numbering = 0;  // \levelnfc
    int start = 1;      // \levelstartat
    QString text;       // \leveltext, levels' numbers as U+0000 to U+0008
    int font = -1;      // \f of the level: the font of a bullet
    int left = 0, first = 0;  // \li \fi, twips
    bool given = false;
};

using ListLevels = std::array<ListLevel, kListLevels>;

// A number written as a level numbers it: 1, I, i, A, a, 01; nothing for
// bullets. Numbers too large for letters or Roman figures are in figures.
QString listNumber(int value, int numbering);

// The mark of an item of `level`, the numbers of each level being in
// `counters`.
QString listLabel(const ListLevels& levels, int level, const std::array<int, kListLevels>& counters);

// The numbers of a list as its items go by: an item of a level counts on
// from the one before it at that level, and the levels below it start again.
class ListCounter {
public:
    // The numbers after an item of `level` in a list of these levels.
    const std::array<int, kListLevels>& next(const ListLevels& levels, int level);

private:
    std::array<int, kListLevels> counters_{};
    std::array<bool, kListLevels> started_{};
};

}  // namespace rtf

}  // namespace tolvi
