// The writer: a random file and a random write. The write is refused only
// for what the format cannot hold; the written entry reads back as written,
// and every other entry of the file reads back as before.
//
// Input: one byte of flags (bit 0: names and value in UTF-8, else
// Windows-1252), then the section, the key and the value, each ended by a
// NUL, then the file.

#include "ReferenceIni.h"

#include "language/IniFile.h"
#include "language/TextCodec.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

struct Write
{
    QString section;
    QString key;
    QString value;
    QByteArray file;
};

std::optional<Write> parsed(QByteArrayView input)
{
    if (input.isEmpty())
        return std::nullopt;
    const bool utf8 = input.front() & 1;
    input = input.sliced(1);
    QString parts[3];
    for (QString& part : parts) {
        const qsizetype end = input.indexOf('\0');
        if (end < 0)
            return std::nullopt;
        part = utf8 ? QString::fromUtf8(input.first(end)) : textcodec::fromWindows1252(input.first(end));
        input = input.sliced(end + 1);
    }
    return Write{parts[0], parts[1], parts[2], input.toByteArray()};
}

[[noreturn]] void fail(const char* what, const QString& section, const QString& key, const QString& got,
                       const QString& expected)
{
    std::fprintf(stderr, "%s: [%s] %s: \"%s\", expected \"%s\"\n", what, qPrintable(section), qPrintable(key),
                 qPrintable(got), qPrintable(expected));
    std::abort();
}

bool isTheWrittenEntry(const Write& write, const QString& section, const QString& key)
{
    return reference::sameName(section, write.section) && reference::sameName(key, write.key);
}

// Every entry of the text, asked for in the section it stands in.
void checkOthersUnchanged(const Write& write, const QByteArray& text, const IniFile& before, const IniFile& after)
{
    QString section;
    for (const reference::Line& line : reference::lines(text)) {
        if (line.kind == reference::Line::Header)
            section = line.name;
        if (line.kind != reference::Line::Entry || isTheWrittenEntry(write, section, line.name))
            continue;
        const QString was = before.value(section, line.name);
        const QString is = after.value(section, line.name);
        if (was != is)
            fail("another entry changed", section, line.name, is, was);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<Write> write = parsed(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!write)
        return 0;
    const IniFile before(write->file);
    IniFile after = before;
    const bool accepted = after.setValue(write->section, write->key, write->value);
    const bool acceptable = reference::isUsableName(write->section) && reference::isUsableKey(write->key)
        && reference::isUsableValue(write->value);
    if (accepted != acceptable) {
        std::fprintf(stderr, "write %s\n", accepted ? "accepted what the format cannot hold" : "refused");
        std::abort();
    }
    if (!accepted) {
        if (after.bytes() != before.bytes())
            fail("a refused write changed the file", write->section, write->key, QString(), QString());
        return 0;
    }
    const QString expected = reference::asReadBack(write->value);
    const QString got = after.value(write->section, write->key);
    if (got != expected)
        fail("the written entry", write->section, write->key, got, expected);
    const QString byReference = reference::value(reference::lines(after.bytes()), write->section, write->key);
    if (byReference != expected)
        fail("the written entry, read plainly", write->section, write->key, byReference, expected);
    checkOthersUnchanged(*write, before.bytes(), before, after);
    checkOthersUnchanged(*write, after.bytes(), before, after);
    return 0;
}
