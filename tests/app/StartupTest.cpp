// Start-up as a pupil meets it: the splash reads the language setting,
// translates itself, opens at 75 % of the screen, centred, in a palette
// colour, then covers the screen; broken files around it change nothing;
// a second copy of the real program ends silently.

#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Random.h"
#include "language/modLanguageSupport.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "layout/clsResize.h"
#include "shell/SharedState.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#ifndef TAVENDEL_EXECUTABLE
#error "TAVENDEL_EXECUTABLE must name the program"
#endif

namespace {

const QString kSplash = QStringLiteral("FormAvvio");
constexpr quint32 kDesignColour = 0xFFFF00;
const QStringList kItalian{"Tavendel", "Avvio", "07 settembre 2003"};
const QStringList kEnglish{"Tavendel", "Start", "07 September 2003"};

QByteArray setting(const char* language)
{
    return QByteArray("[Language]\r\nCurrentLanguage=") + language + "\r\n";
}

QStringList captionsOf(const forms::Form& form)
{
    QStringList captions;
    for (const forms::Control* control : form.controls())
        captions << control->caption();
    return captions;
}

// Notes the splash as it is when its window appears.
class ShowWatcher : public QObject
{
public:
    explicit ShowWatcher(const TestProgram& program) : m_program(program) { qApp->installEventFilter(this); }
    QRect window; // the client area's pixels on the screen; null until it appears
    QStringList captions;
    quint32 colour = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const forms::Form* splash = m_program.find(kSplash);
        if (event->type() == QEvent::Show && window.isNull() && splash && watched == splash->window()) {
            window = splash->window()->geometry();
            captions = captionsOf(*splash);
            colour = splash->backColor();
        }
        return false;
    }

private:
    const TestProgram& m_program;
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void splashShowsInTheStoredLanguageThenCoversTheScreen_data()
    {
        QTest::addColumn<QByteArray>("settings");    // LangSetting.ini, or nothing
        QTest::addColumn<QByteArray>("englishFile"); // English.lng, or nothing
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("captions");

        const QByteArray english = setting("English");
        const QByteArray shipped = "shipped";
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919 + 13) % 256);

        QTest::newRow("English named and present") << english << shipped << "English" << kEnglish;
        QTest::newRow("Italian named") << setting("Italiano") << shipped << "Italiano" << kItalian;
        QTest::newRow("no settings file") << QByteArray() << shipped << "" << kItalian;
        QTest::newRow("settings file of binary junk") << junk << shipped << "" << kItalian;
        QTest::newRow("no file for the language named") << english << QByteArray() << "English" << kItalian;
        QTest::newRow("language file of binary junk") << english << junk << "English" << kItalian;
        QTest::newRow("a name leading out of the folder") << setting("../English") << shipped << "" << kItalian;
    }

    // The language is read before the splash translates itself; it appears
    // translated, at 75 % of the screen, centred, in the colour drawn, then
    // covers the screen.
    void splashShowsInTheStoredLanguageThenCoversTheScreen()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, englishFile);
        QFETCH(QString, language);
        QFETCH(QStringList, captions);
        constexpr std::uint64_t kSeed = 2;
        TestProgram program(kSeed);
        // A colour change shows only when the drawn colour is not the design's.
        const quint32 drawn = ModuloColoriSuoni::ColoreCasuale();
        QVERIFY(drawn != kDesignColour);
        forms::randomize(kSeed);
        program.installAsset(QStringLiteral("Italiano.lng"));
        if (englishFile == "shipped")
            program.installAsset(QStringLiteral("English.lng"));
        else if (!englishFile.isEmpty())
            program.writeFile(QStringLiteral("English.lng"), englishFile);
        if (!settings.isEmpty())
            program.writeFile(QStringLiteral("LangSetting.ini"), settings);
        const ShowWatcher watcher(program);

        const forms::Form& splash = program.show(kSplash);

        QCOMPARE(modLanguageSupport::CurrentLanguage(), language);
        QCOMPARE(watcher.captions, captions);
        QCOMPARE(watcher.window, QRect(128, 96, 768, 576));
        QCOMPARE(watcher.colour, drawn);
        QCOMPARE(QRectF(splash.left(), splash.top(), splash.width(), splash.height()), QRectF(0, 0, 15360, 11520));
        QVERIFY(splash.window()->isVisible());
        QVERIFY(program.messages().empty());
    }

    void mainShowsTheSplashWithSoundsOnAndItsButtonLeadsToTheMenu()
    {
        TestProgram program;
        program.installAsset(QStringLiteral("Italiano.lng"));
        Stato().setSuoniAttivati(false);
        QVERIFY(Modulo1::Main());
        QVERIFY(Stato().SuoniAttivati());
        QCOMPARE(forms::Application::instance().loadedForms().size(), std::size_t(1));
        const forms::Form* splash = program.find(kSplash);
        QVERIFY(splash);
        QVERIFY(program.messages().empty());

        QTest::mouseClick(splash->control(QStringLiteral("BottoneAvvio")).widget(), Qt::LeftButton);
        TestProgram::settle();
        const forms::Form* menu = program.find(QStringLiteral("FormMenu"));
        QVERIFY(menu);
        QVERIFY(!program.find(kSplash));
        QCOMPARE(Stato().objResize()->SourceForm(), menu);
    }

    void closingTheSplashEndsTheProgram()
    {
        TestProgram program;
        program.show(kSplash).window()->close();
        QCOMPARE(program.endRequests(), 1);
    }

    // The real program, twice from the same folder, with a runtime folder of
    // this test's own for the lock.
    void aSecondCopyEndsSilently()
    {
        QTemporaryDir runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const auto start = [&](QProcess& process) {
            process.setProcessEnvironment(environment);
            process.start(QStringLiteral(TAVENDEL_EXECUTABLE), {});
            return process.waitForStarted();
        };
        QProcess first;
        QVERIFY(start(first));
        QVERIFY(!first.waitForFinished(1500)); // it runs on
        QProcess second;
        QVERIFY(start(second));
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().isEmpty());
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
