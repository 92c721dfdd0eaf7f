#include "IniFile.h"

#include "IniText.h"
#include "TextCodec.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A name the format can hold, and so one that a lookup can ever match.
bool isUsableName(QStringView name)
{
    return !name.isEmpty() && !isBlank(name.front()) && !isBlank(name.back()) && !hasControlCharacter(name);
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
    return !value.contains(u'\r') && !value.contains(u'\n') && !value.contains(QChar(0));
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
QByteArray withEntry(IniText& text, const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const QByteArray lineBreak = text.lineBreak();
    const qsizetype end = text.text().size();
    const std::optional<IniText::Section> found = text.findSection(section);
    if (!found) {
        const bool endsLine = end == 0 || text.text().back() == '\r' || text.text().back() == '\n';
        const QByteArray before = endsLine ? QByteArray() : lineBreak;
        return spliced(text, end, end, before + '[' + section + ']' + lineBreak + key + '=' + value + lineBreak);
    }
    if (const std::optional<IniText::Entry> entry = text.findEntry(*found, key)) {
        const QByteArray spelledAsInFile = text.text().sliced(entry->keyStart, key.size()).toByteArray();
        return spliced(text, entry->lineStart, entry->lineEnd, spelledAsInFile + '=' + value);
    }
    const qsizetype after = text.endOfLastEntry(*found);
    return spliced(text, after, after, lineBreak + key + '=' + value);
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }

private:
    int m_fd;
};

// A file that shrinks or grows while it is read gives the bytes it held then.
std::optional<QByteArray> readUpTo(int fd, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(size - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(filled);
    return bytes;
}

} // namespace

IniFile::IniFile(QByteArray bytes)
    : m_bytes(std::move(bytes))
{
}

std::optional<QByteArray> IniFile::readBytes(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    // Non-blocking, so that a pipe in the file's place cannot stall the open;
    // the type is then checked on what was opened, not on the name.
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)
        || status.st_size > MaxFileSize)
        return std::nullopt;
    return readUpTo(file.get(), qsizetype(status.st_size));
}

std::optional<IniFile> IniFile::load(const QString& path)
{
    std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    return IniFile(std::move(*bytes));
}

bool IniFile::save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Commit alone would rename a half-written file into place: it does not
    // see a write that failed when the buffer was flushed (file too large, disk
    // full), so the flush is checked first.
    if (file.write(m_bytes) != m_bytes.size() || !file.flush())
        return false;
    return file.commit();
}

QString IniFile::value(QStringView section, QStringView key) const
{
    if (!isUsableName(section) || !isUsableKey(key))
        return {};
    IniText text(m_bytes);
    const std::optional<QByteArray> sectionName = text.encode(section);
    const std::optional<QByteArray> keyName = text.encode(key);
    if (!sectionName || !keyName)
        return {};
    const std::optional<IniText::Section> found = text.findSection(*sectionName);
    if (!found)
        return {};
    const std::optional<IniText::Entry> entry = text.findEntry(*found, *keyName);
    if (!entry)
        return {};
    const QByteArrayView bytes = upToNul(text.valueOf(*entry));
    return cappedValue(text.decode(bytes.first(std::min(bytes.size(), MaxValueLength * MaxUtf8BytesPerCharacter))));
}

bool IniFile::setValue(QStringView section, QStringView key, QStringView value)
{
    if (!isUsableName(section) || !isUsableKey(key) || !isUsableValue(value))
        return false;
    IniText text(m_bytes);
    const std::optional<QByteArray> sectionName = text.encode(section);
    const std::optional<QByteArray> keyName = text.encode(key);
    const std::optional<QByteArray> valueText = text.encode(quotedIfNeeded(value));
    if (sectionName && keyName && valueText) {
        m_bytes = withEntry(text, *sectionName, *keyName, *valueText);
        return true;
    }
    // A Windows-1252 file that cannot carry the new text moves to UTF-8 as a
    // whole, every line keeping its text.
    IniFile utf8(text.byteOrderMark().toByteArray() + textcodec::fromWindows1252(text.text()).toUtf8());
    if (!utf8.setValue(section, key, value))
        return false;
    *this = std::move(utf8);
    return true;
}
