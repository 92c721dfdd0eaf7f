#include "RegularFile.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace regularfile {
namespace {

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

std::optional<FileVersion> versionIfAccepted(const struct stat& status, qint64 maxSize)
{
    if (!S_ISREG(status.st_mode) || status.st_size > maxSize)
        return std::nullopt;
    return FileVersion{status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

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

std::optional<FileVersion> versionOf(const QString& path, qint64 maxSize)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return versionIfAccepted(status, maxSize);
}

std::optional<Snapshot> read(const QString& path, qint64 maxSize)
{
    const std::optional<FileVersion> checked = versionOf(path, maxSize);
    if (!checked)
        return std::nullopt;
    // Non-blocking, so that a pipe put in the file's place since the check
    // cannot stall the open.
    const FileDescriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0)
        return std::nullopt;
    const std::optional<FileVersion> opened = versionIfAccepted(status, maxSize);
    if (!opened || opened->device != checked->device || opened->inode != checked->inode)
        return std::nullopt;
    std::optional<QByteArray> bytes = readUpTo(file.get(), qsizetype(opened->size));
    if (!bytes)
        return std::nullopt;
    return Snapshot{std::move(*bytes), *opened};
}

} // namespace regularfile
