// The profile reader against the plain reference reader: every section and
// key the text holds, and the same names in other cases, read alike.

#include "ReferenceIni.h"

#include "language/IniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t MaxQueries = 64;

QString flippedCase(const QString& name)
{
    QString flipped = name;
    for (QChar& c : flipped) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 0x20);
        else if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 0x20);
    }
    return flipped;
}

// Each key with the section it stands in, and with the first section's name;
// then the same in flipped case; then a few names found in no file.
std::vector<std::pair<QString, QString>> queries(const std::vector<reference::Line>& lines)
{
    std::vector<std::pair<QString, QString>> asked;
    QString first;
    QString current;
    for (const reference::Line& line : lines) {
        if (line.kind == reference::Line::Header) {
            current = line.name;
            if (first.isEmpty())
                first = line.name;
        } else if (line.kind == reference::Line::Entry && asked.size() < MaxQueries) {
            asked.emplace_back(current, line.name);
            asked.emplace_back(first, line.name);
        }
    }
    const std::size_t found = asked.size();
    for (std::size_t i = 0; i < found; ++i)
        asked.emplace_back(flippedCase(asked[i].first), flippedCase(asked[i].second));
    asked.emplace_back(QStringLiteral("S"), QStringLiteral("k"));
    asked.emplace_back(QStringLiteral("Strings"), QStringLiteral("0001"));
    return asked;
}

[[noreturn]] void mismatch(const QString& section, const QString& key, const QString& got, const QString& expected)
{
    std::fprintf(stderr, "[%s] %s: read \"%s\", expected \"%s\"\n", qPrintable(section), qPrintable(key),
                 qPrintable(got), qPrintable(expected));
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const IniFile file(bytes);
    const std::vector<reference::Line> lines = reference::lines(bytes);
    for (const auto& [section, key] : queries(lines)) {
        const QString got = file.value(section, key);
        const QString expected = reference::value(lines, section, key);
        if (got != expected)
            mismatch(section, key, got, expected);
    }
    return 0;
}
