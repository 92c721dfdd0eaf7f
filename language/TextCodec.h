#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The two encodings a language file may come in: UTF-8, or Windows-1252 for
// files saved by the Windows editors the first translators used.
namespace textcodec {

bool isAscii(QByteArrayView bytes);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF and
// no sequence cut off at the end.
bool isValidUtf8(QByteArrayView bytes);

// Windows-1252 to Unicode. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their own code points, so no byte is
// ever lost.
QString fromWindows1252(QByteArrayView bytes);

// std::nullopt when the text holds a character Windows-1252 cannot carry.
std::optional<QByteArray> toWindows1252(QStringView text);

} // namespace textcodec
