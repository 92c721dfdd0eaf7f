#include "TextCodec.h"

#include <algorithm>
#include <array>

namespace textcodec {
namespace {

constexpr unsigned char FirstNonAscii = 0x80;
constexpr unsigned char FirstLatin1Printable = 0xA0;

// What the bytes 0x80 to 0x9F stand for; from 0xA0 on the code page is Latin-1.
constexpr std::array<char16_t, FirstLatin1Printable - FirstNonAscii> Windows1252High = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

using Byte = unsigned char;

bool isContinuation(Byte b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed sequence starting at p (whose first byte is not
// ASCII), or 0 when it is malformed; the ranges are those of Unicode's table
// of well-formed UTF-8 byte sequences.
qsizetype sequenceLength(const Byte* p, const Byte* end)
{
    const Byte lead = p[0];
    qsizetype length = 0;
    Byte secondLow = 0x80;
    Byte secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            secondLow = 0xA0;
        else if (lead == 0xED)
            secondHigh = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            secondLow = 0x90;
        else if (lead == 0xF4)
            secondHigh = 0x8F;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < secondLow || p[1] > secondHigh)
        return 0;
    for (qsizetype i = 2; i < length; ++i) {
        if (!isContinuation(p[i]))
            return 0;
    }
    return length;
}

const Byte* bytesOf(QByteArrayView bytes)
{
    return reinterpret_cast<const Byte*>(bytes.data());
}

} // namespace

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return Byte(c) < FirstNonAscii; });
}

bool isValidUtf8(QByteArrayView bytes)
{
    const Byte* p = bytesOf(bytes);
    const Byte* const end = p + bytes.size();
    while (p < end) {
        const qsizetype length = *p < FirstNonAscii ? 1 : sequenceLength(p, end);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = Byte(c);
        const bool sameCodePoint = b < FirstNonAscii || b >= FirstLatin1Printable;
        *out++ = sameCodePoint ? QChar(b) : QChar(Windows1252High[b - FirstNonAscii]);
    }
    return text;
}

std::optional<QByteArray> toWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        const bool sameByte = unit < FirstNonAscii || (unit >= FirstLatin1Printable && unit <= 0xFF);
        if (sameByte) {
            bytes.append(char(unit));
            continue;
        }
        const auto* slot = std::find(Windows1252High.begin(), Windows1252High.end(), unit);
        if (slot == Windows1252High.end())
            return std::nullopt;
        bytes.append(char(FirstNonAscii + (slot - Windows1252High.begin())));
    }
    return bytes;
}

} // namespace textcodec
