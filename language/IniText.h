#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The structure of an INI text as the Windows profile functions see it:
// "[Section]" lines, "key = value" entries, ";" and "#" comments, lines ending
// in CR LF, LF or CR alone. Sections and entries are found where they lie,
// without splitting the text into lines, so that a lookup in a large language
// file costs little more than reading it. Names match without regard to ASCII
// case; the first matching section, and the first matching key in it, win.
// Every other byte, NUL included, is ordinary text.
//
// Positions are offsets into text(), the bytes after any UTF-8 byte order mark.
// One IniText serves one lookup or one change: it remembers where it last
// found line ends and what encoding the text is in.
class IniText
{
public:
    struct Section
    {
        qsizetype headerStart; // the "[" of its header line
        qsizetype bodyStart; // the end of its header line
        qsizetype end; // the start of the next header line, or the end of the text
    };

    struct Entry
    {
        qsizetype lineStart;
        qsizetype keyStart;
        qsizetype valueStart; // just past the "="
        qsizetype lineEnd;
    };

    explicit IniText(QByteArrayView bytes);

    QByteArrayView byteOrderMark() const { return m_byteOrderMark; }
    QByteArrayView text() const { return m_text; }

    // UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise.
    bool isUtf8();
    // std::nullopt when the text's encoding cannot carry the string.
    std::optional<QByteArray> encode(QStringView string);
    QString decode(QByteArrayView bytes);

    std::optional<Section> findSection(QByteArrayView name);
    std::optional<Entry> findEntry(const Section& section, QByteArrayView key);
    // The entry's value without the blanks around it and without one pair of
    // enclosing double quotes.
    QByteArrayView valueOf(const Entry& entry) const;
    // The end of the section's last entry line, or of its header line when it
    // holds no entry: where a new entry belongs.
    qsizetype endOfLastEntry(const Section& section);

    // The first CR or LF at or after pos, or the end of the text.
    qsizetype lineEnd(qsizetype pos);
    // The line break the text already uses; CR LF for a text without any.
    QByteArray lineBreak() const;

private:
    struct Memo
    {
        qsizetype from = -1;
        qsizetype hit = -1;
    };

    qsizetype next(Memo& memo, char c, qsizetype pos);
    qsizetype nextHeader(qsizetype from);
    qsizetype closingBracket(qsizetype headerStart);
    qsizetype indentStart(qsizetype pos) const;
    bool startsLine(qsizetype pos) const;
    qsizetype nextLineStart(qsizetype lineEnd) const;

    QByteArrayView m_byteOrderMark;
    QByteArrayView m_text;
    std::optional<bool> m_isUtf8;
    Memo m_nextCr;
    Memo m_nextLf;
};
