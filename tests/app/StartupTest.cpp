// Start-up as a pupil meets it: the splash reads the language setting,
// translates itself, opens at 75 % of the screen, centred, with a palette
// colour, then covers the screen; broken files around it change nothing;
// a second copy of the real program ends silently.

#include "TestProgram.h"

#include "app/FormAvvio.h"
#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Random.h"
#include "language/modLanguageSupport.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/Modulo1.h"
#include "shell/SharedState.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>

#ifndef TAVENDEL_EXECUTABLE
#error "TAVENDEL_EXECUTABLE must name the program"
#endif

namespace {

const QString kSplash = QStringLiteral("FormAvvio");
constexpr quint32 kDesignColour = 0xFFFF00;
using Rect = std::array<double, 4>; // Left, Top, Width, Height in twips
constexpr Rect kCentred{1920, 1440, 11520, 8640}; // 75 % of 1024 x 768 pixels
constexpr Rect kFullScreen{0, 0, 15360, 11520};

// The splash at one moment of its start.
struct Moment
{
    QString language;
    QStringList captions;
    Rect geometry;
    quint32 colour;
    bool shown;
    QRect window; // the client area's pixels on the screen
};

Moment momentOf(const forms::Form& form)
{
    QStringList captions;
    for (const forms::Control* control : form.controls())
        captions << control->caption();
    return {modLanguageSupport::CurrentLanguage(), captions,
            {form.left(), form.top(), form.width(), form.height()}, form.backColor(),
            form.window()->isVisible(), form.window()->geometry()};
}

bool inPalette(quint32 colour)
{
    const auto& palette = ModuloColoriSuoni::kTavolozza;
    return std::find(palette.begin(), palette.end(), colour) != palette.end();
}

// Notes the splash when it takes its colour and when its window appears.
class Observer : public QObject
{
public:
    explicit Observer(forms::Form& form) : m_form(form)
    {
        form.clientArea()->installEventFilter(this);
        form.window()->installEventFilter(this);
    }
    std::optional<Moment> coloured;
    std::optional<Moment> appeared;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange && watched == m_form.clientArea() && !coloured)
            coloured = momentOf(m_form);
        if (event->type() == QEvent::Show && watched == m_form.window() && !appeared)
            appeared = momentOf(m_form);
        return false;
    }

private:
    forms::Form& m_form;
};

const QStringList kItalian{"Tavendel", "Avvio", "07 settembre 2003"};
const QStringList kEnglish{"Tavendel", "Start", "07 September 2003"};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }
    void cleanup()
    {
        m_observer.reset();
        forms::Application::instance().registerForm(kSplash, [] { return std::make_unique<FormAvvio>(); });
    }

    void splashStepsInOrder();
    void splashSpeaksTheStoredLanguage_data();
    void splashSpeaksTheStoredLanguage();
    void mainShowsTheSplashWithSoundsOn();
    void avvioLeadsToTheMenu();
    void closingTheSplashEndsTheProgram();
    void aSecondCopyEndsSilently();

private:
    std::unique_ptr<Observer> m_observer;
};

void StartupTest::splashStepsInOrder()
{
    constexpr std::uint64_t kSeed = 2;
    TestProgram program(kSeed);
    // A colour change shows only when the drawn colour is not the design's.
    const quint32 drawn = ModuloColoriSuoni::ColoreCasuale();
    QVERIFY(drawn != kDesignColour);
    forms::randomize(kSeed);
    program.installAsset(QStringLiteral("Italiano.lng"));
    program.installAsset(QStringLiteral("English.lng"));
    program.writeFile(QStringLiteral("LangSetting.ini"), "[Language]\r\nCurrentLanguage=English\r\n");
    forms::Application::instance().registerForm(kSplash, [this] {
        auto form = std::make_unique<FormAvvio>();
        m_observer = std::make_unique<Observer>(*form);
        return form;
    });
    // Runs at the first pending-events pass of the translation.
    std::optional<Moment> translating;
    QTimer::singleShot(0, [&] { translating = momentOf(*program.find(kSplash)); });

    forms::Form& splash = program.show(kSplash);
    const Moment activated = momentOf(splash);

    QVERIFY(translating);
    QVERIFY(m_observer->coloured);
    QVERIFY(m_observer->appeared);
    // The language was read first; fitting and colour had not happened yet.
    QCOMPARE(translating->language, QStringLiteral("English"));
    QCOMPARE(translating->geometry[2], 8220.0);
    QCOMPARE(translating->colour, kDesignColour);
    // The colour came after the translation and the fitting.
    QCOMPARE(m_observer->coloured->captions, kEnglish);
    QCOMPARE(m_observer->coloured->geometry, kCentred);
    // It appeared at 75 % of the screen, centred (the window system put its
    // frame around it only then), in a palette colour...
    QCOMPARE(m_observer->appeared->window, QRect(128, 96, 768, 576));
    QCOMPARE(m_observer->appeared->colour, drawn);
    // ...and Activate made it cover the screen.
    QCOMPARE(activated.geometry, kFullScreen);
    QVERIFY(activated.shown);
    QCOMPARE(splash.caption(), QString());
}

void StartupTest::splashSpeaksTheStoredLanguage_data()
{
    QTest::addColumn<QByteArray>("setting");     // LangSetting.ini, or nothing
    QTest::addColumn<QByteArray>("englishFile"); // English.lng, or nothing
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("captions");

    const QByteArray english = "[Language]\r\nCurrentLanguage=English\r\n";
    QByteArray junk(4096, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 7919 + 13) % 256);

    QTest::newRow("English named and present") << english << QByteArray("shipped") << "English" << kEnglish;
    QTest::newRow("Italian named") << QByteArray("[Language]\r\nCurrentLanguage=Italiano\r\n")
                                   << QByteArray("shipped") << "Italiano" << kItalian;
    QTest::newRow("no settings file") << QByteArray() << QByteArray("shipped") << "" << kItalian;
    QTest::newRow("settings file of binary junk") << junk << QByteArray("shipped") << "" << kItalian;
    QTest::newRow("no file for the language named") << english << QByteArray() << "English" << kItalian;
    QTest::newRow("language file of binary junk") << english << junk << "English" << kItalian;
    QTest::newRow("a name leading out of the folder")
        << QByteArray("[Language]\r\nCurrentLanguage=../English\r\n") << QByteArray("shipped") << "" << kItalian;
}

void StartupTest::splashSpeaksTheStoredLanguage()
{
    QFETCH(QByteArray, setting);
    QFETCH(QByteArray, englishFile);
    QFETCH(QString, language);
    QFETCH(QStringList, captions);

    TestProgram program;
    program.installAsset(QStringLiteral("Italiano.lng"));
    if (englishFile == "shipped")
        program.installAsset(QStringLiteral("English.lng"));
    else if (!englishFile.isEmpty())
        program.writeFile(QStringLiteral("English.lng"), englishFile);
    if (!setting.isEmpty())
        program.writeFile(QStringLiteral("LangSetting.ini"), setting);

    const Moment shown = momentOf(program.show(kSplash));

    QCOMPARE(shown.language, language);
    QCOMPARE(shown.captions, captions);
    QCOMPARE(shown.geometry, kFullScreen);
    QVERIFY(inPalette(shown.colour));
    QVERIFY(program.messages().empty());
}

void StartupTest::mainShowsTheSplashWithSoundsOn()
{
    TestProgram program;
    Stato().setSuoniAttivati(false);
    QVERIFY(Modulo1::Main());
    QVERIFY(Stato().SuoniAttivati());
    QCOMPARE(forms::Application::instance().loadedForms().size(), std::size_t(1));
    QVERIFY(program.find(kSplash));
    QVERIFY(program.messages().empty());
}

void StartupTest::avvioLeadsToTheMenu()
{
    TestProgram program;
    program.installAsset(QStringLiteral("Italiano.lng"));
    program.installAsset(QStringLiteral("LangSetting.ini"));
    forms::Form& splash = program.show(kSplash);
    QTest::mouseClick(splash.control(QStringLiteral("BottoneAvvio")).widget(), Qt::LeftButton);
    TestProgram::settle();
    QVERIFY(program.find(QStringLiteral("FormMenu")));
    QVERIFY(!program.find(kSplash));
    QCOMPARE(Stato().objResize()->SourceForm(), program.find(QStringLiteral("FormMenu")));
}

void StartupTest::closingTheSplashEndsTheProgram()
{
    TestProgram program;
    forms::Form& splash = program.show(kSplash);
    splash.window()->close();
    QCOMPARE(program.endRequests(), 1);
}

// The real program, twice from the same folder, with a runtime folder of
// this test's own for the lock.
void StartupTest::aSecondCopyEndsSilently()
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
    constexpr int kSettleMs = 1500;
    constexpr int kEndMs = 10000;

    QProcess first;
    QVERIFY(start(first));
    QVERIFY(!first.waitForFinished(kSettleMs)); // it runs on

    QProcess second;
    QVERIFY(start(second));
    QVERIFY(second.waitForFinished(kEndMs));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(second.readAllStandardOutput().isEmpty());
    QCOMPARE(first.state(), QProcess::Running);

    // A copy that crashed leaves its lock behind; the next start is not refused.
    first.kill();
    QVERIFY(first.waitForFinished(kEndMs));
    QProcess third;
    QVERIFY(start(third));
    QVERIFY(!third.waitForFinished(kSettleMs));
    third.kill();
    third.waitForFinished(kEndMs);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
