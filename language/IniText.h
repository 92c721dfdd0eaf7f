#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

// An INI text read once into an index, by the rules of the Windows profile
// functions: "[Section]" lines, "key = value" entries, ";" and "#" comments,
// lines ending in CR LF, LF or CR alone. Names match without regard to ASCII
// case; the first section of a name, and the first entry of a key in it, win;
// entries before the first section belong to none. Every other byte, NUL
// included, is ordinary text.
//
// Positions are offsets into text(), the bytes after any UTF-8 byte order
// mark. The text never changes: a change makes a new IniText.
class IniText
{
public:
    // Offsets fit in 32 bits: no text that large is ever indexed, and a small
    // entry keeps the index of a file of many short lines small.
    using Offset = std::uint32_t;
    static constexpr qsizetype MaxSize = qsizetype(UINT32_MAX);

    struct Section
    {
        Offset nameStart;
        Offset nameSize;
        Offset bodyStart; // the end of its header line
        Offset lastEntryEnd; // the end of its last entry line, or bodyStart
    };

    struct Entry
    {
        Offset section; // the section's number, in the order of the text
        Offset lineStart; // where the line's blanks before the key begin
        Offset keyStart;
        Offset keySize;
        Offset valueStart; // just past the "="
        Offset lineEnd;
    };

    // A text over MaxSize is indexed as if it were empty.
    explicit IniText(QByteArray bytes);
    IniText(const IniText&) = delete;
    IniText& operator=(const IniText&) = delete;

    const QByteArray& bytes() const { return m_bytes; }
    QByteArrayView byteOrderMark() const { return m_byteOrderMark; }
    QByteArrayView text() const { return m_text; }

    // UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise.
    bool isUtf8() const { return m_isUtf8; }
    // std::nullopt when the text's encoding cannot carry the string.
    std::optional<QByteArray> encode(QStringView string) const;
    QString decode(QByteArrayView bytes) const;

    const Section* findSection(QByteArrayView name) const;
    const Entry* findEntry(const Section& section, QByteArrayView key) const;
    // The entry's value without the blanks around it and without one pair of
    // enclosing double quotes.
    QByteArrayView valueOf(const Entry& entry) const;
    // The line break the text already uses; CR LF for a text without any.
    QByteArray lineBreak() const;

private:
    void index();
    void addLine(qsizetype start, qsizetype end);
    void keepFirstOfEachName();
    QByteArrayView sectionName(Offset section) const;
    QByteArrayView keyOf(const Entry& entry) const;

    QByteArray m_bytes;
    QByteArrayView m_byteOrderMark;
    QByteArrayView m_text;
    bool m_isUtf8 = true;
    // Every section in the order of the text, so that an entry can name its
    // own; those first of their name, sorted by name, for the lookup.
    std::vector<Section> m_sections;
    std::vector<Offset> m_sectionsByName;
    // The entries of the sections first of their name, first of their key,
    // sorted by section and key.
    std::vector<Entry> m_entries;
};
