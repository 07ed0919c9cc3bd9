// The reader's lists: the list table and the list each paragraph belongs to.
// An item's mark is the text of its \listtext, as the file gives it; when
// that is missing, or blank for a numbered level (AbiWord writes its
// numbered items so), the mark is made from the list table, as word
// processors number it.
#include "exercises/rtf_reader.h"
#include "exercises/rtf_reader_state.h"

#include <algorithm>

namespace tolvi::rtf {

namespace {

constexpr qsizetype kMaxLists = 1000;
constexpr qsizetype kMaxLevelText = 64;

}  // namespace

void RtfReader::listTableWord(const Token& t)
{
    const std::string_view w = t.word;
    GroupState& s = state();
    if (s.dest == Destination::ListOverrides) {
        if (w == "listoverride") {
            overrideListGiven_ = overrideNumberGiven_ = false;
        } else if (w == "listid" || w == "ls") {
            (w == "ls" ? overrideNumber_ : overrideList_) = t.param;
            (w == "ls" ? overrideNumberGiven_ : overrideListGiven_) = true;
            if (overrideListGiven_ && overrideNumberGiven_ && overrides_.size() < kMaxLists)
                overrides_.insert(overrideNumber_, overrideList_);
        }
        return;
    }
    if (s.dest == Destination::ListLevelText) {
        if (w == "u" && levelText_.size() < kMaxLevelText) {
            levelText_.append(QChar(char16_t(t.param)));
            fallbackToSkip_ = s.uc;
        }
        return;
    }
    ListLevel* level = listOpen_ && listLevel_ >= 0 && listLevel_ < kListLevels ? &lists_.back()[size_t(listLevel_)] : nullptr;
    const int v = std::clamp(t.param, -31680, 31680);
    if (w == "list") {
        listOpen_ = lists_.size() < size_t(kMaxLists);
        if (listOpen_)
            lists_.emplace_back();
        listLevel_ = -1;
    } else if (w == "listlevel") {
        if (listOpen_ && listLevel_ + 1 < kListLevels) {
            ++listLevel_;
            lists_.back()[size_t(listLevel_)] = ListLevel{};
            lists_.back()[size_t(listLevel_)].given = true;
        } else {
            listLevel_ = kListLevels;
        }
    } else if (w == "listid") {
        if (listOpen_)
            listIds_.insert(t.param, int(lists_.size()) - 1);
    } else if (w == "leveltext") {
        s.dest = Destination::ListLevelText;
        levelText_.clear();
    } else if (w == "levelnumbers" || w == "listname" || w == "liststylename") {
        s.dest = Destination::Skip;
    } else if (!level) {
        return;
    } else if (w == "levelnfc" || w == "levelnfcn") {
        level->numbering = std::clamp(t.param, 0, kNoNumbering);
    } else if (w == "levelstartat") {
        level->start = std::clamp(t.param, 0, 1000000);
    } else if (w == "f") {
        level->font = t.param;
    } else if (w == "li") {
        level->left = v;
    } else if (w == "fi") {
        level->first = v;
    }
}

// A byte of a level's text: below 0x20 the text's length or a level's
// number, as they are; else a character of the document's code page.
void RtfReader::listTextByte(unsigned char b)
{
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    if (levelText_.size() >= kMaxLevelText)
        return;
    if (b < 0x20)
        levelText_.append(QChar(char16_t(b)));
    else
        levelText_.append(QChar(decoder_.byte(isMultiByte(documentCodePage_) ? 1252 : documentCodePage_, b)));
}

// The level's text ends: its first character is its length (the ';' after
// it may have been taken for the fallback of a \u before it).
void RtfReader::commitLevelText()
{
    if (!listOpen_ || listLevel_ < 0 || listLevel_ >= kListLevels || levelText_.isEmpty())
        return;
    ListLevel& level = lists_.back()[size_t(listLevel_)];
    const qsizetype length = std::min<qsizetype>(levelText_.front().unicode(), levelText_.size() - 1);
    level.text.clear();
    for (const QChar c : QStringView(levelText_).sliced(1, length))
        if (c.unicode() < kListLevels || c.unicode() >= 0x20)
            level.text.append(c);
}

void RtfReader::applyList(Paragraph& p, const ParaState& ps)
{
    if (ps.list <= 0)
        return;
    p.block.setProperty(kRtfList, ps.list);
    p.block.setProperty(kRtfListLevel, ps.level);
    const auto id = overrides_.constFind(ps.list);
    const auto index = id == overrides_.constEnd() ? listIds_.constEnd() : listIds_.constFind(*id);
    if (index == listIds_.constEnd())
        return;  // a list the table does not describe: its marks are as they came
    const ListLevels& levels = lists_[size_t(*index)];
    if (listCounters_.size() <= size_t(*index))
        listCounters_.resize(size_t(*index) + 1);
    const std::array<int, kListLevels>& counters = listCounters_[size_t(*index)].next(levels, ps.level);
    const ListLevel& level = levels[size_t(ps.level)];
    if (!level.given)
        return;

    // The level's text, its signs of Symbol or Wingdings in Unicode.
    ListLevels shown = levels;
    for (ListLevel& l : shown) {
        const auto font = fonts_.constFind(l.font);
        const Encoding::Kind kind = font == fonts_.constEnd() ? Encoding::CodePage : font->encoding.kind;
        for (QChar& c : l.text) {
            const char16_t u = c.unicode();
            if (u < 0x20)
                continue;
            if (kind == Encoding::Symbol && u < 0x100)
                c = QChar(symbolToUnicode(static_cast<unsigned char>(u)));
            else if (kind == Encoding::Wingdings && u < 0x100)
                c = QChar(wingdingsToUnicode(static_cast<unsigned char>(u)));
            else if (u >= 0xF020 && u <= 0xF0FF)
                c = QChar(kind == Encoding::CodePage ? listMarkToUnicode(u)
                                                     : privateUseToUnicode(u, kind == Encoding::Wingdings));
        }
    }
    const ListLevel& look = shown[size_t(ps.level)];
    p.block.setProperty(kRtfListNumbering, look.numbering);
    p.block.setProperty(kRtfListStart, look.start);
    p.block.setProperty(kRtfListTemplate, look.text);

    // The mark as the file gives it, unless it is blank.
    size_t marks = 0;
    QString given;
    for (; marks < p.pieces.size() && p.pieces[marks].format.boolProperty(kRtfListMark); ++marks)
        given += QStringView(p.text).sliced(p.pieces[marks].start, p.pieces[marks].length);
    // A blank mark stands for a number (AbiWord writes its numbered items
    // so); a bullet left blank is shown blank, as the file's writer showed it.
    if (!given.trimmed().isEmpty() || (marks > 0 && look.numbering == kBulletNumbering))
        return;
    const QString label = listLabel(shown, ps.level, counters);
    if (label.isEmpty())
        return;
    QTextCharFormat format = marks > 0 ? p.pieces[0].format
        : !p.pieces.empty() && !p.pieces[0].format.isImageFormat() ? p.pieces[0].format
                                                                   : p.mark;
    format.setProperty(kRtfListMark, true);
    Paragraph numbered;
    numbered.block = p.block;
    numbered.mark = p.mark;
    numbered.add(label + u'\t', format);
    Paragraph rest;
    rest.text = std::move(p.text);
    rest.pieces.assign(p.pieces.begin() + std::ptrdiff_t(marks), p.pieces.end());
    rest.wordLength = p.wordLength;
    numbered.append(rest);
    p = std::move(numbered);
}

}  // namespace tolvi::rtf
