// Windows side of the code pages: MultiByteToWideChar, the system's own
// converter (Qt for Windows, built without ICU, knows none of them).
#include "platform/code_pages.h"

#include <windows.h>

namespace tolvi {

namespace {

// The system's number for a code page: the Macintosh Asian pages are read
// as those of their country, as on other systems.
UINT systemCodePage(int codePage)
{
    switch (codePage) {
    case 10001: return 932;
    case 10002: return 950;
    case 10003: return 949;
    case 10008: return 936;
    default: return UINT(codePage);
    }
}

}  // namespace

struct CodePageConverter::State {
    UINT codePage = 0;
    bool valid = false;
};

CodePageConverter::CodePageConverter(int codePage) : state_(std::make_unique<State>())
{
    state_->codePage = systemCodePage(codePage);
    state_->valid = codePage > 0 && IsValidCodePage(state_->codePage);
}

CodePageConverter::~CodePageConverter() = default;

bool CodePageConverter::isValid() const
{
    return state_->valid;
}

QString CodePageConverter::decode(QByteArrayView bytes)
{
    if (!state_->valid || bytes.isEmpty())
        return QString();
    QString out;
    // Character by character, so that a byte that is no character gives
    // U+FFFD where the system would give its own default sign.
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const qsizetype length =
            lead >= 0x80 && IsDBCSLeadByteEx(state_->codePage, BYTE(lead)) ? 2 : 1;
        if (i + length > bytes.size())
            break;  // half a character at the end
        wchar_t wide[4];
        const int n = MultiByteToWideChar(state_->codePage, MB_ERR_INVALID_CHARS, bytes.data() + i, int(length),
                                          wide, 4);
        // A byte the code page leaves unassigned (0x80 of 932) comes out
        // as a C1 control, which no text holds: no character either.
        if (n > 0 && !(n == 1 && wide[0] >= 0x80 && wide[0] <= 0x9F))
            out.append(QString::fromWCharArray(wide, n));
        else
            out.append(QChar(0xFFFD));
        i += length;
    }
    return out;
}

}  // namespace tolvi
