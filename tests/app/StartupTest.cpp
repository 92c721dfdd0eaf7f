// Start-up as a pupil meets it: the splash reads the language setting,
// translates itself and covers the screen in a palette colour; broken files
// around it change nothing; its button leads to the menu, closing it ends
// the program; a second copy of the real program ends silently.

#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "forms/Control.h"
#include "forms/Random.h"
#include "language/modLanguageSupport.h"
#include "layout/clsResize.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QProcess>
#include <QTest>

#ifndef TAVENDEL_EXECUTABLE
#error "TAVENDEL_EXECUTABLE must name the program"
#endif

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void splashShowsInTheStoredLanguage_data()
    {
        QTest::addColumn<QByteArray>("settings");    // LangSetting.ini, or nothing
        QTest::addColumn<QByteArray>("englishFile"); // English.lng, or nothing
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("button");

        // The language files' tests read junk of every kind; here, start-up
        // goes on through a broken name, a missing or an unreadable file.
        const QByteArray english = "[Language]\r\nCurrentLanguage=English\r\n";
        QTest::newRow("English named and present") << english << QByteArray("shipped") << "English" << "Start";
        QTest::newRow("no settings file") << QByteArray() << QByteArray("shipped") << "" << "Avvio";
        QTest::newRow("no file for the language named") << english << QByteArray() << "English" << "Avvio";
        QTest::newRow("a name leading out of the folder")
            << QByteArray("[Language]\r\nCurrentLanguage=../English\r\n") << QByteArray("shipped") << "" << "Avvio";
        QTest::newRow("language file of binary junk") << english << QByteArray(4096, '\xE9') << "English" << "Avvio";
    }

    // Then the splash has read the language before translating itself, wears
    // the colour drawn and covers the screen.
    void splashShowsInTheStoredLanguage()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, englishFile);
        QFETCH(QString, language);
        QFETCH(QString, button);
        TestProgram program(2);
        const quint32 drawn = ModuloColoriSuoni::ColoreCasuale();
        QVERIFY(drawn != 0xFFFF00); // the design's colour
        forms::randomize(2);
        program.installAsset(QStringLiteral("Italiano.lng"));
        if (englishFile == "shipped")
            program.installAsset(QStringLiteral("English.lng"));
        else if (!englishFile.isEmpty())
            program.writeFile(QStringLiteral("English.lng"), englishFile);
        if (!settings.isEmpty())
            program.writeFile(QStringLiteral("LangSetting.ini"), settings);

        const forms::Form& splash = program.show(QStringLiteral("FormAvvio"));

        QCOMPARE((std::tuple{modLanguageSupport::CurrentLanguage(), splash.control(QStringLiteral("BottoneAvvio")).caption(),
                             splash.backColor()}), (std::tuple{language, button, drawn}));
        QCOMPARE(QRectF(splash.left(), splash.top(), splash.width(), splash.height()), QRectF(0, 0, 15360, 11520));
        QVERIFY(splash.window()->isVisible() && program.messages().empty());
    }

    // Main shows the splash with the sounds on; its button leads to the menu,
    // closing it ends the program.
    void mainShowsTheSplashWithSoundsOnAndItsButtonLeadsToTheMenu()
    {
        for (const bool close : {false, true}) {
            TestProgram program;
            program.installAsset(QStringLiteral("Italiano.lng"));
            Stato().setSuoniAttivati(false);
            QVERIFY(Modulo1::Main() && Stato().SuoniAttivati());
            const forms::Form* splash = program.find(QStringLiteral("FormAvvio"));
            QVERIFY(splash && forms::Application::instance().loadedForms().size() == 1);
            if (close)
                splash->window()->close();
            else
                QTest::mouseClick(splash->control(QStringLiteral("BottoneAvvio")).widget(), Qt::LeftButton);
            TestProgram::settle();
            QCOMPARE(program.endRequests(), int(close));
            const forms::Form* menu = program.find(QStringLiteral("FormMenu"));
            QVERIFY(close || (menu && !program.find(QStringLiteral("FormAvvio")) && program.messages().empty()
                              && Stato().objResize()->SourceForm() == menu));
        }
    }

    // The real program, twice from the same folder, with a runtime folder of
    // this test's own for the lock.
    void aSecondCopyEndsSilently()
    {
        QTemporaryDir runtime;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess first, second;
        for (QProcess* process : {&first, &second}) {
            process->setProcessEnvironment(environment);
            process->start(QStringLiteral(TAVENDEL_EXECUTABLE), {});
            // The first runs on.
            QVERIFY(process->waitForStarted() && (process == &second || !process->waitForFinished(1500)));
        }
        QVERIFY(second.waitForFinished(10000));
        // The second ended normally and silently, the first runs on.
        QCOMPARE((std::tuple{second.exitStatus(), second.exitCode(), second.readAllStandardOutput(), first.state()}),
                 (std::tuple{QProcess::NormalExit, 0, QByteArray(), QProcess::Running}));
        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
