#include "exercises/rtf_tokenizer.h"

#include <algorithm>

namespace tolvi::rtf {

namespace {

constexpr int kMaxWordLength = 32;  // letters of a control word
constexpr int kMaxDigits = 10;      // digits of its parameter

bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

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

bool Tokenizer::startsRtf()
{
    while (pos_ < data_.size() && (data_[pos_] == ' ' || data_[pos_] == '\r' || data_[pos_] == '\n'
                                   || data_[pos_] == '\t'))
        ++pos_;
    return data_.sliced(pos_).startsWith(QByteArrayView("{\\rtf"));
}

Token Tokenizer::next()
{
    Token t;
    if (pos_ >= data_.size())
        return t;
    const auto c = static_cast<unsigned char>(data_[pos_]);
    if (c == '{' || c == '}') {
        ++pos_;
        t.kind = c == '{' ? Token::Open : Token::Close;
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

int Tokenizer::hexByte()
{
    if (pos_ + 1 >= data_.size())
        return -1;
    const int hi = hexValue(static_cast<unsigned char>(data_[pos_]));
    const int lo = hexValue(static_cast<unsigned char>(data_[pos_ + 1]));
    if (hi < 0 || lo < 0)
        return -1;
    pos_ += 2;
    return hi * 16 + lo;
}

QByteArrayView Tokenizer::take(qsizetype n)
{
    const qsizetype count = std::clamp<qsizetype>(n, 0, data_.size() - pos_);
    const QByteArrayView bytes = data_.sliced(pos_, count);
    pos_ += count;
    return bytes;
}

}  // namespace tolvi::rtf
