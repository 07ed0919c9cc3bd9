#include "platform/code_pages.h"

#include <QByteArray>
#include <QStringDecoder>

namespace tolvi {

namespace {

// The name ICU knows a Windows code page by.
QByteArray converterName(int codePage)
{
    switch (codePage) {
    case 932: return "windows-31j";
    case 10000: return "macintosh";
    // The Macintosh Asian code pages are those of their country, with a few
    // signs of Apple's own.
    case 10001: return "windows-31j";
    case 10002: return "Big5";
    case 10003: return "EUC-KR";
    case 10008: return "GB2312";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10029: return "x-mac-centraleurroman";
    case 10081: return "x-mac-turkish";
    case 437:
    case 850:
    case 852:
    case 866: return "IBM" + QByteArray::number(codePage);
    default: return "windows-" + QByteArray::number(codePage);
    }
}

}  // namespace

struct CodePageConverter::State {
    QStringDecoder decoder;
};

CodePageConverter::CodePageConverter(int codePage)
    : state_(std::make_unique<State>(State{QStringDecoder(converterName(codePage).constData())}))
{
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::isValid() const
{
    return state_->decoder.isValid();
}

QString CodePageConverter::decode(QByteArrayView bytes)
{
    state_->decoder.resetState();
    return state_->decoder.decode(bytes);
}

}  // namespace tolvi
