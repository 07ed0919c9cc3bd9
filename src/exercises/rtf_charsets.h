#pragma once
// The character sets of RTF text: which code page a font's \'hh bytes are
// in (\fcharset, \cpg, \ansicpg), the Symbol and Wingdings fonts whose byte
// codes stand for other characters, and the decoding of all of them into
// Unicode.

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include "platform/code_pages.h"

#include <array>
#include <memory>

namespace tolvi::rtf {

// How the bytes of a font's text are read.
struct Encoding {
    enum Kind { CodePage, Symbol, Wingdings } kind = CodePage;
    int codePage = 1252;

    bool operator==(const Encoding&) const = default;
};

// The code page of a Windows character set (\fcharsetN): 238 Central
// European is 1250, 204 Cyrillic 1251, 128 Japanese 932, ... The ANSI set (0)
// is Windows-1252; the default set (1), and sets without a code page of
// their own, are the document's code page.
int codePageOfCharset(int charset, int documentCodePage);

// The encoding of a font from its name, \fcharset (-1 when not given), \cpg
// (-1 when not given) and the document's code page. The fonts named Symbol
// and Wingdings have their own tables; other symbol fonts' bytes are read as
// they are, in Windows-1252.
Encoding fontEncoding(const QString& family, int charset, int codePage, int documentCodePage);

// Code pages whose characters take one or two bytes (932, 936, 949, 950).
bool isMultiByte(int codePage);

// The character a byte stands for in the Symbol font (Greek letters and
// mathematical signs) and in Wingdings (only the signs used as bullets and
// the hourglass; the others go to the private-use area, as Windows does).
char16_t symbolToUnicode(unsigned char byte);
char16_t wingdingsToUnicode(unsigned char byte);

// Word processors write the signs of the Symbol and Wingdings fonts, in
// those fonts, as private-use characters U+F020-U+F0FF (U+F0B7 for the
// bullet of Symbol): the character they stand for, or `u` itself when it is
// not such a sign.
char16_t privateUseToUnicode(char16_t u, bool wingdings);

// A private-use character of a list item's mark with no symbol font in force
// (LibreOffice writes the bullets of a .docx so): a sign of Wingdings when
// it is one of the bullets Word takes from Wingdings (■ ▪ ➢ ✓ ❖ ...), else
// of Symbol (• for U+F0B7).
char16_t listMarkToUnicode(char16_t u);

// Decodes bytes in any code page that the platform knows (see CodePageConverter),
// Windows-1252 otherwise. Single-byte code pages go through a table made
// once; multi-byte ones through a converter kept for each code page.
class Decoder {
public:
    Decoder();
    ~Decoder();

    // The character of one byte in a single-byte code page.
    char16_t byte(int codePage, unsigned char b);
    // Appends the characters of `bytes` in `codePage` to `out`; an
    // incomplete character at the end is dropped.
    void append(int codePage, QByteArrayView bytes, QString& out);

private:
    using Table = std::array<char16_t, 256>;
    const Table& table(int codePage);
    CodePageConverter* converter(int codePage);

    int lastCodePage_ = 1252;
    const Table* last_ = nullptr;
    QHash<int, std::shared_ptr<Table>> tables_;
    QHash<int, std::shared_ptr<CodePageConverter>> converters_;
};

}  // namespace tolvi::rtf
