#pragma once

#include <QByteArray>
#include <QString>

#include <ctime>
#include <optional>

#include <sys/types.h>

// One version of a file's contents as the file system tells versions apart:
// the same file (device and inode) with the same size and modification time.
struct FileVersion
{
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;

    friend bool operator==(const FileVersion& a, const FileVersion& b)
    {
        return a.device == b.device && a.inode == b.inode && a.size == b.size
            && a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec;
    }
};

// Reading files that anyone may put in the program's folder. Only a regular
// file (links followed) of at most maxSize bytes is read: its type is checked
// before it is opened, since opening some devices has effects of its own, and
// again on what was opened, which must be the file checked.
namespace regularfile {

// The file's version, from its status alone: nothing is opened.
std::optional<FileVersion> versionOf(const QString& path, qint64 maxSize);

struct Snapshot
{
    QByteArray bytes;
    FileVersion version; // as it was just before the bytes were read
};

// A file that shrinks or grows while it is read gives the bytes it held then.
std::optional<Snapshot> read(const QString& path, qint64 maxSize);

} // namespace regularfile
