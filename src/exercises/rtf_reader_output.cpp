#include "exercises/rtf_reader.h"
#include "exercises/rtf_reader_state.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace tolvi::rtf {

Encoding RtfReader::currentEncoding() const
{
    const int font = stack_.back().ch.font;
    auto it = fonts_.constFind(font >= 0 ? font : defaultFont_);
    if (it == fonts_.constEnd())
        it = fonts_.constFind(defaultFont_);
    if (it != fonts_.constEnd())
        return it->encoding;
    return Encoding{Encoding::CodePage, documentCodePage_};
}

void RtfReader::textByte(unsigned char b)
{
    GroupState& s = state();
    switch (s.dest) {
    case Destination::Skip:
    case Destination::ShapeInstructions:
        return;
    case Destination::Picture:
        hexByte(b);
        return;
    case Destination::FontTable:
        if (!fontOpen_)
            return;
        if (fallbackToSkip_ > 0) {
            --fallbackToSkip_;
            return;
        }
        if (b == ';')
            commitFont();
        else if (b >= 0x20 && fontNameBytes_.size() + fontName_.size() < kMaxFontName)
            fontNameBytes_.append(char(b));
        return;
    case Destination::ColorTable:
        if (b == ';') {
            if (colors_.size() < kMaxTableEntries)
                colors_.append(colorGiven_ ? std::optional<QColor>(QColor(red_, green_, blue_))
                                           : std::nullopt);
            colorGiven_ = false;
            red_ = green_ = blue_ = 0;
        }
        return;
    case Destination::ListTable:
    case Destination::ListOverrides:
        return;
    case Destination::ListLevelText:
        listTextByte(b);
        return;
    case Destination::FieldInstruction:
        if (b >= 0x20 && fieldInstruction_.size() < kMaxFieldInstruction)
            fieldInstruction_.append(QChar(decoder_.byte(isMultiByte(documentCodePage_) ? 1252 : documentCodePage_, b)));
        return;
    case Destination::Text:
        break;
    }
    if (b == '\r' || b == '\n')
        return;  // line ends of the file are not text
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    if (b == '\t') {
        appendText(QChar(u'\t'));
        return;
    }
    if (b < 0x20)
        return;
    const Encoding e = currentEncoding();
    switch (e.kind) {
    case Encoding::Symbol: appendText(QChar(symbolToUnicode(b))); return;
    case Encoding::Wingdings: appendText(QChar(wingdingsToUnicode(b))); return;
    case Encoding::CodePage: break;
    }
    if (!isMultiByte(e.codePage)) {
        appendText(QChar(decoder_.byte(e.codePage, b)));
        return;
    }
    // A character of two bytes: decoded when its text ends.
    if (!bytes_.isEmpty() && bytesCodePage_ != e.codePage)
        decodeBytes();
    bytesCodePage_ = e.codePage;
    bytes_.append(char(b));
}

void RtfReader::hexByte(unsigned char b)
{
    const int v = hexValue(b);
    if (v < 0 || picture_.tooLarge)
        return;
    if (picture_.nibble < 0) {
        picture_.nibble = v;
        return;
    }
    if (picture_.data.size() >= kMaxPictureBytes) {
        picture_.tooLarge = true;
        picture_.data.clear();
        return;
    }
    picture_.data.append(static_cast<char>(picture_.nibble * 16 + v));
    picture_.nibble = -1;
}

void RtfReader::unicodeChar(int code)
{
    // \uN is a signed 16-bit number: characters above U+7FFF are negative.
    if (code < 0)
        code += 65536;
    if (code < 0 || code > 0xFFFF)
        return;
    if (code == '\t') {
        appendText(QChar(u'\t'));
        return;
    }
    if (code < 0x20)
        return;
    // Signs of the Symbol and Wingdings fonts, as Word keeps them. In other
    // fonts a private-use character is that font's own.
    const Encoding e = currentEncoding();
    if (e.kind != Encoding::CodePage)
        code = privateUseToUnicode(char16_t(code), e.kind == Encoding::Wingdings);
    else if (state().listText)
        code = listMarkToUnicode(char16_t(code));  // a bullet whose symbol font was not kept
    appendText(QChar(char16_t(code)));
}

void RtfReader::appendText(QChar c)
{
    if (!bytes_.isEmpty())
        decodeBytes();
    const GroupState& s = state();
    if (s.dest != Destination::Text)
        return;
    pending_.append(c);
}

void RtfReader::decodeBytes()
{
    decoder_.append(bytesCodePage_, bytes_, pending_);
    bytes_.clear();
}

// --- Output ------------------------------------------------------------------

QTextCharFormat RtfReader::charFormat()
{
    // Formats are shared, not made again for each piece of text: a
    // paragraph of many pieces in a few looks costs little memory.
    const CharState& c = stack_.back().ch;
    for (const auto& [state, format] : formats_)
        if (state == c)
            return format;
    QTextCharFormat f = makeCharFormat();
    if (formats_.size() >= 16)
        formats_.erase(formats_.begin());
    formats_.emplace_back(c, f);
    return f;
}

QTextCharFormat RtfReader::makeCharFormat() const
{
    const CharState& c = stack_.back().ch;
    QTextCharFormat f;
    if (c.field >= 0 && c.field < fields_.size()) {
        const QString& instruction = fields_[c.field];
        f.setProperty(kRtfField, instruction);
        static const QRegularExpression link(QStringLiteral("^\\s*HYPERLINK\\s+(?:\\\\l\\s+)?\"?([^\"\\s]+)"));
        if (const auto m = link.match(instruction); m.hasMatch()) {
            f.setAnchor(true);
            f.setAnchorHref(m.captured(1));
        }
    }
    if (c.noteMark > 0)
        f.setProperty(kRtfFootnote, c.noteMark);
    if (c.listMark)
        f.setProperty(kRtfListMark, true);
    const auto font = fonts_.constFind(c.font);
    // Text of a symbol font has been turned into Unicode: it shows in the
    // document's font.
    if (font != fonts_.constEnd() && !font->family.isEmpty() && font->encoding.kind == Encoding::CodePage)
        f.setFontFamilies({font->family});
    else if (const auto def = fonts_.constFind(defaultFont_);
             def != fonts_.constEnd() && !def->family.isEmpty() && def->encoding.kind == Encoding::CodePage)
        f.setFontFamilies({def->family});
    f.setFontPointSize(c.halfPoints / 2.0);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    f.setFontStrikeOut(c.strike);
    if (c.color >= 0 && c.color < colors_.size() && colors_[c.color])
        f.setForeground(*colors_[c.color]);
    if (c.highlight >= 0 && c.highlight < colors_.size() && colors_[c.highlight])
        f.setBackground(*colors_[c.highlight]);
    if (c.shift != 0) {
        // Shown as superscript or subscript, raised or lowered by the given
        // amount (a percentage of the line height, about 1.15 em).
        const double percent = std::min(100.0, std::abs(c.shift) / 2.0 / (c.halfPoints / 2.0 * 1.15) * 100.0);
        if (c.shift > 0) {
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            f.setSuperScriptBaseline(percent);
        } else {
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
            f.setSubScriptBaseline(percent);
        }
        f.setProperty(kRtfBaselineShift, c.shift);
        if (c.shiftedSize > 0)
            f.setProperty(kRtfShiftedSize, c.shiftedSize);
    } else if (c.script == Script::Super) {
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if (c.script == Script::Sub) {
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    return f;
}

QTextBlockFormat RtfReader::blockFormat() const
{
    const ParaState& p = stack_.back().para;
    QTextBlockFormat f;
    if (p.rightToLeft) {
        // Written from the right: lines start at the right margin unless
        // the paragraph says otherwise.
        f.setLayoutDirection(Qt::RightToLeft);
        if (p.alignGiven && p.align == Align::Left)
            f.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        else if (!p.alignGiven)
            f.setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    }
    switch (p.align) {
    case Align::Left: break;
    case Align::Center: f.setAlignment(Qt::AlignHCenter); break;
    case Align::Right: f.setAlignment(Qt::AlignRight | (p.rightToLeft ? Qt::AlignAbsolute : Qt::Alignment())); break;
    case Align::Justify: f.setAlignment(Qt::AlignJustify); break;
    }
    if (p.left)
        f.setLeftMargin(p.left / kTwipsPerPixel);
    if (p.right)
        f.setRightMargin(p.right / kTwipsPerPixel);
    if (p.first)
        f.setTextIndent(p.first / kTwipsPerPixel);
    if (p.before)
        f.setTopMargin(p.before / kTwipsPerPixel);
    if (p.after)
        f.setBottomMargin(p.after / kTwipsPerPixel);
    if (p.line != 0) {
        if (p.lineMultiple && p.line > 0)
            f.setLineHeight(p.line / 2.4, QTextBlockFormat::ProportionalHeight);
        else if (!p.lineMultiple && p.line > 0)
            f.setLineHeight(p.line / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
        else if (!p.lineMultiple)
            f.setLineHeight(-p.line / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
    return f;
}

void RtfReader::flushText()
{
    if (!bytes_.isEmpty())
        decodeBytes();
    if (pending_.isEmpty())
        return;
    // Characters the document gives a meaning of its own (block and frame
    // separators, object marks), and halves of characters without their other
    // half, are not text.
    QString text;
    text.reserve(pending_.size());
    for (qsizetype i = 0; i < pending_.size(); ++i) {
        const QChar c = pending_[i];
        const char16_t u = c.unicode();
        if (u == 0x2029 || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFC || u == 0xFEFF || u == 0xFFFF
            || (u < 0x20 && u != u'\t'))
            continue;
        if (c.isHighSurrogate()) {
            if (i + 1 < pending_.size() && pending_[i + 1].isLowSurrogate()) {
                text.append(c);
                text.append(pending_[++i]);
            }
            continue;
        }
        if (c.isLowSurrogate())
            continue;
        text.append(c);
    }
    pending_.clear();
    if (!text.isEmpty() && state().ch.hidden)
        addHiddenText(text);
    else if (!text.isEmpty())
        para_.add(text, charFormat());
    // A long paragraph of many formats: its text so far becomes a block.
    if (para_.text.size() > kMaxBlockText && !rowOpen_ && !state().para.inTable && openNotes_.empty()) {
        endParagraph();
        paragraphGoesOn_ = true;
    }
}

// Hidden text: kept in a mark of its format, not shown. Hidden text right
// after hidden text of the same look goes into the same mark.
void RtfReader::addHiddenText(const QString& text)
{
    QTextCharFormat format = charFormat();
    if (!para_.pieces.empty()) {
        Piece& last = para_.pieces.back();
        QTextCharFormat lastLook = last.format;
        lastLook.clearProperty(kRtfHiddenText);
        if (last.format.hasProperty(kRtfHiddenText) && lastLook == format) {
            last.format.setProperty(kRtfHiddenText, last.format.stringProperty(kRtfHiddenText) + text);
            return;
        }
    }
    format.setProperty(kRtfHiddenText, text);
    para_.add(QStringView(u"\u2060"), format);
}

// The paragraph read so far ends: into the cell of the table being read, or
// into the document.
void RtfReader::endParagraph()
{
    flushText();
    para_.block = blockFormat();
    para_.mark = charFormat();
    applyList(para_, state().para);
    if (state().ch.hidden && std::all_of(para_.pieces.begin(), para_.pieces.end(), [](const Piece& p) {
            return p.format.hasProperty(kRtfHiddenText);
        })) {
        // Its end hidden too: the paragraph is not shown.
        para_.block.setProperty(kRtfHiddenParagraph, true);
        hiddenParagraphs_ = true;
    }
    if (!openNotes_.empty()) {
        para_.block.setProperty(kRtfFootnote, openNotes_.back().second);
        if (notes_.size() < 100000)
            notes_.push_back(std::move(para_));
        para_ = Paragraph{};
        return;
    }
    if (paragraphGoesOn_ && !rowOpen_ && !state().para.inTable) {
        para_.block.setProperty(kRtfParagraphGoesOn, true);
        paragraphGoesOn_ = false;
    }
    if (pageBreakPending_ && !rowOpen_ && !state().para.inTable) {
        para_.block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        pageBreakPending_ = false;
    }
    if (rowOpen_ || state().para.inTable || !outerTables_.empty()) {
        setTableDepth(paragraphDepth());
        currentCell().paragraphs.push_back(std::move(para_));
    } else {
        finishTable();
        insertParagraph(cursor_, para_, freshBlock_);
        freshBlock_ = false;
    }
    para_ = Paragraph{};
}

void RtfReader::commitFont()
{
    if (!fontOpen_)
        return;
    fontOpen_ = false;
    if (fonts_.size() >= kMaxTableEntries && !fonts_.contains(fontNumber_))
        return;
    decoder_.append(fontCharset_ == 2 ? 1252 : codePageOfCharset(fontCharset_, documentCodePage_), fontNameBytes_,
                    fontName_);
    fontNameBytes_.clear();
    FontEntry e;
    e.family = fontName_.trimmed();
    e.encoding = fontEncoding(e.family, fontCharset_, fontCodePage_, documentCodePage_);
    fonts_.insert(fontNumber_, e);
}

// --- Breaks, footnotes and fields -------------------------------------------

void RtfReader::pageBreak()
{
    flushText();
    if (!para_.empty())
        endParagraph();
    pageBreakPending_ = true;
}

// \chftn: the number of the note that follows, or in a note its own; both
// marked, so that they are written back as marks.
void RtfReader::footnoteMark()
{
    const int number = openNotes_.empty() ? noteCount_ + 1 : openNotes_.back().second;
    CharState& c = state().ch;
    const CharState kept = c;
    flushText();
    c.noteMark = number;
    const QString digits = QString::number(number);
    for (const QChar d : digits)
        appendText(d);
    flushText();
    c = kept;
}

void RtfReader::startFootnote()
{
    GroupState& s = state();
    if (!deepGroups_.empty() || !openNotes_.empty() || noteCount_ >= 100000) {
        s.dest = Destination::Skip;  // a note in a note is not kept
        return;
    }
    flushText();
    outerParagraphs_.push_back(std::move(para_));
    para_ = Paragraph{};
    openNotes_.emplace_back(int(stack_.size()), ++noteCount_);
    s.para = ParaState{};
}

void RtfReader::endFootnote()
{
    flushText();
    if (!para_.empty())
        endParagraph();
    openNotes_.pop_back();
    para_ = std::move(outerParagraphs_.back());
    outerParagraphs_.pop_back();
}

void RtfReader::fieldResult()
{
    GroupState& s = state();
    s.dest = Destination::Text;
    const QString instruction = fieldInstruction_.trimmed();
    fieldInstruction_.clear();
    if (instruction.isEmpty() || fields_.size() >= 100000)
        return;
    if (fields_.isEmpty() || fields_.back() != instruction)
        fields_.append(instruction);
    s.ch.field = int(fields_.size()) - 1;
}

}  // namespace tolvi::rtf
