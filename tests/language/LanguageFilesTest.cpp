#include "language/IniFile.h"
#include "language/TextCodec.h"
#include "language/modLanguageSupport.h"

#include "forms/Places.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <map>
#include <set>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace modLanguageSupport;

// Every read(2) of this program passes here, so that a test can have the
// next one interrupted by a signal, as a real one can be.
bool interruptNextRead = false;

extern "C" ssize_t read(int descriptor, void* buffer, size_t count)
{
    using Read = ssize_t (*)(int, void*, size_t);
    static const auto real = reinterpret_cast<Read>(::dlsym(RTLD_NEXT, "read"));
    if (std::exchange(interruptNextRead, false)) {
        errno = EINTR;
        return -1;
    }
    return real(descriptor, buffer, count);
}

namespace {

constexpr qint64 Megabyte = 1024 * 1024;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
}

// The program's folder is a temporary one.
class LanguageFiles : public testing::Test
{
protected:
    void SetUp() override { forms::setAppPath(m_root.path()); }
    void TearDown() override { forms::setAppPath({}); setCurrentLanguage({}); }

    QString inApp(const QString& name) const { return m_root.filePath(name); }
    std::optional<QString> read(const QString& name) const { return MLSReadIni(inApp(name), "S", "k"); }
    QByteArray settingsFile() const { return IniFile::load(settingsFilePath()).value_or(IniFile()).bytes(); }

    QTemporaryDir m_root;
};

// Opening a device may have effects of its own, so anything that is not a
// regular file is turned down before it is opened, and a pipe never stalls a
// lookup. The files at and over the 4 MiB cap are one line of NUL bytes
// before their entry: such lines once stalled the scanners. (Files over 64000
// bytes once met a cruder line scan, and binary files stalled it: the ini_read
// seeds over_64000 and binary hold them to the profile rules.)
TEST_F(LanguageFiles, OnlyRegularFilesWithinTheSizeCapAreRead)
{
    ASSERT_TRUE(::mkfifo(QFile::encodeName(inApp("Pipe")), 0600) == 0 && QFile::link("/dev/null", inApp("ToNull"))
                && QFile::link(inApp("AtTheCap"), inApp("ToFile")));
    for (const auto& [name, size] : {std::pair{"AtTheCap", 4 * Megabyte}, {"OverTheCap", 4 * Megabyte + 1}})
        writeFile(inApp(name), QByteArray(size - 9, '\0') + "\n[S]\nk=1\n");
    // Every open of the pipe, even one that fails, shows as an inotify event.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    const auto closeWatch = qScopeGuard([&] { ::close(watch); });
    ::inotify_add_watch(watch, QFile::encodeName(inApp("Pipe")), IN_OPEN);

    for (const char* name : {"Missing", "Pipe", "ToNull", "OverTheCap"})
        EXPECT_EQ(read(name), std::nullopt) << name;
    for (const char* name : {"AtTheCap", "ToFile"})
        EXPECT_EQ(read(name), "1") << name;
    // A file that is there but cannot be read is not replaced either.
    EXPECT_EQ(MLSWriteIni(inApp("Pipe"), "S", "k", "2"), 0);
    char events[4096];
    EXPECT_LT(::read(watch, events, sizeof events), 0);
}

// A file that keeps its version (the same file, size and time stamp) is not
// read again while the cache holds it. A file changed within the last few
// seconds is read at every lookup: a second change within the step of its
// time stamp would keep the version.
TEST_F(LanguageFiles, AFileIsReadOncePerVersion)
{
    const auto rewritten = [&](const QString& name, const char* value, time_t stamp) {
        writeFile(inApp(name), "[S]\r\nk=" + QByteArray(value) + "\r\n");
        const timespec times[2] = {{0, UTIME_OMIT}, {stamp, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(inApp(name)).constData(), times, 0), 0);
        return read(name);
    };
    const time_t hourAgo = ::time(nullptr) - 3600;
    EXPECT_EQ(rewritten("Kept", "1", hourAgo), "1");
    EXPECT_EQ(rewritten("Kept", "2", hourAgo + 1), "2");
    // Kept while the files read since fill the cache of the last four, least
    // recently read first out when one more is read.
    for (int i = 0; i < 7; ++i) {
        if (i == 3) {
            EXPECT_EQ(rewritten("Kept", "3", hourAgo + 1), "2");
        }
        EXPECT_EQ(rewritten(QString::number(i), "x", hourAgo), "x");
    }
    EXPECT_EQ(rewritten("Kept", "4", hourAgo + 1), "4");

    // Dated a minute ahead, so that not even a slow run lets it settle.
    EXPECT_EQ(rewritten("Kept", "5", hourAgo + 3660), "5");
    EXPECT_EQ(rewritten("Kept", "6", hourAgo + 3660), "6");
}

// A read that a signal interrupts is made again; and a program started with
// its standard input closed gets descriptor 0 for a file, a file like another.
TEST_F(LanguageFiles, InterruptedReadsAndDescriptorZero)
{
    writeFile(inApp("Uno"), "[S]\r\nk=1\r\n");
    writeFile(inApp("Due"), "[S]\r\nk=2\r\n");
    interruptNextRead = true;
    EXPECT_EQ(read("Uno"), "1");
    EXPECT_FALSE(interruptNextRead);
    const int input = ::dup(0);
    ::close(0);
    const std::optional<QString> found = read("Due");
    ::dup2(input, 0);
    ::close(input);
    EXPECT_EQ(found, "2");
}

// An empty name (no settings file gives one, as the splash's tests show) is
// no language, whatever lies in a file named ".lng".
TEST_F(LanguageFiles, LanguageNamesAndPaths)
{
    writeFile(inApp(".lng"), "[Strings]\r\n0001=\"senza nome\"\r\n");
    EXPECT_EQ(MLSGetMessage("0001"), ""); // a message found is every confirmation the menu asks

    // A name that could lead out of the program's folder names no language
    // (nor is it taken from the settings file: the splash's tests).
    for (const QString& name : QStringList{"../x", "..", "a/b", "a\\b", "\t", "x\u0085", QString(QChar(0))}) {
        setCurrentLanguage(name);
        EXPECT_FALSE(isSafeLanguageName(name) || languageFilePath()) << name.toStdString();
    }
    for (const QString& name : QStringList{"", "Italiano", "Español", "English (UK)", ".hidden"})
        EXPECT_TRUE(isSafeLanguageName(name)) << name.toStdString();

    // At a drive root the settings path keeps its doubled separator.
    setCurrentLanguage("Italiano");
    for (const QString folder : {"/opt/tavendel", "/"}) {
        forms::setAppPath(folder);
        const QString file = folder.chopped(folder == "/") + "/Italiano.lng";
        EXPECT_EQ(std::pair(languageFilePath(), settingsFilePath()),
                  std::pair(std::optional(file), folder + "/LangSetting.ini"));
    }
}

// The file and its section are made as needed; a write keeps every other
// line, even an entry of the same key in another section, and a failed one
// leaves no temporary file behind.
TEST_F(LanguageFiles, WritingKeepsTheRestOrLeavesTheOldFileWhole)
{
    ASSERT_EQ(writeLanguageSetting("English"), 1);
    EXPECT_EQ(settingsFile(), "[Language]\r\nCurrentLanguage=English\r\n");

    const QByteArray rest = "; chosen at the last run\r\n[X]\r\nCurrentLanguage=2\r\n\r\n[Language]\r\n";
    writeFile(settingsFilePath(), rest + "CurrentLanguage=Italiano ; old\r\nSpare=2\r\n");
    ASSERT_EQ(writeLanguageSetting("English"), 1);
    EXPECT_EQ(settingsFile(), rest + "CurrentLanguage=English\r\nSpare=2\r\n");

    // A new file that cannot be made, a write that fails halfway: nothing is
    // written, and the old file stays whole. QSaveFile's commit once renamed a
    // half-written file into place; a lowered file size limit makes the write
    // fail halfway even for root, whom permissions do not stop.
    EXPECT_EQ(MLSWriteIni(settingsFilePath() + "/LangSetting.ini", "Language", "CurrentLanguage", "English"), 0);

    const QByteArray before = "[Language]\r\nCurrentLanguage=Italiano\r\n";
    writeFile(settingsFilePath(), before);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit lowered{4096, previous.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the test
    const int written = writeLanguageSetting(QString(8192, u'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(settingsFile(), before);
    EXPECT_EQ(QDir(inApp("")).entryList(QDir::Files | QDir::Hidden), QStringList{"LangSetting.ini"});
}

// A language file's entries by section and key, each value without its quotes.
std::map<std::pair<QString, QString>, QString> entriesOf(const QString& path)
{
    const QByteArray bytes = IniFile::load(path).value_or(IniFile()).bytes();
    EXPECT_TRUE(!bytes.isEmpty() && textcodec::isValidUtf8(bytes)) << path.toStdString();
    std::map<std::pair<QString, QString>, QString> entries;
    QString section;
    for (QString line : QString::fromUtf8(bytes).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']'))
            section = line.mid(1, line.size() - 2);
        else if (const qsizetype equals = line.indexOf(u'='); equals > 0)
            entries[{section, line.left(equals).trimmed()}] = line.mid(equals + 1).trimmed().remove(u'"');
    }
    return entries;
}

// Every shipped language holds the keys of Italiano.lng and no others, a
// text wherever the Italian has one, in valid UTF-8; and on each menu bar
// every entry has an access key of its own.
TEST(ShippedLanguages, AreCompleteAndTheirMenusReachableByKeys)
{
    const QDir assets(QStringLiteral(TAVENDEL_ASSETS_DIR));
    const auto italiano = entriesOf(assets.filePath(QStringLiteral("Italiano.lng")));
    const QStringList files = assets.entryList({QStringLiteral("*.lng")}, QDir::Files);
    EXPECT_EQ(files.size(), 5);
    for (const QString& file : files) {
        auto entries = entriesOf(assets.filePath(file));
        EXPECT_EQ(entries.size(), italiano.size()) << file.toStdString() << ": keys missing or extra";
        std::map<QString, std::set<QString>> accessKeys; // by menu bar
        for (const auto& [where, italian] : italiano) {
            const std::string name = (file + " [" + where.first + "] " + where.second).toStdString();
            EXPECT_TRUE(entries.contains(where) && (italian.isEmpty() || !entries[where].isEmpty())) << name;
            const QString key = entries[where].section(u'&', 1).left(1).toLower();
            const bool menu = where.second.startsWith(QLatin1String("mnu")) || where.second.startsWith(QLatin1String("Menu"));
            EXPECT_TRUE(!menu || (!key.isEmpty() && accessKeys[where.first].insert(key).second)) << name << " has no access key";
        }
    }
}

} // namespace
