#include "language/IniFile.h"
#include "language/modLanguageSupport.h"

#include "forms/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace modLanguageSupport;

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

class LanguageFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
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
    QString inRoot(const QString& name) const { return m_root.filePath(name); }

private:
    QTemporaryDir m_root;
};

// A file of exactly `size` bytes holding the entries the size rule once split on.
QByteArray languageFileOfSize(qsizetype size)
{
    QByteArray text = "[Strings]\r\n00012=\"wrong\"\r\n0001=\"Vuoi uscire?\"\r\n"
                      "[Form1]\r\nCommand1.Caption=Avanti\r\n  Label1.Caption  =  \"Esatti\"\r\n"
                      "mnuEsci.Caption=\"Esci 1\"\r\nLong=\""
        + QByteArray(600, 'x') + "\"\r\n[Form2]\r\nmnuEsci.Caption=\"Esci 2\"\r\n;";
    const QByteArray end = "\r\n";
    return text + QByteArray(size - text.size() - end.size(), 'p') + end;
}

TEST_F(LanguageFiles, FilesAroundTheOldSizeLimitReadAlike)
{
    struct Query
    {
        const char* section;
        const char* key;
        QString expected;
    };
    const Query queries[] = {
        {"Strings", "0001", QStringLiteral("Vuoi uscire?")},
        {"Form1", "command1.caption", QStringLiteral("Avanti")},
        {"Form1", "Label1.Caption", QStringLiteral("Esatti")},
        {"Form1", "mnuEsci.Caption", QStringLiteral("Esci 1")},
        {"Form2", "mnuEsci.Caption", QStringLiteral("Esci 2")},
        {"Form1", "Long", QString(IniFile::MaxValueLength, u'x')},
    };
    for (const qsizetype size : {64000, 64001}) {
        const QString path = inApp(QStringLiteral("L%1.lng").arg(size));
        writeFile(path, languageFileOfSize(size));
        ASSERT_EQ(QFileInfo(path).size(), size);
        for (const Query& query : queries)
            EXPECT_EQ(MLSReadIni(path, query.section, query.key), query.expected) << size << ' ' << query.key;
    }
}

TEST_F(LanguageFiles, OnlyRegularFilesAreRead)
{
    EXPECT_EQ(MLSReadIni(inApp(QStringLiteral("Missing.lng")), QStringLiteral("S"), QStringLiteral("k")),
              std::nullopt);
    ASSERT_TRUE(QDir(appFolder()).mkdir(QStringLiteral("Folder.lng")));
    EXPECT_EQ(MLSReadIni(inApp(QStringLiteral("Folder.lng")), QStringLiteral("S"), QStringLiteral("k")),
              std::nullopt);
    ASSERT_EQ(::mkfifo(QFile::encodeName(inApp(QStringLiteral("Pipe.lng"))).constData(), 0600), 0);
    EXPECT_EQ(MLSReadIni(inApp(QStringLiteral("Pipe.lng")), QStringLiteral("S"), QStringLiteral("k")), std::nullopt);
    setCurrentLanguage(QStringLiteral("Pipe"));
    EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QString());
}

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

TEST_F(LanguageFiles, NoSettingsAndNoLanguageGiveAnEmptyMessage)
{
    EXPECT_EQ(readLanguageSetting(), QString());
    EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QString());
    EXPECT_EQ(CurrentLanguage(), QString());
}

TEST_F(LanguageFiles, AnEmptyLanguageLooksForDotLng)
{
    writeFile(inApp(QStringLiteral(".lng")), "[Strings]\r\n0001=\"senza nome\"\r\n");
    EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QStringLiteral("senza nome"));
}

TEST_F(LanguageFiles, MessageReadsTheStoredLanguageFirst)
{
    writeFile(settingsFilePath(), "[Language]\r\nCurrentLanguage=Italiano\r\n");
    writeFile(inApp(QStringLiteral("Italiano.lng")), "[Strings]\r\n0003=\"Vuoi lasciare l'esercizio?\"\r\n");
    EXPECT_EQ(MLSGetMessage(QStringLiteral("0003")), QStringLiteral("Vuoi lasciare l'esercizio?"));
    EXPECT_EQ(CurrentLanguage(), QStringLiteral("Italiano"));
}

struct UnsafeName
{
    const char* label;
    QString name;
};

class UnsafeNames : public LanguageFiles, public testing::WithParamInterface<UnsafeName> {};

TEST_P(UnsafeNames, NameNoLanguage)
{
    const QString name = GetParam().name;
    // A file where "../x" would lead, outside the program's folder.
    writeFile(inRoot(QStringLiteral("x.lng")), "[Strings]\r\n0001=outside\r\n");
    EXPECT_FALSE(isSafeLanguageName(name));

    setCurrentLanguage(name);
    EXPECT_EQ(languageFilePath(), std::nullopt);
    EXPECT_EQ(MLSGetMessage(QStringLiteral("0001")), QString());

    writeFile(settingsFilePath(), "[Language]\r\nCurrentLanguage=\"" + name.toUtf8() + "\"\r\n");
    EXPECT_EQ(readLanguageSetting(), QString());
}

INSTANTIATE_TEST_SUITE_P(LanguageFiles, UnsafeNames, testing::Values(
    UnsafeName{"ParentFolder", QStringLiteral("../x")},
    UnsafeName{"Subfolder", QStringLiteral("a/b")},
    UnsafeName{"Backslash", QStringLiteral("a\\b")},
    UnsafeName{"BackslashParent", QStringLiteral("..\\x")},
    UnsafeName{"DotDot", QStringLiteral("..")},
    UnsafeName{"Absolute", QStringLiteral("/x")},
    UnsafeName{"Tab", QStringLiteral("\t")},
    UnsafeName{"Nul", QString(QChar(0))},
    UnsafeName{"C1Control", QStringLiteral("x\u0085")}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(LanguageFiles, OrdinaryNamesAreSafe)
{
    for (const QString& name : {QString(), QStringLiteral("Italiano"), QStringLiteral("Español"),
                                QStringLiteral("English (UK)"), QStringLiteral(".hidden")})
        EXPECT_TRUE(isSafeLanguageName(name)) << name.toStdString();
}

TEST_F(LanguageFiles, WritingCreatesTheSettingsFileAndLeavesNoTemporary)
{
    ASSERT_EQ(writeLanguageSetting(QStringLiteral("English")), 1);
    EXPECT_EQ(readFile(settingsFilePath()), QByteArray("[Language]\r\nCurrentLanguage=English\r\n"));
    EXPECT_EQ(readLanguageSetting(), QStringLiteral("English"));
    EXPECT_EQ(QDir(appFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("LangSetting.ini")});
}

TEST_F(LanguageFiles, WritingKeepsTheRestOfTheFile)
{
    writeFile(settingsFilePath(), "; chosen at the last run\r\n[Window]\r\nMax=1\r\n[Language]\r\n"
                                  "CurrentLanguage=Italiano ; old\r\nSpare=2\r\n");
    ASSERT_EQ(writeLanguageSetting(QStringLiteral("English")), 1);
    EXPECT_EQ(readFile(settingsFilePath()), QByteArray("; chosen at the last run\r\n[Window]\r\nMax=1\r\n[Language]\r\n"
                                                       "CurrentLanguage=English\r\nSpare=2\r\n"));
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

// Lowers the largest file this process may write, so that a write fails
// halfway even for root, whom permissions do not stop.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit lowered = m_previous;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

TEST_F(LanguageFiles, AFailedWriteLeavesTheOldFileWhole)
{
    const QByteArray before = "[Language]\r\nCurrentLanguage=Italiano\r\n";
    writeFile(settingsFilePath(), before);
    {
        const FileSizeLimit limit(4096);
        EXPECT_EQ(writeLanguageSetting(QString(8192, u'x')), 0);
    }
    EXPECT_EQ(readFile(settingsFilePath()), before);
    EXPECT_EQ(QDir(appFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("LangSetting.ini")});
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

struct HostileFile
{
    const char* name;
    QByteArray bytes;
    QString expected;
};

TEST_F(LanguageFiles, NoBytesMakeReadingFail)
{
    constexpr qsizetype Megabyte = 1024 * 1024;
    const HostileFile files[] = {
        {"Binary", randomBytes(Megabyte), QString()},
        {"BinaryBeforeTheEntry", randomBytes(Megabyte) + "\n[S]\nk=1", QStringLiteral("1")},
        {"OnlyNul", QByteArray(Megabyte, '\0'), QString()},
        {"MegabyteLine", "[S]\r\nk=" + QByteArray(Megabyte, 'x'), QString(IniFile::MaxValueLength, u'x')},
        {"MegabyteHeader", "[" + QByteArray(Megabyte, 'S'), QString()},
        {"CrOnlyHeaders", QByteArray("[a]\r").repeated(Megabyte / 4) + "[S]\rk=1", QStringLiteral("1")},
        {"LfOnlyBrackets", QByteArray("[\n").repeated(Megabyte / 2) + "[S]\nk=1", QStringLiteral("1")},
        {"CandidatesEverywhere", "[S]\n" + QByteArray("kk").repeated(Megabyte / 2) + "\nk=1", QStringLiteral("1")},
    };
    for (const HostileFile& file : files) {
        const QString path = inApp(QString::fromLatin1(file.name));
        writeFile(path, file.bytes);
        EXPECT_EQ(MLSReadIni(path, QStringLiteral("S"), QStringLiteral("k")), file.expected) << file.name;
    }
}

} // namespace
