#include "exercises/rtf_reader.h"

#include "text/cp1252.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace tolvi {

namespace {

// Bounds that keep a damaged or hostile file harmless.
constexpr int kMaxDepth = 1000;  // nested groups with a state of their own
constexpr qsizetype kMaxPictureBytes = 16 << 20;     // one picture's data
constexpr qint64 kMaxPicturePixels = 4096LL * 4096;  // decoded picture size
constexpr int kMaxWordLength = 32;                   // letters of a control word
constexpr int kMaxDigits = 10;                       // digits of its parameter
constexpr int kMaxFontName = 256;
constexpr int kMaxTableEntries = 32768;  // fonts or colours
// Largest shown size of a picture: an A4 page's height at 96 dots per inch.
constexpr double kMaxPictureShown = 1123;

// Pixels per twip: documents are laid out at 96 dots per inch.
constexpr double kTwipsPerPixel = 15.0;

// --- Symbol fonts ----------------------------------------------------------

// The Symbol font (Greek letters and mathematical signs) maps its byte codes
// to other characters; text written in it is turned into Unicode.
char16_t symbolToUnicode(unsigned char b)
{
    // 0x40-0x7E
    static constexpr std::array<char16_t, 63> low = {
        0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,  // 40
        0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F,  // 48
        0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,  // 50
        0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F,  // 58
        0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3,  // 60
        0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,  // 68
        0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9,  // 70
        0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C,          // 78
    };
    // 0xA0-0xFE
    static constexpr std::array<char16_t, 95> high = {
        0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663,  // A0
        0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
        0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022,  // B0
        0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5,  // B8
        0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,  // C0
        0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209,  // C8
        0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,  // D0
        0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3,  // D8
        0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C,  // E0
        0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA,  // E8
        0xF8FF, 0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F,  // F0
        0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD,          // F8
    };
    switch (b) {
    case 0x22: return 0x2200;
    case 0x24: return 0x2203;
    case 0x27: return 0x220B;
    case 0x2A: return 0x2217;
    case 0x2D: return 0x2212;
    default: break;
    }
    if (b >= 0x40 && b <= 0x7E)
        return low[b - 0x40];
    if (b >= 0xA0 && b <= 0xFE)
        return high[b - 0xA0];
    return cp1252ToUnicode(b);
}

// Wingdings: only the signs word processors use as list bullets; the others
// go to the private-use area, where Windows puts them too.
char16_t wingdingsToUnicode(unsigned char b)
{
    switch (b) {
    case 0x6C: return 0x25CF;
    case 0x6E: return 0x25A0;
    case 0x71: return 0x2751;
    case 0x76: return 0x2756;
    case 0xA7: return 0x25AA;
    case 0xA8: return 0x25FB;
    case 0xD8: return 0x27A2;
    case 0xFC: return 0x2713;
    default: return char16_t(0xF000 + b);
    }
}

enum class Charset { Windows1252, Symbol, Wingdings };

struct FontEntry {
    QString family;
    Charset charset = Charset::Windows1252;
};

// --- Reader state ----------------------------------------------------------

enum class Destination {
    Text,        // the document's text
    Skip,        // ignored, groups only counted
    FontTable,
    ColorTable,
    Picture,
    ShapeInstructions,  // drawing object: text ignored, pictures kept
};

enum class Script { None, Super, Sub };

struct CharState {
    int font = -1;  // index in the font table, -1 for the default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int color = -1;      // colour table index; -1 or an automatic entry: automatic
    int highlight = -1;  // colour table index; -1: none
    Script script = Script::None;
    int shift = 0;  // \up (positive) or \dn (negative), half-points
};

enum class Align { Left, Center, Right, Justify };

struct ParaState {
    Align align = Align::Left;
    int left = 0, right = 0, first = 0;  // twips
    int before = 0, after = 0;            // twips
    int line = 0;                         // \sl, twips or 240ths of a line
    bool lineMultiple = false;            // \slmult1
};

struct GroupState {
    Destination dest = Destination::Text;
    CharState ch;
    ParaState para;
    int uc = 1;  // bytes of fallback after \uN
};

enum class PictureKind { None, Png, Jpeg, Other };

struct Picture {
    PictureKind kind = PictureKind::None;
    QByteArray data;
    int nibble = -1;  // pending high half of a hex byte
    bool tooLarge = false;
    int goalWidth = 0, goalHeight = 0;  // twips
    int scaleX = 100, scaleY = 100;     // percent
};

struct Token {
    enum Kind { End, Open, Close, Word, Symbol, Byte } kind = End;
    std::string_view word;  // control word letters, or the symbol
    bool hasParam = false;
    int param = 0;
    unsigned char byte = 0;  // Byte: a text byte; Symbol: the character
};

class RtfReader {
public:
    RtfReader(const QByteArray& rtf, QTextDocument& document)
        : data_(rtf), doc_(document), cursor_(&document)
    {
    }

    bool run(QString* error);

private:
    // Tokens
    Token next();
    int readHex(qsizetype at) const;

    // Groups
    void openGroup();
    void closeGroup();
    GroupState& state() { return stack_.back(); }

    // Handlers
    void controlWord(const Token& t);
    void controlSymbol(unsigned char c);
    void textByte(unsigned char b);
    void hexByte(unsigned char b);
    void unicodeChar(int code);
    bool destinationWord(std::string_view w);
    bool characterWord(std::string_view w, bool hasParam, int param);
    bool paragraphWord(std::string_view w, bool hasParam, int param);

    // Output
    void appendText(QChar c);
    void flushText();
    void ensureBlock();
    void endParagraph();
    void finishPicture();
    void commitFont();
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    Charset currentCharset() const;

    QByteArrayView data_;
    qsizetype pos_ = 0;
    QTextDocument& doc_;
    QTextCursor cursor_;
    std::vector<GroupState> stack_;
    // Groups nested deeper than kMaxDepth share the state of the deepest
    // one; only their destination is kept, so that a skipped group ends.
    std::vector<Destination> deepGroups_;

    QString pending_;  // text waiting to be inserted with the current format
    bool blockPending_ = false;  // a \par ended the block; the next one is not made yet
    bool cellPending_ = false;   // a \cell ended a cell; a tab goes before the next text
    int fallbackToSkip_ = 0;     // bytes of \uN fallback still to skip
    bool starPending_ = false;   // "\*" seen: the next control word is an optional destination

    QHash<int, FontEntry> fonts_;
    int defaultFont_ = -1;
    int fontNumber_ = -1;  // entry of the font table being read
    QString fontName_;
    Charset fontCharset_ = Charset::Windows1252;
    bool fontOpen_ = false;

    QList<std::optional<QColor>> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    Picture picture_;
    int imageCount_ = 0;
};

int hexValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

Token RtfReader::next()
{
    Token t;
    if (pos_ >= data_.size())
        return t;
    const auto c = static_cast<unsigned char>(data_[pos_]);
    if (c == '{') {
        ++pos_;
        t.kind = Token::Open;
        return t;
    }
    if (c == '}') {
        ++pos_;
        t.kind = Token::Close;
        return t;
    }
    if (c != '\\') {
        ++pos_;
        t.kind = Token::Byte;
        t.byte = c;
        return t;
    }
    ++pos_;
    if (pos_ >= data_.size())
        return t;  // a lone backslash ends the data
    const auto d = static_cast<unsigned char>(data_[pos_]);
    if (!isLetter(d)) {
        ++pos_;
        t.kind = Token::Symbol;
        t.byte = d;
        return t;
    }
    const qsizetype start = pos_;
    while (pos_ < data_.size() && isLetter(static_cast<unsigned char>(data_[pos_])))
        ++pos_;
    t.kind = Token::Word;
    t.word = std::string_view(data_.data() + start,
                              static_cast<size_t>(std::min<qsizetype>(pos_ - start, kMaxWordLength)));
    bool negative = false;
    if (pos_ + 1 < data_.size() && data_[pos_] == '-' && isDigit(static_cast<unsigned char>(data_[pos_ + 1]))) {
        negative = true;
        ++pos_;
    }
    if (pos_ < data_.size() && isDigit(static_cast<unsigned char>(data_[pos_]))) {
        t.hasParam = true;
        long long value = 0;
        int digits = 0;
        while (pos_ < data_.size() && isDigit(static_cast<unsigned char>(data_[pos_]))) {
            if (digits < kMaxDigits)
                value = value * 10 + (data_[pos_] - '0');
            ++digits;
            ++pos_;
        }
        value = std::min<long long>(value, 2147483647LL);
        t.param = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < data_.size() && data_[pos_] == ' ')
        ++pos_;  // the delimiting blank belongs to the control word
    return t;
}

int RtfReader::readHex(qsizetype at) const
{
    if (at + 1 >= data_.size())
        return -1;
    const int hi = hexValue(static_cast<unsigned char>(data_[at]));
    const int lo = hexValue(static_cast<unsigned char>(data_[at + 1]));
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

bool RtfReader::run(QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return false;
    };

    doc_.clear();
    const bool undo = doc_.isUndoRedoEnabled();
    doc_.setUndoRedoEnabled(false);
    struct RestoreUndo {
        QTextDocument& d;
        bool on;
        ~RestoreUndo() { d.setUndoRedoEnabled(on); }
    } restore{doc_, undo};

    // Leading blanks are tolerated; then "{\rtf".
    while (pos_ < data_.size() && (data_[pos_] == ' ' || data_[pos_] == '\r' || data_[pos_] == '\n'
                                   || data_[pos_] == '\t'))
        ++pos_;
    if (!data_.sliced(pos_).startsWith("{\\rtf"))
        return fail(QStringLiteral("Ce fichier n'est pas un texte au format RTF."));

    // One edit for the whole reading: otherwise every insertion lays its
    // paragraph out again (the cursor measures where it stands), and a long
    // paragraph of many formats takes time with the square of its length.
    cursor_.beginEditBlock();
    stack_.reserve(64);
    stack_.push_back(GroupState{});  // outside every group
    while (true) {
        const Token t = next();
        if (t.kind == Token::End)
            break;
        switch (t.kind) {
        case Token::Open:
            openGroup();
            break;
        case Token::Close:
            closeGroup();
            break;
        case Token::Word:
            controlWord(t);
            break;
        case Token::Symbol:
            controlSymbol(t.byte);
            break;
        case Token::Byte:
            textByte(t.byte);
            break;
        case Token::End:
            break;
        }
        if (stack_.size() == 1)
            break;  // the document's group is closed: what follows is not RTF
    }
    if (state().dest == Destination::Picture)
        finishPicture();  // data cut short: keep the picture if it decodes
    flushText();
    if (!blockPending_)
        cursor_.setBlockFormat(blockFormat());
    cursor_.endEditBlock();
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
    stack_.pop_back();
    const Destination outer = stack_.back().dest;
    if (closing == Destination::Picture && outer != Destination::Picture)
        finishPicture();
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
        const qsizetype n = t.hasParam ? std::max(0, t.param) : 0;
        const qsizetype take = std::min(n, data_.size() - pos_);
        if (s.dest == Destination::Picture && !starPending_ && !picture_.tooLarge) {
            if (picture_.data.size() + take > kMaxPictureBytes)
                picture_.tooLarge = true;
            else
                picture_.data.append(data_.sliced(pos_, take));
        }
        pos_ += take;
        return;
    }

    if (starPending_) {
        starPending_ = false;
        // Optional destinations: all skipped but the pictures of shapes.
        if (w == "shppict" && s.dest != Destination::Skip)
            return;  // its \pict follows
        if (w == "shpinst" && s.dest != Destination::Skip) {
            s.dest = Destination::ShapeInstructions;
            return;
        }
        s.dest = Destination::Skip;
        return;
    }
    if (s.dest == Destination::Skip)
        return;

    if (s.dest == Destination::Picture) {
        if (w == "pngblip")
            picture_.kind = PictureKind::Png;
        else if (w == "jpegblip")
            picture_.kind = PictureKind::Jpeg;
        else if (w == "emfblip" || w == "wmetafile" || w == "macpict" || w == "pmmetafile"
                 || w == "dibitmap" || w == "wbitmap")
            picture_.kind = PictureKind::Other;
        else if (w == "picwgoal" && t.hasParam)
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
        if (w == "f") {
            commitFont();
            fontNumber_ = t.hasParam ? t.param : 0;
            fontName_.clear();
            fontCharset_ = Charset::Windows1252;
            fontOpen_ = true;
        } else if (w == "fcharset" && t.param == 2) {
            fontCharset_ = Charset::Symbol;
        } else if (w == "u" && fontOpen_ && fontName_.size() < kMaxFontName) {
            fontName_.append(QChar(char16_t(t.param)));
            fallbackToSkip_ = s.uc;
        }
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
    if (w == "par" || w == "page") {
        endParagraph();
    } else if (w == "cell" || w == "nestcell") {
        cellPending_ = true;
    } else if (w == "row" || w == "nestrow") {
        cellPending_ = false;
        endParagraph();
    } else if (!characterWord(w, t.hasParam, t.param)) {
        paragraphWord(w, t.hasParam, t.param);
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
        return true;
    }
    static constexpr std::string_view skipped[] = {
        "stylesheet", "info",      "listtable", "listoverridetable", "revtbl",    "rsidtbl",
        "header",     "headerl",   "headerr",   "headerf",           "footer",    "footerl",
        "footerr",    "footerf",   "footnote",  "annotation",        "atnid",     "atnauthor",
        "fldinst",    "objdata",   "objclass",  "objname",           "nonshppict", "shprslt",
        "xe",         "tc",        "txe",       "rxe",               "bkmkstart", "bkmkend",
        "template",   "filetbl",   "pnseclvl",  "datafield",         "docvar",    "pn",
        "listpicture", "pgdsctbl", "themedata", "colorschememapping", "latentstyles", "generator",
        "userprops",  "ftnsep",    "ftnsepc",   "ftncn",             "aftnsep",   "aftnsepc",
        "fchars",     "lchars",    "mmathPr",   "xmlnstbl",          "wgrffmtfilter",
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
        c = CharState{};
        c.font = defaultFont_;
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
    if (w == "pard")
        p = ParaState{};
    else if (w == "ql")
        p.align = Align::Left;
    else if (w == "qc")
        p.align = Align::Center;
    else if (w == "qr")
        p.align = Align::Right;
    else if (w == "qj" || w == "qd")
        p.align = Align::Justify;
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
        const int v = readHex(pos_);
        if (v >= 0)
            pos_ += 2;
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

Charset RtfReader::currentCharset() const
{
    const auto it = fonts_.constFind(stack_.back().ch.font);
    return it == fonts_.constEnd() ? Charset::Windows1252 : it->charset;
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
        else if (b >= 0x20 && fontName_.size() < kMaxFontName)
            fontName_.append(QChar(cp1252ToUnicode(b)));
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
    switch (currentCharset()) {
    case Charset::Symbol: appendText(QChar(symbolToUnicode(b))); break;
    case Charset::Wingdings: appendText(QChar(wingdingsToUnicode(b))); break;
    case Charset::Windows1252: appendText(QChar(cp1252ToUnicode(b))); break;
    }
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
    appendText(QChar(char16_t(code)));
}

void RtfReader::appendText(QChar c)
{
    const GroupState& s = state();
    if (s.dest != Destination::Text || s.ch.hidden)
        return;
    if (pending_.isEmpty()) {
        ensureBlock();
        if (cellPending_) {
            cellPending_ = false;
            pending_.append(QChar(u'\t'));
        }
    }
    pending_.append(c);
}

// --- Output ------------------------------------------------------------------

QTextCharFormat RtfReader::charFormat() const
{
    const CharState& c = stack_.back().ch;
    QTextCharFormat f;
    const auto font = fonts_.constFind(c.font);
    // Text of a symbol font has been turned into Unicode: it shows in the
    // document's font.
    if (font != fonts_.constEnd() && !font->family.isEmpty() && font->charset == Charset::Windows1252)
        f.setFontFamilies({font->family});
    else if (const auto def = fonts_.constFind(defaultFont_);
             def != fonts_.constEnd() && !def->family.isEmpty() && def->charset == Charset::Windows1252)
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
    switch (p.align) {
    case Align::Left: break;
    case Align::Center: f.setAlignment(Qt::AlignHCenter); break;
    case Align::Right: f.setAlignment(Qt::AlignRight); break;
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

void RtfReader::ensureBlock()
{
    if (blockPending_) {
        cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
        blockPending_ = false;
    }
}

void RtfReader::flushText()
{
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
        if (u == 0x2029 || u == 0xFDD0 || u == 0xFDD1 || u == 0xFFFC || u == 0xFEFF || u == 0xFFFF)
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
    if (!text.isEmpty())
        cursor_.insertText(text, charFormat());
}

void RtfReader::endParagraph()
{
    const GroupState& s = state();
    if (s.dest != Destination::Text)
        return;
    ensureBlock();
    cellPending_ = false;
    cursor_.setBlockFormat(blockFormat());
    if (cursor_.block().length() <= 1)
        cursor_.setBlockCharFormat(charFormat());  // gives an empty line its height
    blockPending_ = true;
}

void RtfReader::commitFont()
{
    if (!fontOpen_)
        return;
    fontOpen_ = false;
    if (fonts_.size() >= kMaxTableEntries && !fonts_.contains(fontNumber_))
        return;
    FontEntry e;
    e.family = fontName_.trimmed();
    e.charset = fontCharset_;
    if (e.family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0)
        e.charset = Charset::Symbol;
    else if (e.family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive))
        e.charset = Charset::Wingdings;
    else if (e.charset == Charset::Symbol)
        e.charset = Charset::Windows1252;  // other symbol fonts: their bytes as they are
    fonts_.insert(fontNumber_, e);
}

void RtfReader::finishPicture()
{
    Picture p = std::move(picture_);
    picture_ = Picture{};
    if (p.tooLarge || p.data.isEmpty()
        || (p.kind != PictureKind::Png && p.kind != PictureKind::Jpeg))
        return;
    QBuffer buffer(&p.data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, p.kind == PictureKind::Png ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > kMaxPicturePixels)
        return;
    const QImage image = reader.read();
    if (image.isNull())
        return;

    double width = image.width();
    double height = image.height();
    if (p.goalWidth > 0 && p.goalHeight > 0) {
        width = p.goalWidth / kTwipsPerPixel;
        height = p.goalHeight / kTwipsPerPixel;
    }
    width *= std::clamp(p.scaleX, 1, 1000) / 100.0;
    height *= std::clamp(p.scaleY, 1, 1000) / 100.0;
    // Absurd sizes shrink, keeping their proportions, to fit on a page.
    if (const double over = std::max(width, height) / kMaxPictureShown; over > 1) {
        width /= over;
        height /= over;
    }
    width = std::max(1.0, width);
    height = std::max(1.0, height);

    const QString name = QStringLiteral("rtfimage:%1").arg(++imageCount_);
    doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(width);
    f.setHeight(height);
    flushText();
    ensureBlock();
    if (cellPending_) {
        cellPending_ = false;
        cursor_.insertText(QStringLiteral("\t"), charFormat());
    }
    cursor_.insertImage(f);
}

}  // namespace

bool readRtf(const QByteArray& rtf, QTextDocument& document, QString* error)
{
    RtfReader reader(rtf, document);
    return reader.run(error);
}

}  // namespace tolvi
