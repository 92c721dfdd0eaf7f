#include "language/IniFile.h"
#include "language/IniFileCache.h"
#include "language/TextCodec.h"
#include "language/modLanguageSupport.h"

#include "forms/Places.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <map>
#include <random>
#include <set>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace modLanguageSupport;

#ifndef TAVENDEL_ASSETS_DIR
#error "TAVENDEL_ASSETS_DIR must name the source tree's assets folder"
#endif

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's folder is "app" inside a temporary root, so that a name
// leading out of it has somewhere to lead.
class LanguageFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_root.path()).mkdir(QStringLiteral("app")));
        forms::setAppPath(appFolder());
        setCurrentLanguage(QString());
    }

    void TearDown() override
    {
        forms::setAppPath(QString());
        setCurrentLanguage(QString());
    }

    QString appFolder() const { return m_root.filePath(QStringLiteral("app")); }
    QString inApp(const QString& name) const { return appFolder() + u'/' + name; }
    std::optional<QString> read(const QString& name) const
    {
        return MLSReadIni(inApp(name), QStringLiteral("S"), QStringLiteral("k"));
    }
    QStringList filesInApp() const { return QDir(appFolder()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir m_root;
};

// Around 64000 bytes, where an old platform limit once switched to a cruder
// line scan: both sizes follow the same profile rules.
TEST_F(LanguageFiles, FilesAroundTheOldSizeLimitReadAlike)
{
    const QByteArray entries = "[Strings]\r\n00012=\"wrong\"\r\n0001=\"Vuoi uscire?\"\r\n"
                               "[Form1]\r\nCommand1.Caption=Avanti\r\n  Label1.Caption  =  \"Esatti\"\r\n"
                               "mnuEsci.Caption=\"Esci 1\"\r\nLong=\"" + QByteArray(600, 'x')
                               + "\"\r\n[Form2]\r\nmnuEsci.Caption=\"Esci 2\"\r\n;";
    const std::tuple<const char*, const char*, QString> queries[] = {
        {"Strings", "0001", QStringLiteral("Vuoi uscire?")},
        {"Form1", "command1.caption", QStringLiteral("Avanti")},
        {"Form1", "Label1.Caption", QStringLiteral("Esatti")},
        {"Form1", "mnuEsci.Caption", QStringLiteral("Esci 1")},
        {"Form2", "mnuEsci.Caption", QStringLiteral("Esci 2")},
        {"Form1", "Long", QString(IniFile::MaxValueLength, u'x')},
    };
    for (const qsizetype size : {64000, 64001}) {
        const QString path = inApp(QStringLiteral("L%1.lng").arg(size));
        writeFile(path, entries + QByteArray(size - entries.size() - 2, 'p') + "\r\n");
        ASSERT_EQ(QFileInfo(path).size(), size);
        for (const auto& [section, key, expected] : queries)
            EXPECT_EQ(MLSReadIni(path, section, key), expected) << size << ' ' << key;
    }
}

// Every open of the file, even of a pipe, shows as an inotify event.
struct OpenWatch
{
    explicit OpenWatch(const QString& path)
    {
        EXPECT_GE(::inotify_add_watch(fd, QFile::encodeName(path).constData(), IN_OPEN), 0);
    }
    ~OpenWatch() { ::close(fd); }
    bool opened() const
    {
        char events[4096];
        return ::read(fd, events, sizeof events) > 0;
    }
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
};

// Opening a device may have effects of its own, so anything that is not a
// regular file is turned down before it is opened. A sparse file over the
// size cap costs nothing to make.
TEST_F(LanguageFiles, OnlyRegularFilesWithinTheSizeCapAreRead)
{
    ASSERT_TRUE(QDir(appFolder()).mkdir(QStringLiteral("Folder.lng")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(inApp(QStringLiteral("Pipe.lng"))).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(inApp(QStringLiteral("Pipe.lng")), inApp(QStringLiteral("ToPipe.lng"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), inApp(QStringLiteral("ToNull.lng"))));
    const QByteArray entry = "[S]\r\nk=1\r\n";
    writeFile(inApp(QStringLiteral("AtTheCap.lng")), entry);
    writeFile(inApp(QStringLiteral("OverTheCap.lng")), entry);
    ASSERT_TRUE(QFile::resize(inApp(QStringLiteral("AtTheCap.lng")), IniFile::MaxFileSize));
    ASSERT_TRUE(QFile::resize(inApp(QStringLiteral("OverTheCap.lng")), IniFile::MaxFileSize + 1));
    ASSERT_TRUE(QFile::link(inApp(QStringLiteral("AtTheCap.lng")), inApp(QStringLiteral("ToFile.lng"))));
    const OpenWatch pipe(inApp(QStringLiteral("Pipe.lng")));

    const std::pair<const char*, std::optional<QString>> files[] = {
        {"Missing", std::nullopt}, {"Folder", std::nullopt}, {"Pipe", std::nullopt}, {"ToPipe", std::nullopt},
        {"ToNull", std::nullopt}, {"OverTheCap", std::nullopt},
        {"AtTheCap", QStringLiteral("1")}, {"ToFile", QStringLiteral("1")},
    };
    for (const auto& [name, expected] : files) {
        const QString language = QString::fromLatin1(name);
        EXPECT_EQ(read(language + QStringLiteral(".lng")), expected) << name;
        setCurrentLanguage(language);
        EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QString()) << name;
    }
    EXPECT_EQ(MLSWriteIni(inApp(QStringLiteral("Pipe.lng")), QStringLiteral("S"), QStringLiteral("k"),
                          QStringLiteral("2")),
              0);
    EXPECT_FALSE(pipe.opened());
}

// A file that keeps its version (the same file, size and time stamp) is not
// read again. A file changed within the last few seconds is read at every
// lookup: a second change within the step of its time stamp would keep it.
TEST_F(LanguageFiles, AFileIsReadOncePerVersion)
{
    const time_t hourAgo = ::time(nullptr) - 3600;
    const auto rewrite = [&](const QString& name, const QByteArray& bytes, time_t stamp) {
        writeFile(inApp(name), bytes);
        const timespec times[2] = {{0, UTIME_OMIT}, {stamp, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(inApp(name)).constData(), times, 0), 0);
    };
    const QString cached = QStringLiteral("Cached.lng");
    rewrite(cached, "[S]\r\nk=1\r\n", hourAgo);
    EXPECT_EQ(read(cached), QStringLiteral("1"));
    rewrite(cached, "[S]\r\nk=2\r\n", hourAgo);
    EXPECT_EQ(read(cached), QStringLiteral("1"));
    rewrite(cached, "[S]\r\nk=3\r\n", hourAgo + 1);
    EXPECT_EQ(read(cached), QStringLiteral("3"));

    // Reading as many other files as are kept pushes it out.
    for (std::size_t i = 0; i < IniFileCache::Capacity; ++i) {
        const QString other = QStringLiteral("Other%1.lng").arg(i);
        rewrite(other, "[S]\r\nk=x\r\n", hourAgo);
        EXPECT_EQ(read(other), QStringLiteral("x"));
    }
    rewrite(cached, "[S]\r\nk=4\r\n", hourAgo + 1);
    EXPECT_EQ(read(cached), QStringLiteral("4"));

    // Dated ahead, so that not even a slow run lets it settle.
    const time_t justNow = ::time(nullptr) + 60;
    rewrite(cached, "[S]\r\nk=5\r\n", justNow);
    EXPECT_EQ(read(cached), QStringLiteral("5"));
    rewrite(cached, "[S]\r\nk=6\r\n", justNow);
    EXPECT_EQ(read(cached), QStringLiteral("6"));
}

// At a drive root the settings path keeps its doubled separator.
TEST_F(LanguageFiles, PathsLieInTheProgramFolder)
{
    setCurrentLanguage(QStringLiteral("Italiano"));
    forms::setAppPath(QStringLiteral("/opt/tavendel"));
    EXPECT_EQ(languageFilePath(), QStringLiteral("/opt/tavendel/Italiano.lng"));
    EXPECT_EQ(settingsFilePath(), QStringLiteral("/opt/tavendel/LangSetting.ini"));
    forms::setAppPath(QStringLiteral("/"));
    EXPECT_EQ(languageFilePath(), QStringLiteral("/Italiano.lng"));
    EXPECT_EQ(settingsFilePath(), QStringLiteral("//LangSetting.ini"));
}

// No settings file stops nothing: the language is empty, and an empty name
// is no language, whatever lies in a file named ".lng".
TEST_F(LanguageFiles, MessagesWithAndWithoutTheSettingsFile)
{
    writeFile(inApp(QStringLiteral(".lng")), "[Strings]\r\n0001=\"senza nome\"\r\n");
    EXPECT_EQ(readLanguageSetting(), QString());
    EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QString());
    EXPECT_EQ(CurrentLanguage(), QString());
    EXPECT_EQ(languageFilePath(), std::nullopt);

    writeFile(settingsFilePath(), "[Language]\r\nCurrentLanguage=Italiano\r\n");
    writeFile(inApp(QStringLiteral("Italiano.lng")), "[Strings]\r\n0001=\"Vuoi uscire?\"\r\n");
    EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QStringLiteral("Vuoi uscire?"));
    EXPECT_EQ(CurrentLanguage(), QStringLiteral("Italiano"));
}

TEST_F(LanguageFiles, UnsafeNamesNameNoLanguage)
{
    // Where "../x" would lead, outside the program's folder.
    writeFile(m_root.filePath(QStringLiteral("x.lng")), "[Strings]\r\n0001=outside\r\n");
    for (const QString& name : {QStringLiteral("../x"), QStringLiteral("a/b"), QStringLiteral("a\\b"),
                                QStringLiteral("..\\x"), QStringLiteral(".."), QStringLiteral("/x"),
                                QStringLiteral("\t"), QString(QChar(0)), QStringLiteral("x\u0085")}) {
        const QByteArray shown = name.toUtf8().toHex();
        EXPECT_FALSE(isSafeLanguageName(name)) << shown.constData();
        setCurrentLanguage(name);
        EXPECT_EQ(languageFilePath(), std::nullopt) << shown.constData();
        EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QString()) << shown.constData();
        writeFile(settingsFilePath(), "[Language]\r\nCurrentLanguage=\"" + name.toUtf8() + "\"\r\n");
        EXPECT_EQ(readLanguageSetting(), QString()) << shown.constData();
    }
    for (const QString& name : {QString(), QStringLiteral("Italiano"), QStringLiteral("Español"),
                                QStringLiteral("English (UK)"), QStringLiteral(".hidden")})
        EXPECT_TRUE(isSafeLanguageName(name)) << name.toStdString();
}

TEST_F(LanguageFiles, WritingCreatesOrKeepsTheRestAndLeavesNoTemporary)
{
    ASSERT_EQ(writeLanguageSetting(QStringLiteral("English")), 1);
    EXPECT_EQ(readFile(settingsFilePath()), QByteArray("[Language]\r\nCurrentLanguage=English\r\n"));
    EXPECT_EQ(readLanguageSetting(), QStringLiteral("English"));
    EXPECT_EQ(filesInApp(), QStringList{QStringLiteral("LangSetting.ini")});

    const QByteArray rest = "; chosen at the last run\r\n[Window]\r\nMax=1\r\n[Language]\r\n";
    writeFile(settingsFilePath(), rest + "CurrentLanguage=Italiano ; old\r\nSpare=2\r\n");
    ASSERT_EQ(writeLanguageSetting(QStringLiteral("English")), 1);
    EXPECT_EQ(readFile(settingsFilePath()), rest + "CurrentLanguage=English\r\nSpare=2\r\n");
}

TEST_F(LanguageFiles, WritingWhereNoFileCanBeFails)
{
    writeFile(inApp(QStringLiteral("plain")), "not a folder");
    EXPECT_EQ(MLSWriteIni(inApp(QStringLiteral("plain/LangSetting.ini")), QStringLiteral("Language"),
                          QStringLiteral("CurrentLanguage"), QStringLiteral("English")),
              0);
    ASSERT_TRUE(QDir(appFolder()).mkdir(QStringLiteral("LangSetting.ini")));
    EXPECT_EQ(writeLanguageSetting(QStringLiteral("English")), 0);
    EXPECT_TRUE(QFileInfo(settingsFilePath()).isDir());
}

// A lowered file size limit makes the write fail halfway even for root,
// whom permissions do not stop.
TEST_F(LanguageFiles, AFailedWriteLeavesTheOldFileWhole)
{
    const QByteArray before = "[Language]\r\nCurrentLanguage=Italiano\r\n";
    writeFile(settingsFilePath(), before);
    rlimit previous{};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    rlimit lowered = previous;
    lowered.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &lowered);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const int written = writeLanguageSetting(QString(8192, u'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(written, 0);
    EXPECT_EQ(readFile(settingsFilePath()), before);
    EXPECT_EQ(filesInApp(), QStringList{QStringLiteral("LangSetting.ini")});
}

// A language file's entries, section by section, each value without its quotes.
std::map<QString, std::map<QString, QString>> entriesOf(const QByteArray& bytes)
{
    std::map<QString, std::map<QString, QString>> sections;
    QString section;
    for (QString line : QString::fromUtf8(bytes).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2);
        } else if (const qsizetype equals = line.indexOf(u'='); equals > 0) {
            QString value = line.mid(equals + 1).trimmed();
            if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
                value = value.mid(1, value.size() - 2);
            sections[section][line.left(equals).trimmed()] = value;
        }
    }
    return sections;
}

// Every shipped language holds the keys of Italiano.lng and no others, a
// text wherever the Italian has one, in valid UTF-8; and on each menu bar
// every entry has an access key of its own.
TEST(ShippedLanguages, AreCompleteAndTheirMenusReachableByKeys)
{
    const QDir assets(QStringLiteral(TAVENDEL_ASSETS_DIR));
    const auto italiano = entriesOf(readFile(assets.filePath(QStringLiteral("Italiano.lng"))));
    const QStringList files = assets.entryList({QStringLiteral("*.lng")}, QDir::Files);
    EXPECT_EQ(files.size(), 5);
    for (const QString& file : files) {
        const QByteArray bytes = readFile(assets.filePath(file));
        const std::string language = file.toStdString();
        EXPECT_TRUE(textcodec::isValidUtf8(bytes)) << language;
        auto entries = entriesOf(bytes);
        for (const auto& [section, keys] : italiano) {
            std::set<QChar> accessKeys;
            for (const auto& [key, text] : keys) {
                const auto found = entries[section].find(key);
                const std::string where = language + " [" + section.toStdString() + "] " + key.toStdString();
                if (found == entries[section].end()) {
                    ADD_FAILURE() << where << " is missing";
                    continue;
                }
                EXPECT_TRUE(text.isEmpty() || !found->second.isEmpty()) << where << " is empty";
                const qsizetype amp = found->second.indexOf(u'&');
                if (key.startsWith(QLatin1String("mnu")) || key.startsWith(QLatin1String("Menu")))
                    EXPECT_TRUE(amp >= 0 && amp + 1 < found->second.size() && accessKeys.insert(found->second.at(amp + 1).toLower()).second)
                        << where << " has no access key of its own";
                entries[section].erase(found);
            }
        }
        for (const auto& [section, keys] : entries)
            for (const auto& [key, text] : keys)
                ADD_FAILURE() << language << " [" << section.toStdString() << "] " << key.toStdString() << " is extra";
    }
}

QByteArray randomBytes(qsizetype size)
{
    std::mt19937 generator(20030907);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(byte(generator));
    return bytes;
}

TEST_F(LanguageFiles, NoBytesMakeReadingFail)
{
    constexpr qsizetype Megabyte = 1024 * 1024;
    const std::tuple<const char*, QByteArray, QString> files[] = {
        {"Binary", randomBytes(Megabyte), QString()},
        {"BinaryBeforeTheEntry", randomBytes(Megabyte) + "\n[S]\nk=1", QStringLiteral("1")},
        {"OnlyNul", QByteArray(Megabyte, '\0'), QString()},
        {"MegabyteLine", "[S]\r\nk=" + QByteArray(Megabyte, 'x'), QString(IniFile::MaxValueLength, u'x')},
        {"MegabyteHeader", "[" + QByteArray(Megabyte, 'S'), QString()},
        {"CrOnlyHeaders", QByteArray("[a]\r").repeated(Megabyte / 4) + "[S]\rk=1", QStringLiteral("1")},
        {"LfOnlyBrackets", QByteArray("[\n").repeated(Megabyte / 2) + "[S]\nk=1", QStringLiteral("1")},
        {"CandidatesEverywhere", "[S]\n" + QByteArray("kk").repeated(Megabyte / 2) + "\nk=1", QStringLiteral("1")},
    };
    for (const auto& [name, bytes, expected] : files) {
        writeFile(inApp(QString::fromLatin1(name)), bytes);
        EXPECT_EQ(read(QString::fromLatin1(name)), expected) << name;
    }
}

} // namespace
