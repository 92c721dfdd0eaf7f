// The previous-instance check across real processes. This executable is also
// the probe: started as "--probe FOLDER [hold]" it is a copy of the program
// living in FOLDER, says whether another copy from there runs (asking twice,
// as the answer must hold for the whole run), and with "hold" keeps its lock
// until it is killed.

#include "forms/Places.h"
#include "forms/SingleInstance.h"

#include <QDirIterator>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <array>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;
constexpr int kWaitMs = 10000;

// The runtime folder: the session's, one every user may write, none, or
// unusable. The holder: a first copy that lives, one killed (its lock file
// then emptied, as a crash may leave it), or none. The folder the second copy
// starts from, and its answer.
using Row = std::array<QString, 4>; // runtime folder, holder, from, answer

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void secondCopy_data()
    {
        QTest::addColumn<Row>("row");
        QTest::newRow("from the same folder") << Row{"own", "live", "same", "another"};
        QTest::newRow("from another folder") << Row{"own", "live", "elsewhere", "alone"};
        QTest::newRow("lock emptied after a kill") << Row{"own", "killed", "same", "alone"};
        QTest::newRow("no runtime folder") << Row{"none", "live", "same", "another"};
        QTest::newRow("runtime folder open to all") << Row{"open", "live", "same", "another"};
        // Even root, who may write anywhere, cannot make a lock where the temporary folder is a file.
        QTest::newRow("no lock can be made") << Row{"unusable", "none", "same", "alone"};
    }
    void secondCopy()
    {
        QFETCH(Row, row);
        const auto& [runtimeFolder, holder, from, answer] = row;
        QTemporaryDir folder; // the row's runtime folder, and its temporary folder
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const bool unusable = runtimeFolder == QLatin1String("unusable"); // and a temporary "folder" that is a file
        environment.insert(QStringLiteral("TMPDIR"), unusable ? QCoreApplication::applicationFilePath() : folder.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), unusable ? folder.filePath("missing") : folder.path());
        if (runtimeFolder == QLatin1String("none"))
            environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (runtimeFolder == QLatin1String("open"))
            fs::permissions(folder.path().toStdString(), fs::perms::all);
        QProcess first;
        const auto stop = qScopeGuard([&first] { first.kill(), first.waitForFinished(kWaitMs); });
        if (holder != QLatin1String("none")) {
            QCOMPARE(run(first, folder.filePath(QStringLiteral("same")), environment, true), QByteArray("alone"));
            QDirIterator locks(folder.path(), {QStringLiteral("*.lock")}, QDir::Files, QDirIterator::Subdirectories);
            const QFileInfo lock(locks.next());
            if (holder == QLatin1String("killed")) {
                first.kill();
                QVERIFY(first.waitForFinished(kWaitMs) && QFile::resize(lock.filePath(), 0));
            }
            // A lock in a folder others may write could be held by anyone: it
            // goes into a folder of the user's own, which no one else may write.
            if (runtimeFolder != QLatin1String("own"))
                QCOMPARE(std::pair(QFileInfo(lock.path()).path(),
                                   int(fs::status(lock.path().toStdString()).permissions())),
                         std::pair(folder.path(), int(fs::perms::owner_all)));
        }
        QProcess second;
        QCOMPARE(run(second, folder.filePath(from), environment), answer.toLatin1());
    }

private:
    // Starts the probe as a copy of the program living in `folder`, and gives
    // its answer once it has ended (a holder's at once).
    static QByteArray run(QProcess& process, const QString& folder, const QProcessEnvironment& env, bool hold = false)
    {
        process.setProcessEnvironment(env);
        process.start(QCoreApplication::applicationFilePath(), {"--probe", folder, hold ? "hold" : ""});
        const bool answered = hold ? process.waitForReadyRead(kWaitMs) : process.waitForFinished(kWaitMs);
        return answered ? process.readAllStandardOutput().trimmed() : QByteArray("no answer");
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3 || qstrcmp(argv[1], "--probe") != 0)
        return QTest::qExec(std::make_unique<SingleInstanceTest>().get(), argc, argv);
    forms::setAppPath(QFile::decodeName(argv[2]));
    const bool another = forms::previousInstance();
    std::puts(another != forms::previousInstance() ? "changed" : another ? "another" : "alone");
    std::fflush(stdout);
    while (argc > 3 && *argv[3]) // hold
        QThread::sleep(1);
    return 0;
}

#include "SingleInstanceTest.moc"
