#include "IniText.h"

#include "TextCodec.h"
#include "VectorLanes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char Utf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr unsigned char AsciiCaseBit = 0x20;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isComment(char c)
{
    return c == ';' || c == '#';
}

char foldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c | AsciiCaseBit) : c;
}

bool equalFolded(const char* a, const char* b, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i) {
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

bool equalFolded(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() && equalFolded(a.data(), b.data(), a.size());
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    while (!bytes.empty() && isBlank(bytes.front()))
        bytes = bytes.sliced(1);
    while (!bytes.empty() && isBlank(bytes.back()))
        bytes.chop(1);
    return bytes;
}

bool isEntryLine(QByteArrayView line)
{
    return !line.empty() && !isComment(line.front()) && line.indexOf('=') > 0;
}

// The first c at or after from, or the end of the text.
qsizetype find(QByteArrayView text, char c, qsizetype from)
{
    if (from >= text.size())
        return text.size();
    const void* hit = std::memchr(text.data() + from, c, size_t(text.size() - from));
    return hit ? static_cast<const char*>(hit) - text.data() : text.size();
}

// Whether the needle may start anywhere in the next two vectors' worth of
// positions. A function of its own rather than a lambda: an unoptimised build
// would compile a lambda without the wide lanes' instruction set.
template<typename Lanes>
[[gnu::always_inline]] inline bool mayStartIn(const char* at, qsizetype needleSize, Lanes caseBit,
                                              Lanes first, Lanes last)
{
    using namespace vectorlanes;
    constexpr qsizetype width = Width<Lanes>;
    return any(((load<Lanes>(at) | caseBit) == first)
               & ((load<Lanes>(at + needleSize - 1) | caseBit) == last))
        || any(((load<Lanes>(at + width) | caseBit) == first)
               & ((load<Lanes>(at + width + needleSize - 1) | caseBit) == last));
}

// Start positions are tried a vector at a time: only where both the key's
// first and last byte could match (ASCII case set aside by forcing bit 0x20 on
// both sides) is it compared in full. Keeps a lookup in a long section near
// the speed of reading the file.
template<typename Lanes>
[[gnu::always_inline]] inline qsizetype findFoldedIn(QByteArrayView text, qsizetype from, qsizetype to,
                                                     QByteArrayView needle)
{
    using namespace vectorlanes;
    constexpr qsizetype Step = 2 * Width<Lanes>;
    const qsizetype lastStart = to - needle.size();
    const Lanes caseBit = splat<Lanes>(AsciiCaseBit);
    const Lanes first = splat<Lanes>(static_cast<unsigned char>(needle.front()) | AsciiCaseBit);
    const Lanes last = splat<Lanes>(static_cast<unsigned char>(needle.back()) | AsciiCaseBit);
    for (qsizetype at = from; at <= lastStart;) {
        if (at + Step - 1 <= lastStart && !mayStartIn<Lanes>(text.data() + at, needle.size(), caseBit, first, last)) {
            at += Step;
            continue;
        }
        for (const qsizetype stepEnd = std::min(at + Step - 1, lastStart); at <= stepEnd; ++at) {
            if (equalFolded(text.data() + at, needle.data(), needle.size()))
                return at;
        }
    }
    return -1;
}

#if TAVENDEL_WIDE_LANES
TAVENDEL_TARGET_AVX2 qsizetype findFoldedWide(QByteArrayView text, qsizetype from, qsizetype to,
                                              QByteArrayView needle)
{
    return findFoldedIn<vectorlanes::Lanes32>(text, from, to, needle);
}
#endif

// The first place in [from, to) that holds the whole needle, or -1.
qsizetype findFolded(QByteArrayView text, qsizetype from, qsizetype to, QByteArrayView needle)
{
#if TAVENDEL_WIDE_LANES
    if (vectorlanes::hasWideLanes())
        return findFoldedWide(text, from, to, needle);
#endif
    return findFoldedIn<vectorlanes::Lanes16>(text, from, to, needle);
}

} // namespace

IniText::IniText(QByteArrayView bytes)
{
    const QByteArrayView mark(Utf8ByteOrderMark);
    if (bytes.startsWith(mark)) {
        m_byteOrderMark = bytes.first(mark.size());
        bytes = bytes.sliced(mark.size());
    }
    m_text = bytes;
}

bool IniText::isUtf8()
{
    if (!m_isUtf8)
        m_isUtf8 = textcodec::isValidUtf8(m_text);
    return *m_isUtf8;
}

std::optional<QByteArray> IniText::encode(QStringView string)
{
    const bool ascii = std::all_of(string.begin(), string.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return string.toLatin1();
    if (isUtf8())
        return string.toUtf8();
    return textcodec::toWindows1252(string);
}

QString IniText::decode(QByteArrayView bytes)
{
    if (textcodec::isAscii(bytes))
        return QString::fromLatin1(bytes);
    return isUtf8() ? QString::fromUtf8(bytes) : textcodec::fromWindows1252(bytes);
}

std::optional<IniText::Section> IniText::findSection(QByteArrayView name)
{
    for (qsizetype at = nextHeader(0); at >= 0; at = nextHeader(at + 1)) {
        const QByteArrayView header = trimmed(m_text.sliced(at + 1, closingBracket(at) - at - 1));
        if (!equalFolded(header, name))
            continue;
        const qsizetype bodyStart = lineEnd(at);
        const qsizetype following = nextHeader(bodyStart);
        return Section{at, bodyStart, following < 0 ? m_text.size() : indentStart(following)};
    }
    return std::nullopt;
}

std::optional<IniText::Entry> IniText::findEntry(const Section& section, QByteArrayView key)
{
    for (qsizetype at = findFolded(m_text, section.bodyStart, section.end, key); at >= 0;
         at = findFolded(m_text, at + 1, section.end, key)) {
        if (!startsLine(at))
            continue;
        qsizetype equals = at + key.size();
        while (equals < m_text.size() && isBlank(m_text[equals]))
            ++equals;
        if (equals < m_text.size() && m_text[equals] == '=')
            return Entry{indentStart(at), at, equals + 1, lineEnd(equals)};
    }
    return std::nullopt;
}

QByteArrayView IniText::valueOf(const Entry& entry) const
{
    const QByteArrayView value = trimmed(m_text.sliced(entry.valueStart, entry.lineEnd - entry.valueStart));
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return quoted ? value.sliced(1, value.size() - 2) : value;
}

qsizetype IniText::endOfLastEntry(const Section& section)
{
    qsizetype last = section.bodyStart;
    for (qsizetype start = nextLineStart(section.bodyStart); start < section.end;) {
        const qsizetype end = lineEnd(start);
        if (isEntryLine(trimmed(m_text.sliced(start, end - start))))
            last = end;
        start = nextLineStart(end);
    }
    return last;
}

qsizetype IniText::lineEnd(qsizetype pos)
{
    return std::min(next(m_nextCr, '\r', pos), next(m_nextLf, '\n', pos));
}

QByteArray IniText::lineBreak() const
{
    if (m_text.contains("\r\n"))
        return "\r\n";
    if (m_text.contains('\n'))
        return "\n";
    if (m_text.contains('\r'))
        return "\r";
    return "\r\n";
}

// Searches forward are remembered, so walking a text line by line, or
// candidate by candidate, reads every byte once even where one of CR and LF
// never occurs.
qsizetype IniText::next(Memo& memo, char c, qsizetype pos)
{
    if (pos < memo.from || pos > memo.hit) {
        memo.from = pos;
        memo.hit = find(m_text, c, pos);
    }
    return memo.hit;
}

qsizetype IniText::nextHeader(qsizetype from)
{
    for (qsizetype at = find(m_text, '[', from); at < m_text.size(); at = find(m_text, '[', at + 1)) {
        if (startsLine(at) && closingBracket(at) >= 0)
            return at;
    }
    return -1;
}

// The last "]" of the header line, or -1 when the line has none and so is no
// header.
qsizetype IniText::closingBracket(qsizetype headerStart)
{
    const QByteArrayView line = m_text.sliced(headerStart, lineEnd(headerStart) - headerStart);
    const qsizetype at = line.lastIndexOf(']');
    return at > 0 ? headerStart + at : -1;
}

qsizetype IniText::indentStart(qsizetype pos) const
{
    while (pos > 0 && isBlank(m_text[pos - 1]))
        --pos;
    return pos;
}

bool IniText::startsLine(qsizetype pos) const
{
    const qsizetype start = indentStart(pos);
    return start == 0 || isLineEnd(m_text[start - 1]);
}

qsizetype IniText::nextLineStart(qsizetype lineEnd) const
{
    if (lineEnd >= m_text.size())
        return m_text.size();
    const bool crLf = m_text[lineEnd] == '\r' && lineEnd + 1 < m_text.size() && m_text[lineEnd + 1] == '\n';
    return lineEnd + (crLf ? 2 : 1);
}
