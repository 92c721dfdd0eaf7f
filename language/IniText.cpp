#include "IniText.h"

#include "TextCodec.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

constexpr char Utf8ByteOrderMark[] = "\xEF\xBB\xBF";

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

unsigned char foldCase(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : static_cast<unsigned char>(c);
}

// Orders names as the lookup matches them: ASCII case set aside.
int compareFolded(QByteArrayView a, QByteArrayView b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const unsigned char x = foldCase(a[i]);
        const unsigned char y = foldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

qsizetype skipBlanks(QByteArrayView text, qsizetype from, qsizetype to)
{
    while (from < to && isBlank(text[from]))
        ++from;
    return from;
}

qsizetype dropBlanks(QByteArrayView text, qsizetype from, qsizetype to)
{
    while (to > from && isBlank(text[to - 1]))
        --to;
    return to;
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    const qsizetype start = skipBlanks(bytes, 0, bytes.size());
    return bytes.sliced(start, dropBlanks(bytes, start, bytes.size()) - start);
}

} // namespace

IniText::IniText(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
    QByteArrayView all(m_bytes);
    if (all.size() > MaxSize)
        all = {};
    const QByteArrayView mark(Utf8ByteOrderMark);
    if (all.startsWith(mark)) {
        m_byteOrderMark = all.first(mark.size());
        all = all.sliced(mark.size());
    }
    m_text = all;
    m_isUtf8 = textcodec::isValidUtf8(m_text);
    index();
}

std::optional<QByteArray> IniText::encode(QStringView string) const
{
    const bool ascii = std::all_of(string.begin(), string.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return string.toLatin1();
    if (m_isUtf8)
        return string.toUtf8();
    return textcodec::toWindows1252(string);
}

QString IniText::decode(QByteArrayView bytes) const
{
    if (textcodec::isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (!m_isUtf8)
        return textcodec::fromWindows1252(bytes);
    // QString::fromUtf8 would drop a byte order mark at the start of the
    // value, which is text there: only the file's own mark is no text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

const IniText::Section* IniText::findSection(QByteArrayView name) const
{
    const auto found = std::lower_bound(m_sectionsByName.begin(), m_sectionsByName.end(), name,
                                        [this](Offset section, QByteArrayView wanted) {
                                            return compareFolded(sectionName(section), wanted) < 0;
                                        });
    if (found == m_sectionsByName.end() || compareFolded(sectionName(*found), name) != 0)
        return nullptr;
    return &m_sections[*found];
}

const IniText::Entry* IniText::findEntry(const Section& section, QByteArrayView key) const
{
    const auto number = Offset(&section - m_sections.data());
    const auto found = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                        [&](const Entry& entry, QByteArrayView wanted) {
                                            return entry.section != number ? entry.section < number
                                                                           : compareFolded(keyOf(entry), wanted) < 0;
                                        });
    if (found == m_entries.end() || found->section != number || compareFolded(keyOf(*found), key) != 0)
        return nullptr;
    return &*found;
}

QByteArrayView IniText::valueOf(const Entry& entry) const
{
    const QByteArrayView value = trimmed(m_text.sliced(entry.valueStart, entry.lineEnd - entry.valueStart));
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return quoted ? value.sliced(1, value.size() - 2) : value;
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

// One pass over the lines, then the names sorted for the lookup.
void IniText::index()
{
    for (qsizetype start = 0; start <= m_text.size();) {
        qsizetype end = start;
        while (end < m_text.size() && !isLineEnd(m_text[end]))
            ++end;
        addLine(start, end);
        start = end + 1;
    }
    keepFirstOfEachName();
}

// A header holds its name between "[" and the line's last "]"; an entry is
// any other line, not a comment, with something before its first "=".
void IniText::addLine(qsizetype start, qsizetype end)
{
    const qsizetype first = skipBlanks(m_text, start, end);
    const qsizetype last = dropBlanks(m_text, first, end);
    if (first == last || isComment(m_text[first]))
        return;
    const QByteArrayView line = m_text.sliced(first, last - first);
    const qsizetype closing = line.front() == '[' ? line.lastIndexOf(']') : -1;
    if (closing > 0) {
        const qsizetype nameStart = skipBlanks(m_text, first + 1, first + closing);
        const qsizetype nameEnd = dropBlanks(m_text, nameStart, first + closing);
        m_sections.push_back(Section{Offset(nameStart), Offset(nameEnd - nameStart), Offset(end), Offset(end)});
        return;
    }
    const qsizetype equals = line.indexOf('=');
    if (equals <= 0 || m_sections.empty())
        return;
    const qsizetype keyEnd = dropBlanks(m_text, first, first + equals);
    m_entries.push_back(Entry{Offset(m_sections.size() - 1), Offset(start), Offset(first), Offset(keyEnd - first),
                              Offset(first + equals + 1), Offset(end)});
    m_sections.back().lastEntryEnd = Offset(end);
}

// Sorting keeps equal names in the order of the text, so the first of each
// is the one kept; entries of a later section of the same name are dropped.
void IniText::keepFirstOfEachName()
{
    m_sectionsByName.resize(m_sections.size());
    for (Offset i = 0; i < m_sectionsByName.size(); ++i)
        m_sectionsByName[i] = i;
    const auto sameName = [this](Offset a, Offset b) { return compareFolded(sectionName(a), sectionName(b)) == 0; };
    std::stable_sort(m_sectionsByName.begin(), m_sectionsByName.end(), [this](Offset a, Offset b) {
        return compareFolded(sectionName(a), sectionName(b)) < 0;
    });
    m_sectionsByName.erase(std::unique(m_sectionsByName.begin(), m_sectionsByName.end(), sameName),
                           m_sectionsByName.end());

    std::vector<bool> firstOfName(m_sections.size(), false);
    for (const Offset section : m_sectionsByName)
        firstOfName[section] = true;
    std::erase_if(m_entries, [&](const Entry& entry) { return !firstOfName[entry.section]; });
    const auto bySectionAndKey = [this](const Entry& a, const Entry& b) {
        return a.section != b.section ? a.section < b.section : compareFolded(keyOf(a), keyOf(b)) < 0;
    };
    std::stable_sort(m_entries.begin(), m_entries.end(), bySectionAndKey);
    m_entries.erase(std::unique(m_entries.begin(), m_entries.end(),
                                [&](const Entry& a, const Entry& b) {
                                    return !bySectionAndKey(a, b) && !bySectionAndKey(b, a);
                                }),
                    m_entries.end());
    m_entries.shrink_to_fit();
}

QByteArrayView IniText::sectionName(Offset section) const
{
    return m_text.sliced(m_sections[section].nameStart, m_sections[section].nameSize);
}

QByteArrayView IniText::keyOf(const Entry& entry) const
{
    return m_text.sliced(entry.keyStart, entry.keySize);
}
