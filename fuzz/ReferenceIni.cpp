#include "ReferenceIni.h"

#include "language/TextCodec.h"

#include <QStringDecoder>

#include <algorithm>

namespace reference {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimmed(QString text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Decided by Qt's own UTF-8 check, not the reader's. A byte order mark is
// dropped at the start of the file only; one after it is text.
QString decoded(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (!bytes.isValidUtf8())
        return textcodec::fromWindows1252(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

Line lineOf(const QString& raw)
{
    const QString text = trimmed(raw);
    if (text.isEmpty() || text.front() == u';' || text.front() == u'#')
        return {};
    if (text.front() == u'[' && text.lastIndexOf(u']') > 0)
        return {Line::Header, trimmed(text.mid(1, text.lastIndexOf(u']') - 1)), {}};
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0)
        return {};
    QString value = trimmed(text.mid(equals + 1));
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        value = value.mid(1, value.size() - 2);
    return {Line::Entry, trimmed(text.left(equals)), value};
}

} // namespace

std::vector<Line> lines(QByteArrayView bytes)
{
    std::vector<Line> result;
    QString current;
    for (const QChar c : decoded(bytes)) {
        if (c == u'\r' || c == u'\n') {
            result.push_back(lineOf(current));
            current.clear();
        } else {
            current += c;
        }
    }
    result.push_back(lineOf(current));
    return result;
}

bool isUsableName(QStringView name)
{
    return !name.isEmpty() && !isBlank(name.front()) && !isBlank(name.back()) && name.isValidUtf16()
        && std::none_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; });
}

bool isUsableKey(QStringView key)
{
    return isUsableName(key) && !key.contains(u'=') && !key.startsWith(u';') && !key.startsWith(u'#')
        && !key.startsWith(u'[');
}

bool isUsableValue(QStringView value)
{
    return value.isValidUtf16() && !value.contains(u'\r') && !value.contains(u'\n') && !value.contains(QChar(0));
}

// Case is set aside for the ASCII letters only.
bool sameName(QStringView a, QStringView b)
{
    const auto fold = [](QChar c) { return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 0x20) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](QChar x, QChar y) {
               return fold(x) == fold(y);
           });
}

QString asReadBack(QString value)
{
    const qsizetype nul = value.indexOf(QChar(0));
    if (nul >= 0)
        value.truncate(nul);
    if (value.size() > 511) {
        value.truncate(511);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

QString value(const std::vector<Line>& lines, QStringView section, QStringView key)
{
    if (!isUsableName(section) || !isUsableKey(key))
        return {};
    bool inSection = false;
    for (const Line& line : lines) {
        if (line.kind == Line::Header) {
            // The first section of the name is the only one read.
            if (inSection)
                return {};
            inSection = sameName(line.name, section);
        } else if (line.kind == Line::Entry && inSection && sameName(line.name, key)) {
            return asReadBack(line.value);
        }
    }
    return {};
}

} // namespace reference
