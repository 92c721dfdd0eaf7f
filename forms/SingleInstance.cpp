#include "SingleInstance.h"

#include "Places.h"

#include <QCryptographicHash>
#include <QDir>
#include <QString>

#ifdef Q_OS_UNIX
#include <QFile>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <memory>
#endif

namespace forms {
namespace {

// Copies started from the same folder look for the same lock.
QString lockName()
{
    const QByteArray key = QCryptographicHash::hash(places().instanceKey().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tavendel-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

#ifdef Q_OS_UNIX

// A file descriptor, closed when it goes.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(Descriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    explicit operator bool() const { return m_fd >= 0; }
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Nobody else may put a file into the lock's folder, or anyone could hold
// the lock and keep every copy of this user's from starting: the folder
// must be a real folder (not a link to one), this user's, and writable by
// this user alone.
bool onlyMine(const Descriptor& folder)
{
    struct stat info{};
    return ::fstat(folder.get(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & (S_IWUSR | S_IXUSR)) == (S_IWUSR | S_IXUSR)
        && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

Descriptor openIfOnlyMine(const QByteArray& path)
{
    Descriptor folder(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return folder && onlyMine(folder) ? std::move(folder) : Descriptor();
}

// The session's runtime folder when it has a fit one; else a folder of this
// user's own in the temporary folder, which every user may write.
Descriptor lockFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/'))
        if (Descriptor folder = openIfOnlyMine(runtime))
            return folder;
    const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/tavendel-" + QByteArray::number(::geteuid());
    // It may be there from an earlier run, or made by someone else: it is checked either way.
    ::mkdir(own.constData(), S_IRWXU);
    return openIfOnlyMine(own);
}

enum class Lock { Taken, HeldByAnother, CannotBeMade };

// An advisory lock, which the system drops when its holder ends, however it
// ends: what the file holds never matters, so a file left empty or garbled by
// a crash blocks nothing.
Lock takeLock(Descriptor& held)
{
    const Descriptor folder = lockFolder();
    if (!folder)
        return Lock::CannotBeMade;
    Descriptor file(::openat(folder.get(), QFile::encodeName(lockName()).constData(),
                             O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (!file)
        return Lock::CannotBeMade;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) == 0) {
        held = std::move(file);
        return Lock::Taken;
    }
    return errno == EWOULDBLOCK ? Lock::HeldByAnother : Lock::CannotBeMade;
}

#else

enum class Lock { Taken, HeldByAnother, CannotBeMade };

// Elsewhere a lock file that names its holder; a holder that is gone leaves it stale.
Lock takeLock(std::unique_ptr<QLockFile>& held)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isWritable())
        folder = QDir::tempPath();
    auto lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + lockName());
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        held = std::move(lock);
        return Lock::Taken;
    }
    return lock->error() == QLockFile::LockFailedError ? Lock::HeldByAnother : Lock::CannotBeMade;
}

#endif

} // namespace

bool previousInstance()
{
#ifdef Q_OS_UNIX
    static Descriptor held;
#else
    static std::unique_ptr<QLockFile> held;
#endif
    // Asked once: the answer holds for the whole run.
    static const Lock lock = takeLock(held);
    // A lock that cannot be made says nothing about other copies, and must not
    // keep the program from starting.
    return lock == Lock::HeldByAnother;
}

} // namespace forms
