#include "SingleInstance.h"

#include "Places.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QFileInfo>

#include <memory>

namespace forms {
namespace {
QString lockPath()
{
    // The user's runtime folder when the session has one, else the temporary folder.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isWritable())
        folder = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(places().instanceKey().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return folder + QStringLiteral("/tavendel-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}
} // namespace

bool previousInstance()
{
    static std::unique_ptr<QLockFile> held;
    static bool another = false;
    if (held || another)
        return another;
    auto lock = std::make_unique<QLockFile>(lockPath());
    // Only a living process keeps the lock: a stale one is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        held = std::move(lock);
    else
        // A lock that cannot be made at all (no writable folder) says nothing
        // about other copies, and must not keep the program from starting.
        another = lock->error() == QLockFile::LockFailedError;
    return another;
}

} // namespace forms
