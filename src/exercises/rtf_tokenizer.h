#pragma once
// The tokens of RTF: group braces, control words with their numeric
// parameter, control symbols and bytes of text.

#include <QByteArrayView>

#include <string_view>

namespace tolvi::rtf {

struct Token {
    enum Kind { End, Open, Close, Word, Symbol, Byte } kind = End;
    std::string_view word;  // control word letters (at most 32 kept)
    bool hasParam = false;
    int param = 0;           // clamped to the range of int
    unsigned char byte = 0;  // Byte: a text byte; Symbol: the character
};

class Tokenizer {
public:
    explicit Tokenizer(QByteArrayView data) : data_(data) {}

    // Skips blanks and line ends, then tells whether "{\rtf" follows.
    bool startsRtf();
    Token next();
    // The byte of the two hexadecimal digits that follow (after \'), or -1;
    // the digits are consumed when valid.
    int hexByte();
    // The `n` bytes that follow (fewer at the end of the data), consumed:
    // the data of \binN.
    QByteArrayView take(qsizetype n);
    // Where the next token starts, and the data between two such places.
    qsizetype position() const { return pos_; }
    qsizetype size() const { return data_.size(); }
    qsizetype count(char c) const { return data_.count(c); }
    QByteArrayView slice(qsizetype from, qsizetype to) const { return data_.sliced(from, to - from); }

private:
    QByteArrayView data_;
    qsizetype pos_ = 0;
};

int hexValue(unsigned char c);

}  // namespace tolvi::rtf
