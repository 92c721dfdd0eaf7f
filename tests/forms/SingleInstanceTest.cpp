// The previous-instance check across real processes: this test, or a probe
// told to hold on, holds a lock as a running copy would, and a probe starts
// as a second copy.

#include "forms/Places.h"
#include "forms/SingleInstance.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#ifndef TAVENDEL_INSTANCE_PROBE
#error "TAVENDEL_INSTANCE_PROBE must name the probe executable"
#endif

namespace {
constexpr int kWaitMs = 10000;
}

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid() && m_programs.isValid());
        // The locks of this test lie in a runtime folder of its own.
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        forms::setAppPath(m_programs.filePath(QStringLiteral("running")));
        QVERIFY(!forms::previousInstance()); // the first copy
        QVERIFY(!forms::previousInstance()); // asking again changes nothing
    }
    void cleanupTestCase() { forms::setAppPath(QString()); }

    void aSecondCopyIsToldOnlyFromTheSameFolder()
    {
        QCOMPARE(probe(QStringLiteral("running")), QStringLiteral("another"));
        QCOMPARE(probe(QStringLiteral("elsewhere")), QStringLiteral("alone"));
    }

    void aLockBlocksOnlyWhileItsHolderLives_data()
    {
        QTest::addColumn<QString>("runtimeFolder"); // the session's, one every user may write, or none
        QTest::addColumn<bool>("holderKilled");
        QTest::addColumn<QByteArray>("leftInTheLock"); // null: what the holder wrote
        QTest::addColumn<QString>("answer");
        const QString own = QStringLiteral("own");
        QTest::newRow("left by a killed copy") << own << true << QByteArray() << "alone";
        QTest::newRow("emptied after a kill") << own << true << QByteArray("") << "alone";
        QTest::newRow("garbled after a kill")
            << own << true << QByteArrayLiteral("\xff\x00 -1\nnot a process") << "alone";
        QTest::newRow("held by a live copy") << own << false << QByteArray() << "another";
        QTest::newRow("emptied under a live copy") << own << false << QByteArray("") << "another";
        QTest::newRow("no runtime folder, live copy") << "none" << false << QByteArray() << "another";
        QTest::newRow("no runtime folder, emptied after a kill") << "none" << true << QByteArray("") << "alone";
        QTest::newRow("runtime folder open to all, live copy") << "open" << false << QByteArray() << "another";
    }

    // A copy holds the lock, maybe dies, its lock file maybe rewritten; then a second copy starts.
    void aLockBlocksOnlyWhileItsHolderLives()
    {
        QFETCH(QString, runtimeFolder);
        QFETCH(bool, holderKilled);
        QFETCH(QByteArray, leftInTheLock);
        QFETCH(QString, answer);
        // The row's own runtime folder, or without one its own temporary folder.
        QTemporaryDir folder(m_runtime.filePath(QStringLiteral("rowXXXXXX")));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), folder.path());
        if (runtimeFolder == QLatin1String("none"))
            environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        else
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                        | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        if (runtimeFolder == QLatin1String("open"))
            QVERIFY(QFile::setPermissions(folder.path(), QFile::permissions(folder.path()) | others));
        const QString program = QFileInfo(folder.path()).fileName();

        QProcess holder;
        const auto stop = qScopeGuard([&holder] {
            holder.kill();
            holder.waitForFinished(kWaitMs);
        });
        start(holder, program, {QStringLiteral("hold")}, environment);
        QVERIFY(holder.waitForReadyRead(kWaitMs));
        QCOMPARE(holder.readAllStandardOutput().trimmed(), QByteArray("alone"));
        if (holderKilled) {
            holder.kill();
            QVERIFY(holder.waitForFinished(kWaitMs));
        }
        QDirIterator locks(folder.path(), {QStringLiteral("*.lock")}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(locks.hasNext());
        const QFileInfo lock(locks.next());
        QVERIFY(!locks.hasNext());
        if (!leftInTheLock.isNull()) {
            QFile rewritten(lock.filePath());
            QVERIFY(rewritten.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(rewritten.write(leftInTheLock), leftInTheLock.size());
        }

        QCOMPARE(probe(program, environment), answer);
        // A lock in a folder others may write could be held by anyone: it goes
        // into a folder of the user's own, which no one else may write.
        if (runtimeFolder != QLatin1String("own")) {
            const QFileInfo own(lock.path());
            QCOMPARE(own.dir().path(), folder.path());
            QVERIFY(own.permissions().testFlags(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QVERIFY(!(own.permissions() & others));
        }
    }

    void aLockThatCannotBeMadeDoesNotBlock()
    {
        // No runtime folder, and a temporary "folder" that is a plain file: the
        // lock file cannot be made (even for root, who may write anywhere).
        QFile plain(m_runtime.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        QProcessEnvironment nowhere = QProcessEnvironment::systemEnvironment();
        nowhere.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.filePath(QStringLiteral("missing")));
        nowhere.insert(QStringLiteral("TMPDIR"), plain.fileName());
        QCOMPARE(probe(QStringLiteral("nowhere"), nowhere), QStringLiteral("alone"));
    }

private:
    // Starts the probe as a copy of the program living in `folder` (by
    // default with the runtime folder of this test).
    void start(QProcess& process, const QString& folder, const QStringList& more = {},
               QProcessEnvironment environment = {}) const
    {
        if (environment.isEmpty()) {
            environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        }
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TAVENDEL_INSTANCE_PROBE), QStringList{m_programs.filePath(folder)} + more);
    }
    QString probe(const QString& folder, const QProcessEnvironment& environment = {}) const
    {
        QProcess process;
        start(process, folder, {}, environment);
        if (!process.waitForFinished(kWaitMs))
            return QStringLiteral("no answer");
        return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
    }

    QTemporaryDir m_runtime;
    QTemporaryDir m_programs;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
