#pragma once
// Windows-1252, the code page of the program's files and of the RTF it reads
// and writes. A full 256-entry table: 0x80-0x9F hold €, ’, œ, … (not the C1
// controls of Latin-1). The five bytes Windows leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) decode to the control character of the same value, as
// Windows itself does, so every byte decodes and decoding never fails.

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <optional>

namespace tolvi {

// The character a Windows-1252 byte stands for.
char16_t cp1252ToUnicode(unsigned char byte);

// The byte that stands for a character in Windows-1252, or nothing when the
// code page has no such character.
std::optional<unsigned char> unicodeToCp1252(char32_t ch);

// Decodes Windows-1252 bytes.
QString decodeCp1252(QByteArrayView bytes);

// Encodes text as Windows-1252; nothing when any character cannot be encoded
// (the caller tells the user; text is never altered silently).
std::optional<QByteArray> encodeCp1252(const QString& text);

// The first character of `text` that Windows-1252 cannot hold, as its index,
// or -1 when the whole text can be encoded.
qsizetype firstNonCp1252(const QString& text);

}  // namespace tolvi
