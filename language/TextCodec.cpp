#include "TextCodec.h"

#include "VectorLanes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace textcodec {
namespace {

constexpr unsigned char FirstNonAscii = 0x80;
constexpr unsigned char FirstLatin1Printable = 0xA0;
constexpr std::uint64_t HighBits = 0x8080808080808080u;

// What the bytes 0x80 to 0x9F stand for; from 0xA0 on the code page is Latin-1.
constexpr std::array<char16_t, FirstLatin1Printable - FirstNonAscii> Windows1252High = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

using Byte = unsigned char;

// Most values are plain ASCII, which is passed over a word at a time.
const Byte* skipAscii(const Byte* p, const Byte* end)
{
    while (end - p >= qsizetype(sizeof(std::uint64_t))) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if (word & HighBits)
            break;
        p += sizeof word;
    }
    while (p < end && *p < FirstNonAscii)
        ++p;
    return p;
}

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

bool startsSequence(Byte b)
{
    return (b & 0xC0) == 0xC0;
}

// Italian text needs nothing but ASCII and two-byte sequences, which a chunk
// checks without branches: every continuation byte follows a lead byte
// C2..DF, every such lead is followed by one, and no other byte of 0xC0 or
// more occurs. Looking at the byte before the chunk carries a sequence across
// the chunk's start; one left open at its end is checked with the next chunk.
// Anything else (three- and four-byte sequences, errors) goes the careful way.
// No lambdas here: an unoptimised build would compile them without the wide
// lanes' instruction set and pass vectors between the two.
template<typename Lanes>
[[gnu::always_inline]] inline bool isPlainChunk(const Byte* p)
{
    using namespace vectorlanes;
    const Lanes current = load<Lanes>(p);
    const Lanes previous = load<Lanes>(p - 1);
    const auto leadBefore = ((previous & splat<Lanes>(0xE0)) == splat<Lanes>(0xC0)) & ((previous & splat<Lanes>(0xFE)) != splat<Lanes>(0xC0));
    const auto otherBefore = ((previous & splat<Lanes>(0xC0)) == splat<Lanes>(0xC0)) & ~leadBefore;
    const auto continuation = (current & splat<Lanes>(0xC0)) == splat<Lanes>(0x80);
    return !any((continuation ^ leadBefore) | otherBefore);
}

template<typename Lanes>
[[gnu::always_inline]] inline bool isValidUtf8In(QByteArrayView bytes)
{
    constexpr qsizetype Width = vectorlanes::Width<Lanes>;
    const Byte* const start = bytesOf(bytes);
    const Byte* const end = start + bytes.size();
    const Byte* p = start;
    while (p < end) {
        // Chunks stop short of the end, so a sequence the last one leaves open
        // is finished by the byte-wise pass below, from its lead byte.
        if (p > start && end - p > Width && isPlainChunk<Lanes>(p)) {
            p += Width;
            continue;
        }
        if (p > start && startsSequence(p[-1]))
            --p;
        for (const Byte* const stop = std::min(p + Width, end); p < stop;) {
            const qsizetype length = *p < FirstNonAscii ? 1 : sequenceLength(p, end);
            if (length == 0)
                return false;
            p += length;
        }
    }
    return true;
}

#if TAVENDEL_WIDE_LANES
TAVENDEL_TARGET_AVX2 bool isValidUtf8Wide(QByteArrayView bytes)
{
    return isValidUtf8In<vectorlanes::Lanes32>(bytes);
}
#endif

} // namespace

bool isAscii(QByteArrayView bytes)
{
    const Byte* end = bytesOf(bytes) + bytes.size();
    return skipAscii(bytesOf(bytes), end) == end;
}

bool isValidUtf8(QByteArrayView bytes)
{
#if TAVENDEL_WIDE_LANES
    if (vectorlanes::hasWideLanes())
        return isValidUtf8Wide(bytes);
#endif
    return isValidUtf8In<vectorlanes::Lanes16>(bytes);
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
