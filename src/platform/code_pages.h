#pragma once
// Text in the code pages of Windows (1250-1258, 874, 932, 936, 949, 950,
// the Macintosh ones, the OEM ones): decoded by the system's own converters.
// On Linux these are ICU's, through Qt; on Windows, the system's code pages
// (Qt is built there without ICU, so Qt alone knows none of them).

#include <QByteArrayView>
#include <QString>

#include <memory>

namespace tolvi {

class CodePageConverter {
public:
    explicit CodePageConverter(int codePage);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    // Whether the system knows the code page.
    bool isValid() const;
    // The characters of `bytes`, read from their start (no state is kept
    // from one call to the next); a byte or pair that is no character gives
    // U+FFFD, an incomplete character at the end is dropped.
    QString decode(QByteArrayView bytes);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tolvi
