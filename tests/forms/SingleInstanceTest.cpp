// The previous-instance check across real processes: this test holds a lock
// as a running copy would, and a small probe starts as a second copy.

#include "forms/ProgramFolder.h"
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
    void initTestCase();
    void cleanupTestCase() { forms::setAppPath(QString()); }

    void aSecondCopyFromTheSameFolderIsTold();
    void aCopyFromAnotherFolderIsAlone();
    void aLockLeftByAKilledCopyDoesNotBlock();
    void aLockThatCannotBeMadeDoesNotBlock();

private:
    // Starts the probe as a copy of the program living in `folder`.
    QString probe(const QString& folder, const QProcessEnvironment& environment) const;
    QProcessEnvironment environment() const;
    QStringList lockFiles() const;

    QTemporaryDir m_runtime;
    QTemporaryDir m_programs;
};

void SingleInstanceTest::initTestCase()
{
    QVERIFY(m_runtime.isValid() && m_programs.isValid());
    // The locks of this test lie in a runtime folder of its own.
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    forms::setAppPath(m_programs.filePath(QStringLiteral("running")));
    QVERIFY(!forms::previousInstance()); // the first copy
    QVERIFY(!forms::previousInstance()); // asking again changes nothing
}

QProcessEnvironment SingleInstanceTest::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    return environment;
}

QString SingleInstanceTest::probe(const QString& folder, const QProcessEnvironment& environment) const
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TAVENDEL_INSTANCE_PROBE), {m_programs.filePath(folder)});
    if (!process.waitForFinished(kWaitMs))
        return QStringLiteral("no answer");
    return QString::fromLatin1(process.readAllStandardOutput()).trimmed();
}

QStringList SingleInstanceTest::lockFiles() const
{
    return QDir(m_runtime.path()).entryList({QStringLiteral("tavendel-*.lock")}, QDir::Files);
}

void SingleInstanceTest::aSecondCopyFromTheSameFolderIsTold()
{
    QCOMPARE(probe(QStringLiteral("running"), environment()), QStringLiteral("another"));
}

void SingleInstanceTest::aCopyFromAnotherFolderIsAlone()
{
    QCOMPARE(probe(QStringLiteral("elsewhere"), environment()), QStringLiteral("alone"));
}

void SingleInstanceTest::aLockLeftByAKilledCopyDoesNotBlock()
{
    const QStringList before = lockFiles();
    QProcess crashing;
    crashing.setProcessEnvironment(environment());
    crashing.start(QStringLiteral(TAVENDEL_INSTANCE_PROBE),
                   {m_programs.filePath(QStringLiteral("crashed")), QStringLiteral("hold")});
    QVERIFY(crashing.waitForReadyRead(kWaitMs));
    QCOMPARE(QString::fromLatin1(crashing.readAllStandardOutput()).trimmed(), QStringLiteral("alone"));
    crashing.kill();
    QVERIFY(crashing.waitForFinished(kWaitMs));
    QCOMPARE(lockFiles().size(), before.size() + 1); // left behind by the dead copy

    QCOMPARE(probe(QStringLiteral("crashed"), environment()), QStringLiteral("alone"));
}

void SingleInstanceTest::aLockThatCannotBeMadeDoesNotBlock()
{
    // No runtime folder, and a temporary "folder" that is a plain file: the
    // lock file cannot be made (even for root, who may write anywhere).
    QFile plain(m_runtime.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QProcessEnvironment nowhere = environment();
    nowhere.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.filePath(QStringLiteral("missing")));
    nowhere.insert(QStringLiteral("TMPDIR"), plain.fileName());
    QCOMPARE(probe(QStringLiteral("nowhere"), nowhere), QStringLiteral("alone"));
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
