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

        QCOMPARE(modLanguageSupport::CurrentLanguage(), language);
        QCOMPARE(splash.control(QStringLiteral("BottoneAvvio")).caption(), button);
        QCOMPARE(splash.backColor(), drawn);
        QCOMPARE(QRectF(splash.left(), splash.top(), splash.width(), splash.height()), QRectF(0, 0, 15360, 11520));
        QVERIFY(splash.window()->isVisible());
        QVERIFY(program.messages().empty());
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
            QCOMPARE(forms::Application::instance().loadedForms().size(), std::size_t(1));
            const forms::Form* splash = program.find(QStringLiteral("FormAvvio"));
            QVERIFY(splash);
            if (close) {
                splash->window()->close();
                QCOMPARE(program.endRequests(), 1);
                continue;
            }
            QTest::mouseClick(splash->control(QStringLiteral("BottoneAvvio")).widget(), Qt::LeftButton);
            TestProgram::settle();
            const forms::Form* menu = program.find(QStringLiteral("FormMenu"));
            QVERIFY(menu && !program.find(QStringLiteral("FormAvvio")) && program.messages().empty());
            QCOMPARE(Stato().objResize()->SourceForm(), menu);
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
        QProcess first;
        QProcess second;
        for (QProcess* process : {&first, &second}) {
            process->setProcessEnvironment(environment);
            process->start(QStringLiteral(TAVENDEL_EXECUTABLE), {});
            QVERIFY(process->waitForStarted());
            QVERIFY(process == &second || !process->waitForFinished(1500)); // the first runs on
        }
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
