#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

// The profile rules written the plainest way, to hold the real reader to:
// the whole text decoded at once, cut into lines, each line looked at in turn.
// Slow, and meant to be obviously right.
namespace reference {

struct Line
{
    enum Kind { Other, Header, Entry };
    Kind kind = Other;
    QString name; // the section's or the key's, blanks dropped
    QString value; // an entry's, blanks and one pair of enclosing quotes dropped
};

std::vector<Line> lines(QByteArrayView bytes);

// The names a lookup can ask for: not empty, no blanks at the edges, no
// control characters, no half surrogate pair; a key also holds no "=" and
// does not start like a comment or a header.
bool isUsableName(QStringView name);
bool isUsableKey(QStringView key);
// What a write accepts: no line break, no NUL, no half surrogate pair.
bool isUsableValue(QStringView value);

bool sameName(QStringView a, QStringView b);

// A value as a lookup gives it back: up to its first NUL, at most 511
// characters, never half a surrogate pair.
QString asReadBack(QString value);

// The value of the first entry of key in the first section of that name.
QString value(const std::vector<Line>& lines, QStringView section, QStringView key);

} // namespace reference
