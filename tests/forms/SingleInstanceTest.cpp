// The previous-instance check across real processes: this test holds a lock
// as a running copy would, and a small probe starts as a second copy.

#include "forms/Places.h"
#include "forms/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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

    void aLockLeftByAKilledCopyDoesNotBlock()
    {
        const qsizetype locksBefore = lockCount();
        QProcess crashing;
        start(crashing, QStringLiteral("crashed"), {QStringLiteral("hold")});
        QVERIFY(crashing.waitForReadyRead(kWaitMs));
        QCOMPARE(crashing.readAllStandardOutput().trimmed(), QByteArray("alone"));
        crashing.kill();
        QVERIFY(crashing.waitForFinished(kWaitMs));
        QCOMPARE(lockCount(), locksBefore + 1); // left behind by the dead copy

        QCOMPARE(probe(QStringLiteral("crashed")), QStringLiteral("alone"));
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
    qsizetype lockCount() const
    {
        return QDir(m_runtime.path()).entryList({QStringLiteral("tavendel-*.lock")}, QDir::Files).size();
    }

    QTemporaryDir m_runtime;
    QTemporaryDir m_programs;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
