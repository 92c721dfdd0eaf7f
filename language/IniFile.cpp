#include "IniFile.h"

#include "IniText.h"
#include "RegularFile.h"
#include "TextCodec.h"

#include <QSaveFile>

#include <algorithm>

namespace {

// A UTF-8 character takes at most four bytes, so this many bytes of a value
// always hold its first MaxValueLength characters.
constexpr qsizetype MaxUtf8BytesPerCharacter = 4;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool hasControlCharacter(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
}

// A name the format can hold, and so one that a lookup can ever match. Half
// a surrogate pair has no spelling in either encoding.
bool isUsableName(QStringView name)
{
    return !name.isEmpty() && !isBlank(name.front()) && !isBlank(name.back()) && !hasControlCharacter(name)
        && name.isValidUtf16();
}

// A key holding "=" would be cut at it when read back; one starting like a
// comment or a header would not be read as a key at all.
bool isUsableKey(QStringView key)
{
    return isUsableName(key) && !key.contains(u'=') && key.front() != u';' && key.front() != u'#'
        && key.front() != u'[';
}

bool isUsableValue(QStringView value)
{
    return !value.contains(u'\r') && !value.contains(u'\n') && !value.contains(QChar(0)) && value.isValidUtf16();
}

// Blanks around a value, or a pair of quotes enclosing it, would be dropped
// when it is read back; quoting keeps them.
QString quotedIfNeeded(QStringView value)
{
    const bool blankEdge = !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool enclosed = value.size() >= 2 && value.front() == u'"' && value.back() == u'"';
    return blankEdge || enclosed ? u'"' + value.toString() + u'"' : value.toString();
}

QString cappedValue(QString value)
{
    if (value.size() > IniFile::MaxValueLength) {
        value.truncate(IniFile::MaxValueLength);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

// The profile functions hand a value over in a C string, so a NUL ends it.
QByteArrayView upToNul(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.first(nul);
}

// The text with the bytes from..to replaced by piece.
QByteArray spliced(const IniText& text, qsizetype from, qsizetype to, const QByteArray& piece)
{
    QByteArray result;
    result.reserve(text.byteOrderMark().size() + text.text().size() + piece.size());
    result.append(text.byteOrderMark()).append(text.text().first(from)).append(piece).append(text.text().sliced(to));
    return result;
}

// The text with the key's line replaced, or with a new line after the
// section's last entry, or with the section added at the end.
QByteArray withEntry(const IniText& text, const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const QByteArray lineBreak = text.lineBreak();
    const qsizetype end = text.text().size();
    const IniText::Section* found = text.findSection(section);
    if (!found) {
        const bool endsLine = end == 0 || text.text().back() == '\r' || text.text().back() == '\n';
        const QByteArray before = endsLine ? QByteArray() : lineBreak;
        return spliced(text, end, end, before + '[' + section + ']' + lineBreak + key + '=' + value + lineBreak);
    }
    if (const IniText::Entry* entry = text.findEntry(*found, key)) {
        const QByteArray spelledAsInFile = text.text().sliced(entry->keyStart, entry->keySize).toByteArray();
        return spliced(text, entry->lineStart, entry->lineEnd, spelledAsInFile + '=' + value);
    }
    return spliced(text, found->lastEntryEnd, found->lastEntryEnd, lineBreak + key + '=' + value);
}

// The text with the entry, written in the text's own encoding; std::nullopt
// when the encoding cannot carry a name or the value.
std::optional<QByteArray> withEntryIn(const IniText& text, QStringView section, QStringView key, QStringView value)
{
    const std::optional<QByteArray> sectionName = text.encode(section);
    const std::optional<QByteArray> keyName = text.encode(key);
    const std::optional<QByteArray> valueText = text.encode(quotedIfNeeded(value));
    if (!sectionName || !keyName || !valueText)
        return std::nullopt;
    return withEntry(text, *sectionName, *keyName, *valueText);
}

// The same lines in UTF-8: Windows-1252 puts nothing but bytes of 0x80 and
// over where UTF-8 puts more of them, so no line, name or value moves.
QByteArray inUtf8(const IniText& text)
{
    return text.byteOrderMark().toByteArray() + textcodec::fromWindows1252(text.text()).toUtf8();
}

} // namespace

IniFile::IniFile()
    : IniFile(QByteArray())
{
}

IniFile::IniFile(QByteArray bytes)
    : m_text(std::make_shared<const IniText>(std::move(bytes)))
{
}

std::optional<IniFile> IniFile::load(const QString& path)
{
    std::optional<regularfile::Snapshot> file = regularfile::read(path, MaxFileSize);
    if (!file)
        return std::nullopt;
    return IniFile(std::move(file->bytes));
}

bool IniFile::save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Commit alone would rename a half-written file into place: it does not
    // see a write that failed when the buffer was flushed (file too large, disk
    // full), so the flush is checked first.
    if (file.write(bytes()) != bytes().size() || !file.flush())
        return false;
    return file.commit();
}

QString IniFile::value(QStringView section, QStringView key) const
{
    if (!isUsableName(section) || !isUsableKey(key))
        return {};
    const IniText& text = *m_text;
    const std::optional<QByteArray> sectionName = text.encode(section);
    const std::optional<QByteArray> keyName = text.encode(key);
    if (!sectionName || !keyName)
        return {};
    const IniText::Section* found = text.findSection(*sectionName);
    const IniText::Entry* entry = found ? text.findEntry(*found, *keyName) : nullptr;
    if (!entry)
        return {};
    const QByteArrayView bytes = upToNul(text.valueOf(*entry));
    return cappedValue(text.decode(bytes.first(std::min(bytes.size(), MaxValueLength * MaxUtf8BytesPerCharacter))));
}

bool IniFile::setValue(QStringView section, QStringView key, QStringView value)
{
    if (!isUsableName(section) || !isUsableKey(key) || !isUsableValue(value))
        return false;
    // Whether a file reads as UTF-8 depends on all its bytes, the replaced
    // line's included: the change stands only if the encoding stays.
    if (const std::optional<QByteArray> changed = withEntryIn(*m_text, section, key, value)) {
        auto text = std::make_shared<const IniText>(*changed);
        if (text->isUtf8() == m_text->isUtf8()) {
            m_text = std::move(text);
            return true;
        }
    }
    const IniText utf8(inUtf8(*m_text));
    const std::optional<QByteArray> changed = withEntryIn(utf8, section, key, value);
    if (!changed)
        return false;
    m_text = std::make_shared<const IniText>(*changed);
    return true;
}

const QByteArray& IniFile::bytes() const
{
    return m_text->bytes();
}
