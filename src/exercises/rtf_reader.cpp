#include "exercises/rtf_reader.h"

#include "exercises/rtf_reader_state.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace tolvi {

namespace rtf {

bool RtfReader::run(QString* error)
{
    // Leading blanks are tolerated; then "{\rtf". Data that is not RTF
    // leaves the document as it was.
    if (!tokens_.startsRtf()) {
        if (error)
            *error = QStringLiteral("Ce fichier n'est pas un texte au format RTF.");
        return false;
    }
    // Each piece of text in a format of its own costs the document and its
    // layout some 170 bytes: a text cut into pieces of a few bytes each
    // ({\b x}{\i y} ...) would take more than twenty times its size. Beyond
    // kMaxDensePieces such pieces it is refused before anything is read.
    const qsizetype groups = tokens_.count('{');
    if (groups > kMaxDensePieces && groups * 10 > tokens_.size()) {
        if (error)
            *error = QStringLiteral("Ce texte est trop morcelé pour être affiché : il compte %1 passages mis en "
                                    "forme, Tolvi en affiche au plus %2 quand ils sont si courts.")
                         .arg(groups)
                         .arg(kMaxDensePieces);
        return false;
    }
    doc_.clear();
    const bool undo = doc_.isUndoRedoEnabled();
    doc_.setUndoRedoEnabled(false);
    struct RestoreUndo {
        QTextDocument& d;
        bool on;
        ~RestoreUndo() { d.setUndoRedoEnabled(on); }
    } restore{doc_, undo};

    // One edit for the whole reading: otherwise every insertion lays its
    // paragraph out again (the cursor measures where it stands), and a long
    // paragraph of many formats takes time with the square of its length.
    cursor_.beginEditBlock();
    stack_.reserve(64);
    stack_.push_back(GroupState{});  // outside every group
    while (true) {
        const Token t = tokens_.next();
        if (t.kind == Token::End)
            break;
        switch (t.kind) {
        case Token::Open: openGroup(); break;
        case Token::Close: closeGroup(); break;
        case Token::Word: controlWord(t); break;
        case Token::Symbol: controlSymbol(t.byte); break;
        case Token::Byte: textByte(t.byte); break;
        case Token::End: break;
        }
        if (stack_.size() == 1)
            break;  // the document's group is closed: what follows is not RTF
    }
    if (state().dest == Destination::Picture)
        finishPicture();  // data cut short: keep the picture if it decodes
    flushText();
    // A note cut short ends with its paragraph, and gives back the one its
    // mark stands in, which ends here like any other.
    while (!openNotes_.empty())
        endFootnote();
    if (!para_.empty())
        endParagraph();
    if (rowOpen_)
        endRow();
    finishTable();
    // Footnotes at the end of the text, each a numbered paragraph.
    for (const Paragraph& note : notes_) {
        insertParagraph(cursor_, note, freshBlock_);
        freshBlock_ = false;
    }
    cursor_.endEditBlock();
    if (hiddenParagraphs_)
        doc_.markContentsDirty(0, doc_.characterCount());  // blocks made invisible
    doc_.setProperty(kRtfHeadersProperty, headers_.isEmpty() ? QVariant() : QVariant(headers_));
    return true;
}

void RtfReader::openGroup()
{
    flushText();
    fallbackToSkip_ = 0;
    if (stack_.size() > kMaxDepth) {
        deepGroups_.push_back(state().dest);
        return;
    }
    stack_.push_back(stack_.back());
    stack_.back().start = tokens_.position() - 1;
    stack_.back().keepRaw = false;
}

void RtfReader::closeGroup()
{
    flushText();
    fallbackToSkip_ = 0;
    starPending_ = false;
    if (!deepGroups_.empty()) {
        const Destination closing = state().dest;
        state().dest = deepGroups_.back();
        deepGroups_.pop_back();
        if (closing == Destination::Picture && state().dest != Destination::Picture)
            finishPicture();
        return;
    }
    if (stack_.size() <= 1)
        return;  // unbalanced closing brace: ignored
    const Destination closing = stack_.back().dest;
    if (stack_.back().keepRaw && headers_.size() < kMaxPictureBytes) {
        headers_ += tokens_.slice(stack_.back().start, tokens_.position()).toByteArray();
        headers_ += '\n';
    }
    if (!openNotes_.empty() && openNotes_.back().first == int(stack_.size()))
        endFootnote();
    stack_.pop_back();
    const Destination outer = stack_.back().dest;
    if (shapeWithPicture_ > int(stack_.size()))
        shapeWithPicture_ = 0;  // the shape ends
    if (closing == Destination::Picture && outer != Destination::Picture)
        finishPicture();
    if (closing == Destination::ListLevelText && outer != Destination::ListLevelText)
        commitLevelText();
    if (closing == Destination::FontTable)
        commitFont();  // an entry without its ';'
    if (closing == Destination::ColorTable && outer != Destination::ColorTable && colorGiven_) {
        colors_.append(QColor(red_, green_, blue_));  // last entry without its ';'
        colorGiven_ = false;
    }
}

// --- Control words -----------------------------------------------------------

void RtfReader::controlWord(const Token& t)
{
    const std::string_view w = t.word;
    GroupState& s = state();

    // Binary data: its bytes are not RTF, wherever it stands, even in a
    // group that is skipped.
    if (w == "bin") {
        const QByteArrayView bytes = tokens_.take(t.hasParam ? std::max(0, t.param) : 0);
        if (s.dest == Destination::Picture && !starPending_ && !picture_.tooLarge) {
            if (picture_.data.size() + bytes.size() > kMaxPictureBytes)
                picture_.tooLarge = true;
            else
                picture_.data.append(bytes);
        }
        return;
    }

    if (starPending_) {
        starPending_ = false;
        // Optional destinations: all skipped but the pictures of shapes, the
        // size of raised text and the end of a nested table's row.
        if (w == "shppict" && s.dest != Destination::Skip)
            return;  // its \pict follows
        if (w == "shpinst" && s.dest != Destination::Skip) {
            s.dest = Destination::ShapeInstructions;
            s.shapeDepth = int(stack_.size());
            return;
        }
        if (w == "fldrslt" && s.dest == Destination::Text) {
            fieldResult();
            return;
        }
        if (w == "fldinst" && s.dest == Destination::Text) {
            s.dest = Destination::FieldInstruction;
            fieldInstruction_.clear();
            return;
        }
        if (w == "footnote" && s.dest == Destination::Text) {
            startFootnote();
            return;
        }
        if ((w == "listtable" || w == "listoverridetable") && s.dest == Destination::Text) {
            s.dest = w == "listtable" ? Destination::ListTable : Destination::ListOverrides;
            return;
        }
        if (w == "updnprop" && s.dest == Destination::Text && t.hasParam) {
            // {\*\updnprop5800}: a group of its own, for the text around it.
            const int size = std::clamp(t.param, 0, 100000);
            (stack_.size() >= 2 && deepGroups_.empty() ? stack_[stack_.size() - 2] : s).ch.shiftedSize = size;
        }
        if (w == "tolvishift" && s.dest == Destination::Text && t.hasParam) {
            // Tolvi's own: the exact offset of text written as \super or \sub.
            CharState& around = (stack_.size() >= 2 && deepGroups_.empty() ? stack_[stack_.size() - 2] : s).ch;
            around.shift = std::clamp(t.param, -3276, 3276);
        }
        if (w == "nesttableprops" && s.dest == Destination::Text && !outerTables_.empty()) {
            // The definition of a row of a table in a cell, and its end.
            flushText();
            return;
        }
        s.dest = Destination::Skip;
        return;
    }
    if (s.dest == Destination::Skip)
        return;

    if (s.dest == Destination::Picture) {
        if (w == "pngblip" || w == "jpegblip" || w == "emfblip" || w == "wmetafile" || w == "macpict"
            || w == "pmmetafile" || w == "dibitmap" || w == "wbitmap") {
            picture_.kind = QByteArray(w.data(), qsizetype(w.size()));
        }
        // Its words, written back with its data.
        if (picture_.words.size() < 512) {
            picture_.words += '\\';
            picture_.words += QByteArray(w.data(), qsizetype(w.size()));
            if (t.hasParam)
                picture_.words += QByteArray::number(t.param);
        }
        if (w == "picwgoal" && t.hasParam)
            picture_.goalWidth = t.param;
        else if (w == "pichgoal" && t.hasParam)
            picture_.goalHeight = t.param;
        else if (w == "picscalex" && t.hasParam)
            picture_.scaleX = t.param;
        else if (w == "picscaley" && t.hasParam)
            picture_.scaleY = t.param;
        return;
    }

    if (s.dest == Destination::FontTable) {
        fontTableWord(t);
        return;
    }
    if (s.dest == Destination::ListTable || s.dest == Destination::ListLevelText
        || s.dest == Destination::ListOverrides) {
        listTableWord(t);
        return;
    }
    if (s.dest == Destination::FieldInstruction) {
        if (w == "u" && fieldInstruction_.size() < kMaxFieldInstruction)
            fieldInstruction_.append(QChar(char16_t(t.param)));
        return;
    }

    if (s.dest == Destination::ColorTable) {
        const int v = std::clamp(t.param, 0, 255);
        if (w == "red")
            red_ = v, colorGiven_ = true;
        else if (w == "green")
            green_ = v, colorGiven_ = true;
        else if (w == "blue")
            blue_ = v, colorGiven_ = true;
        return;
    }

    // Fallback of a Unicode character: a control word counts as one character.
    if (fallbackToSkip_ > 0 && w != "u") {
        --fallbackToSkip_;
        return;
    }

    if (destinationWord(w))
        return;

    if (w == "u") {
        unicodeChar(t.param);
        fallbackToSkip_ = s.uc;
        return;
    }
    if (w == "uc") {
        s.uc = std::clamp(t.param, 0, 16);
        return;
    }
    if (w == "deff") {
        defaultFont_ = t.param;
        return;
    }
    if (w == "ansicpg" && t.param > 0) {
        documentCodePage_ = t.param;
        codePageGiven_ = true;
        return;
    }
    if ((w == "mac" || w == "pc" || w == "pca") && !codePageGiven_) {
        documentCodePage_ = w == "mac" ? 10000 : w == "pc" ? 437 : 850;
        return;
    }

    // Characters named by a control word.
    struct Named {
        std::string_view word;
        char16_t ch;
    };
    static constexpr Named named[] = {
        {"tab", u'\t'},       {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003},
        {"enspace", 0x2002},  {"qmspace", 0x2005},   {"bullet", 0x2022},    {"lquote", 0x2018},
        {"rquote", 0x2019},   {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"line", 0x2028},
        {"zwj", 0x200D},      {"zwnj", 0x200C},      {"zwbo", 0x200B},
    };
    for (const Named& n : named) {
        if (w == n.word) {
            appendText(QChar(n.ch));
            return;
        }
    }

    flushText();
    const bool text = s.dest == Destination::Text;
    if (w == "par") {
        if (text)
            endParagraph();
    } else if (w == "sect" || w == "column") {
        // Word ends a section's last paragraph with \sect alone.
        if (text && !para_.empty())
            endParagraph();
    } else if (w == "page") {
        if (text)
            pageBreak();
    } else if (w == "chftn") {
        if (text)
            footnoteMark();
    } else if (w == "listtext") {
        s.listText = true;
        s.ch.listMark = true;
    } else if (w == "cell") {
        if (text)
            endCell();
    } else if (w == "row") {
        if (text)
            endRow();
    } else if (w == "nestcell") {
        if (text)
            endCell(std::max(2, paragraphDepth()));
    } else if (w == "nestrow") {
        if (text && !outerTables_.empty())
            endRow(std::max(2, paragraphDepth()));
    } else if (!characterWord(w, t.hasParam, t.param) && !paragraphWord(w, t.hasParam, t.param)) {
        tableWord(w, t.hasParam, t.param);
    }
}

void RtfReader::fontTableWord(const Token& t)
{
    const std::string_view w = t.word;
    if (w == "f") {
        commitFont();
        fontNumber_ = t.hasParam ? t.param : 0;
        fontName_.clear();
        fontNameBytes_.clear();
        fontCharset_ = -1;
        fontCodePage_ = -1;
        fontOpen_ = true;
    } else if (w == "fcharset" && t.hasParam) {
        fontCharset_ = t.param;
    } else if (w == "cpg" && t.hasParam && t.param > 0) {
        fontCodePage_ = t.param;
    } else if (w == "u" && fontOpen_ && fontName_.size() < kMaxFontName) {
        decoder_.append(fontCharset_ == 2 ? 1252 : codePageOfCharset(fontCharset_, documentCodePage_),
                        fontNameBytes_, fontName_);
        fontNameBytes_.clear();
        fontName_.append(QChar(char16_t(t.param)));
        fallbackToSkip_ = state().uc;
    }
}

// Destinations: groups whose content is not plain text of the document.
bool RtfReader::destinationWord(std::string_view w)
{
    GroupState& s = state();
    if (w == "fonttbl") {
        s.dest = Destination::FontTable;
        fontOpen_ = false;
        return true;
    }
    if (w == "colortbl") {
        s.dest = Destination::ColorTable;
        colors_.clear();
        colorGiven_ = false;
        red_ = green_ = blue_ = 0;
        return true;
    }
    if (w == "pict") {
        s.dest = Destination::Picture;
        picture_ = Picture{};
        return true;
    }
    if (w == "shpinst") {
        s.dest = Destination::ShapeInstructions;
        s.shapeDepth = int(stack_.size());
        return true;
    }
    if (w == "fldinst") {
        s.dest = Destination::FieldInstruction;
        fieldInstruction_.clear();
        return true;
    }
    if (w == "fldrslt") {
        fieldResult();
        return true;
    }
    if (w == "footnote") {
        startFootnote();
        return true;
    }
    if (w == "listtable" || w == "listoverridetable") {
        s.dest = w == "listtable" ? Destination::ListTable : Destination::ListOverrides;
        return true;
    }
    static constexpr std::string_view headers[] = {"header",  "headerl", "headerr", "headerf",
                                                   "footer",  "footerl", "footerr", "footerf"};
    for (std::string_view k : headers) {
        if (w == k) {
            s.dest = Destination::Skip;
            s.keepRaw = stack_.size() > 1 && deepGroups_.empty();
            return true;
        }
    }
    static constexpr std::string_view skipped[] = {
        "stylesheet", "info",      "revtbl",    "rsidtbl",
        "annotation",        "atnid",     "atnauthor",
        "objdata",   "objclass",  "objname",           "nonshppict", "shprslt",
        "xe",         "tc",        "txe",       "rxe",               "bkmkstart", "bkmkend",
        "template",   "filetbl",   "pnseclvl",  "datafield",         "docvar",    "pn",
        "listpicture", "pgdsctbl", "themedata", "colorschememapping", "latentstyles", "generator",
        "userprops",  "ftnsep",    "ftnsepc",   "ftncn",             "aftnsep",   "aftnsepc",
        "fchars",     "lchars",    "mmathPr",   "xmlnstbl",          "wgrffmtfilter", "nonesttables",
    };
    for (std::string_view k : skipped) {
        if (w == k) {
            s.dest = Destination::Skip;
            return true;
        }
    }
    return false;
}

bool RtfReader::characterWord(std::string_view w, bool hasParam, int param)
{
    CharState& c = state().ch;
    const bool on = !hasParam || param != 0;
    if (w == "plain") {
        const bool listMark = c.listMark;
        c = CharState{};
        c.font = defaultFont_;
        c.listMark = listMark;
    } else if (w == "b") {
        c.bold = on;
    } else if (w == "i") {
        c.italic = on;
    } else if (w == "ul" || w == "uld" || w == "uldash" || w == "uldashd" || w == "uldashdd"
               || w == "uldb" || w == "ulhwave" || w == "ulldash" || w == "ulth" || w == "ulthd"
               || w == "ulthdash" || w == "ulthdashd" || w == "ulthdashdd" || w == "ulthldash"
               || w == "ululdbwave" || w == "ulw" || w == "ulwave") {
        c.underline = on;
    } else if (w == "ulnone") {
        c.underline = false;
    } else if (w == "strike" || w == "striked") {
        c.strike = on;
    } else if (w == "v" || w == "webhidden") {
        c.hidden = on;
    } else if (w == "f") {
        c.font = hasParam ? param : 0;
    } else if (w == "fs") {
        c.halfPoints = hasParam && param > 0 ? std::min(param, 3276) : 24;
    } else if (w == "cf") {
        c.color = param;
    } else if (w == "highlight" || w == "cb" || w == "chcbpat") {
        c.highlight = param > 0 ? param : -1;  // 0: no highlight, whatever colour 0 is
    } else if (w == "super") {
        c.script = on ? Script::Super : Script::None;
        c.shift = 0;
    } else if (w == "sub") {
        c.script = on ? Script::Sub : Script::None;
        c.shift = 0;
    } else if (w == "nosupersub") {
        c.script = Script::None;
        c.shift = 0;
    } else if (w == "up") {
        c.shift = hasParam ? std::clamp(param, 0, 3276) : 6;
        c.script = Script::None;
    } else if (w == "dn") {
        c.shift = -(hasParam ? std::clamp(param, 0, 3276) : 6);
        c.script = Script::None;
    } else {
        return false;
    }
    return true;
}

bool RtfReader::paragraphWord(std::string_view w, bool hasParam, int param)
{
    ParaState& p = state().para;
    const int v = std::clamp(param, -31680, 31680);  // 22 inches: beyond any page
    if (w == "pard") {
        p = ParaState{};
        borderTarget_ = BorderTarget::None;
    } else if (w == "ql")
        p.align = Align::Left, p.alignGiven = true;
    else if (w == "qc")
        p.align = Align::Center, p.alignGiven = true;
    else if (w == "qr")
        p.align = Align::Right, p.alignGiven = true;
    else if (w == "qj" || w == "qd")
        p.align = Align::Justify, p.alignGiven = true;
    else if (w == "rtlpar")
        p.rightToLeft = true;
    else if (w == "ltrpar")
        p.rightToLeft = false;
    else if (w == "pagebb")
        pageBreakPending_ = true;
    else if (w == "li")
        p.left = v;
    else if (w == "ri")
        p.right = v;
    else if (w == "fi")
        p.first = v;
    else if (w == "sb")
        p.before = std::max(0, v);
    else if (w == "sa")
        p.after = std::max(0, v);
    else if (w == "sl")
        p.line = hasParam ? v : 0;
    else if (w == "slmult")
        p.lineMultiple = !hasParam || param != 0;
    else if (w == "intbl")
        p.inTable = true;
    else if (w == "itap")
        p.depth = std::clamp(param, 0, kMaxTableDepth);
    else if (w == "ls")
        p.list = std::clamp(param, 0, 1 << 20);
    else if (w == "ilvl")
        p.level = std::clamp(param, 0, rtf::kListLevels - 1);
    else if (w == "brdrt" || w == "brdrl" || w == "brdrb" || w == "brdrr" || w == "box")
        borderTarget_ = BorderTarget::None;  // borders of a paragraph: not kept
    else
        return false;
    return true;
}

void RtfReader::controlSymbol(unsigned char c)
{
    GroupState& s = state();
    if (c == '*') {
        starPending_ = true;
        return;
    }
    if (c == '\'') {
        const int v = tokens_.hexByte();
        if (s.dest == Destination::Skip || v < 0)
            return;
        textByte(static_cast<unsigned char>(v));
        return;
    }
    if (s.dest == Destination::Skip)
        return;
    if (c == '\\' || c == '{' || c == '}') {
        textByte(c);
        return;
    }
    if (s.dest != Destination::Text)
        return;
    if (fallbackToSkip_ > 0) {
        --fallbackToSkip_;
        return;
    }
    switch (c) {
    case '~': appendText(QChar(0x00A0)); break;
    case '-': appendText(QChar(0x00AD)); break;
    case '_': appendText(QChar(0x2011)); break;
    case '\r':
    case '\n':
        flushText();
        endParagraph();
        break;
    default: break;  // \| \: and unknown symbols
    }
}

}  // namespace rtf

bool readRtf(const QByteArray& rtf, QTextDocument& document, QString* error, RtfReadNotes* notes)
{
    rtf::RtfReader reader(rtf, document);
    const bool ok = reader.run(error);
    if (notes)
        *notes = reader.report();
    return ok;
}

QString shownPlainText(const QTextDocument& document)
{
    // The document's plain text has a character for each position.
    QString text = document.toPlainText();
    std::vector<qsizetype> soft;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        if (!b.isVisible()) {
            // Its text and its end; the last block, the end before it.
            const qsizetype end = b.position() + b.length() - 1;
            if (end >= text.size() && b.position() > 0)
                soft.push_back(b.position() - 1);
            for (qsizetype i = b.position(); i <= end && i < text.size(); ++i)
                soft.push_back(i);
            continue;
        }
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().boolProperty(kRtfSoftBreak)
                || it.fragment().charFormat().hasProperty(kRtfHiddenText))
                for (int i = 0; i < it.fragment().length(); ++i)
                    soft.push_back(it.fragment().position() + i);
    }
    std::sort(soft.begin(), soft.end());
    soft.erase(std::unique(soft.begin(), soft.end()), soft.end());
    if (soft.empty())
        return text;
    QString out;
    out.reserve(text.size());
    size_t next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (next < soft.size() && soft[next] == i) {
            ++next;
            continue;
        }
        out.append(text[i]);
    }
    return out;
}

}  // namespace tolvi
