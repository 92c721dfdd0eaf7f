// The main menu driven through its real widgets and menu entries: the design,
// the tab order, the level buttons, the sound switch, the way out, and the
// Language menu (what it lists and checks, what a pick translates and stores,
// and how picks and clicks that arrive during a pick wait for it).

#include "TestProgram.h"

#include "app/FormMenu.h"
#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Pictures.h"
#include "forms/Places.h"
#include "language/modLanguageSupport.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <utility>

#include <cxxabi.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

// Every C++ exception this process throws is counted on its way.
int eccezioniLanciate = 0;

namespace __cxxabiv1 {
extern "C" void __cxa_throw(void* eccezione, std::type_info* tipo, void (*distruttore)(void*))
{
    using Lancia = void (*)(void*, std::type_info*, void (*)(void*));
    static const auto vero = reinterpret_cast<Lancia>(::dlsym(RTLD_NEXT, "__cxa_throw"));
    ++eccezioniLanciate;
    vero(eccezione, tipo, distruttore);
    std::abort();
}
} // namespace __cxxabiv1

namespace {

const QString kMenu = QStringLiteral("FormMenu");
const QString kVoce = QStringLiteral("mnuLanguage");
const QString kSpunta = QStringLiteral(" ✓");

forms::Control& controllo(const forms::Form& form, const char* name)
{
    return form.control(QString::fromLatin1(name));
}

FormMenu& apriMenu(TestProgram& program,
                   std::initializer_list<const char*> fileSpediti = {"Italiano.lng", "LangSetting.ini"})
{
    for (const char* file : fileSpediti)
        program.installAsset(QString::fromLatin1(file));
    return static_cast<FormMenu&>(program.show(kMenu));
}

void clicca(forms::Control& control)
{
    QTest::mouseClick(control.widget(), Qt::LeftButton);
    TestProgram::settle();
}

// What a pupil can see of the menu and what it holds.
QVariantList aspetto(const forms::Form& menu)
{
    const forms::Control& suoni = controllo(menu, "Check1");
    QVariantList visto{menu.backColor(), suoni.backColor(), suoni.isChecked(),
                       menu.window()->geometry(), menu.window()->isVisible()};
    for (const forms::Control* control : menu.controls())
        visto << control->caption();
    return visto;
}

// The Language menu's captions, the checked entries marked.
QStringList voci(const forms::Form& menu)
{
    QStringList voci;
    for (int i = 0; i <= menu.highestIndex(kVoce); ++i) {
        const forms::Control& voce = menu.control(kVoce, i);
        voci << voce.caption() + (voce.isChecked() ? kSpunta : QString());
    }
    return voci;
}

void scegli(const forms::Form& menu, int index)
{
    menu.control(kVoce, index).action()->trigger();
    TestProgram::settle();
}

void scriviImpostazione(const TestProgram& program, const QString& lingua)
{
    program.writeFile(QStringLiteral("LangSetting.ini"), "[Language]\r\nCurrentLanguage=" + lingua.toUtf8() + "\r\n");
}

QString linguaSalvata()
{
    return modLanguageSupport::MLSReadIni(modLanguageSupport::settingsFilePath(), QStringLiteral("Language"),
                                          QStringLiteral("CurrentLanguage"))
        .value_or(QStringLiteral("<no settings file>"));
}

// A small language file whose texts tell which language is shown.
void scriviLingua(const TestProgram& program, const QString& nome, const QByteArray& altro = {})
{
    const QByteArray lingua = nome.toUtf8();
    program.writeFile(nome + QStringLiteral(".lng"), "[FormMenu]\r\nLabel3.Caption=\"Testa di " + lingua
                          + "\"\r\nmnuLanguages.Caption=\"Lingua " + lingua + "\"\r\n" + altro
                          + "[FormAvvio]\r\nBottoneAvvio.Caption=\"Via di " + lingua + "\"\r\n");
}

// Every file below a folder, with its bytes, by its path within.
QMap<QString, QByteArray> contenuti(const QString& cartella)
{
    QMap<QString, QByteArray> file;
    for (QDirIterator it(cartella, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile letto(it.next());
        file[QDir(cartella).relativeFilePath(letto.fileName())] = letto.open(QIODevice::ReadOnly) ? letto.readAll() : "?";
    }
    return file;
}

// Restores a folder's permissions when the test ends, so that it can be removed.
struct PermessiRipristinati
{
    QString cartella;
    QFile::Permissions prima = QFile::permissions(cartella);
    ~PermessiRipristinati() { QFile::setPermissions(cartella, prima); }
};

QStringList domande(const TestProgram& program)
{
    QStringList testi;
    for (const forms::MsgBoxRequest& domanda : program.messages())
        testi << domanda.text;
    return testi;
}

// While it lives, files may grow to a few bytes only, so that writing the
// settings file fails even for root, whom permissions do not stop.
class FileMinuscoli
{
public:
    explicit FileMinuscoli(bool attivo) : m_attivo(attivo)
    {
        if (!m_attivo)
            return;
        ::getrlimit(RLIMIT_FSIZE, &m_prima);
        rlimit minuscolo = m_prima;
        minuscolo.rlim_cur = 16;
        ::setrlimit(RLIMIT_FSIZE, &minuscolo);
        m_segnale = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileMinuscoli()
    {
        if (!m_attivo)
            return;
        ::setrlimit(RLIMIT_FSIZE, &m_prima);
        std::signal(SIGXFSZ, m_segnale);
    }
    FileMinuscoli(const FileMinuscoli&) = delete;
    FileMinuscoli& operator=(const FileMinuscoli&) = delete;

private:
    bool m_attivo;
    rlimit m_prima{};
    void (*m_segnale)(int) = SIG_DFL;
};

// A bare exercise that runs what a test wants to happen during its Load.
class EsercizioFinto : public FormTavendel
{
public:
    EsercizioFinto(const QString& nome, std::function<void()> duranteIlCaricamento)
        : FormTavendel({.name = nome, .clientWidth = 9540, .clientHeight = 6345}),
          m_duranteIlCaricamento(std::move(duranteIlCaricamento)) {}

protected:
    void caricamento() override
    {
        if (m_duranteIlCaricamento)
            m_duranteIlCaricamento();
    }

private:
    std::function<void()> m_duranteIlCaricamento;
};

} // namespace

class FormMenuTest : public QObject
{
    Q_OBJECT

    std::int16_t m_livelloAllaCreazione = -1;
    std::function<void()> m_duranteIlCaricamento;

private slots:
    void initTestCase()
    {
        RegistraForme();
        // Bare stand-ins for the exercises, each noting the level it finds
        // when it is made, that is before its Load runs.
        for (const QString esercizio : {"Form1", "Form2", "Form3"})
            forms::Application::instance().registerForm(esercizio, [this, esercizio] {
                m_livelloAllaCreazione = Stato().NumeroMassimo();
                return std::make_unique<EsercizioFinto>(esercizio, m_duranteIlCaricamento);
            });
    }

    void design_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QRectF>("twips");
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("pointer"); // none: a heading, which lets the menu's colour through

        const QString freccia = QStringLiteral("pointer_arrow");
        QTest::newRow("Label3") << "Leggi i Tavendel" << QRectF(240, 240, 2415, 255) << 11.25 << "";
        QTest::newRow("Label4") << "Scrivi i Tavendel" << QRectF(2880, 240, 2415, 255) << 11.25 << "";
        QTest::newRow("Label5") << "Abbina" << QRectF(5520, 240, 1815, 255) << 11.25 << "";
        QTest::newRow("Command2") << "IVX" << QRectF(120, 480, 2500, 550) << 20.25 << freccia;
        QTest::newRow("Command4") << "IVXL" << QRectF(120, 1095, 2500, 550) << 20.25 << freccia;
        QTest::newRow("Command7") << "3 000" << QRectF(2760, 2880, 2500, 550) << 20.25 << freccia;
        QTest::newRow("Command12") << "88" << QRectF(5400, 1095, 2500, 550) << 20.25 << freccia;
        QTest::newRow("Check1") << "Suoni attivati" << QRectF(720, 3840, 2265, 405) << 14.25 << "pointer_clef";
        QTest::newRow("Check2") << "Solo la forma corretta" << QRectF(720, 4320, 4455, 405) << 14.25 << "pointer_clef";
        QTest::newRow("Command1") << "Esci" << QRectF(5400, 3840, 2500, 550) << 20.25 << freccia;
    }

    void design()
    {
        QFETCH(QString, caption);
        QFETCH(QRectF, twips);
        QFETCH(double, points);
        QFETCH(QString, pointer);
        TestProgram program;
        const FormMenu menu; // not loaded: nothing fitted or translated yet
        const forms::Control& control = menu.control(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(control.caption(), caption);
        QCOMPARE(QRectF(control.left(), control.top(), control.width(), control.height()), twips);
        QCOMPARE(control.fontSize(), points);
        QVERIFY(control.widget()->font().bold());
        if (pointer.isEmpty())
            QVERIFY(!control.widget()->autoFillBackground());
        else
            QVERIFY(control.widget()->cursor().pixmap().toImage()
                    == forms::Pictures::pointer(pointer).pixmap().toImage());
        QCOMPARE(QSizeF(menu.scaleWidth(), menu.scaleHeight()), QSizeF(8085, 4920));
        QVERIFY(menu.caption() == QStringLiteral("Tavendel") && menu.window()->windowIcon().isNull());
    }

    void tabVisitsControlsInDesignOrder()
    {
        TestProgram program;
        FormMenu& menu = apriMenu(program);
        QApplication::setActiveWindow(menu.window());
        QVERIFY(QTest::qWaitForWindowActive(menu.window()));
        controllo(menu, "Command1").setFocus();

        const QStringList atteso{
            "Command1", "Command4", "Command2", "Command3", "Command5", "Command6", "Command7",
            "Command8", "Command9", "Command10", "Command11", "Check1", "Check2", "Command12", "Command13",
            "Command14", "Command15", "Command16", "Command1",
        };
        QStringList visitati{QApplication::focusWidget()->objectName()};
        while (visitati.size() < atteso.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visitati << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visitati, atteso);
    }

    void levelButtonSetsItsValueBeforeTheExerciseLoads_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("exercise");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("meanwhile"); // clicked while the exercise loads

        const std::pair<const char*, QStringList> esercizi[] = {
            {"Form1", {"Command2", "Command4", "Command3", "Command5", "Command6"}},
            {"Form2", {"Command10", "Command11", "Command9", "Command8", "Command7"}},
            {"Form3", {"Command13", "Command12", "Command14", "Command15", "Command16"}},
        };
        const int valori[] = {38, 88, 388, 888, 3000};
        for (const auto& [esercizio, bottoni] : esercizi)
            for (int i = 0; i < bottoni.size(); ++i)
                QTest::addRow("%s %d", esercizio, valori[i]) << bottoni[i] << esercizio << valori[i] << QString();
        // The first click decides the exercise and its level.
        QTest::newRow("Form1 38, then its 3000") << "Command2" << "Form1" << 38 << "Command6";
        QTest::newRow("Form1 38, then Form2 3000") << "Command2" << "Form1" << 38 << "Command7";
        QTest::newRow("Form3 888, then the exit") << "Command15" << "Form3" << 888 << "Command1";
    }

    void levelButtonSetsItsValueBeforeTheExerciseLoads()
    {
        QFETCH(QString, button);
        QFETCH(QString, exercise);
        QFETCH(int, value);
        QFETCH(QString, meanwhile);
        TestProgram program;
        m_livelloAllaCreazione = -1;
        Stato().setNumeroMassimo(value == 3000 ? 38 : 3000); // whatever the previous exercise left
        FormMenu& menu = apriMenu(program);
        if (!meanwhile.isEmpty())
            m_duranteIlCaricamento = [&] { QTest::mouseClick(menu.control(meanwhile).widget(), Qt::LeftButton); };
        const auto fine = qScopeGuard([this] { m_duranteIlCaricamento = nullptr; });

        clicca(menu.control(button));

        QCOMPARE(int(m_livelloAllaCreazione), value);
        QCOMPARE(int(Stato().NumeroMassimo()), value);
        const forms::Form* aperto = program.find(exercise);
        QVERIFY(aperto && aperto->window()->isVisible());
        QVERIFY(!program.find(kMenu));
        QCOMPARE(forms::Application::instance().loadedForms().size(), std::size_t(1));
        QVERIFY(program.messages().empty());
        QCOMPARE(program.endRequests(), 0);
    }

    void soundsSwitchedOffStayOffAcrossAnExercise()
    {
        TestProgram program;
        FormMenu& menu = apriMenu(program);
        forms::Control& suoni = controllo(menu, "Check1");
        QVERIFY(suoni.isChecked());
        // The switch wears the colour the menu drew at its Load.
        const auto& tavolozza = ModuloColoriSuoni::kTavolozza;
        QVERIFY(std::find(tavolozza.begin(), tavolozza.end(), menu.backColor()) != tavolozza.end());
        QCOMPARE(suoni.backColor(), menu.backColor());

        QTest::keyClick(suoni.widget(), Qt::Key_Space);
        QVERIFY(!suoni.isChecked());
        QVERIFY(!Stato().SuoniAttivati());

        clicca(controllo(menu, "Command2"));
        forms::Form* esercizio = program.find(QStringLiteral("Form1"));
        QVERIFY(esercizio);
        // What the exercise does for a right and a wrong answer.
        ModuloColoriSuoni::SuonoEsatto();
        ModuloColoriSuoni::SuonoErrato();
        Modulo1::TornaAlMenu(*esercizio);
        TestProgram::settle();

        const forms::Form* ritorno = program.find(kMenu);
        QVERIFY(ritorno);
        QVERIFY(!controllo(*ritorno, "Check1").isChecked());
        QVERIFY(!Stato().SuoniAttivati());
        QVERIFY(program.sounds().played.isEmpty());
    }

    void strictSwitchIsRememberedAcrossARestart_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("folderRefusesWrites");
        QTest::addColumn<bool>("shippedOn");     // a teacher switched it on in the shipped settings file
        QTest::addColumn<bool>("languageFirst"); // the first setting stored is a language pick
        QTest::newRow("portable") << false << false << false << false;
        QTest::newRow("portable, read-only") << false << true << false << false;
        QTest::newRow("installed") << true << false << false << false;
        QTest::newRow("installed, shipped on, language first") << true << false << true << true;
    }

    // The shipped settings file stores Italiano and, unless a teacher added
    // it, no switch (as files older than the switch). Where the first setting
    // stored starts the user's own settings file, the other one stored so far
    // goes there with it.
    void strictSwitchIsRememberedAcrossARestart()
    {
        QFETCH(bool, installed);
        QFETCH(bool, folderRefusesWrites);
        QFETCH(bool, shippedOn);
        QFETCH(bool, languageFirst);
        TestProgram program;
        const QString dati = installed ? QStringLiteral("share/tavendel") : QString();
        for (const char* file : {"Italiano.lng", "English.lng", "LangSetting.ini"})
            program.installAsset(QString::fromLatin1(file), dati);
        const QString spedito = QDir(dati).filePath(QStringLiteral("LangSetting.ini"));
        if (shippedOn)
            program.writeFile(spedito, program.readFile(spedito) + "[Options]\r\nStrictNumerals=1\r\n");
        if (installed) {
            QVERIFY(QDir(program.folder()).mkdir(QStringLiteral("bin")));
            forms::setAppPath(program.filePath(QStringLiteral("bin")));
        } else if (folderRefusesWrites) {
            forms::setAppPath(program.folder(), forms::Places::Writes::Refused);
        }
        const auto riavvia = [&program] {
            forms::Application::instance().unloadAll();
            Stato().reset();
            modLanguageSupport::setCurrentLanguage(QString());
            program.show(QStringLiteral("FormAvvio"));
            return &controllo(program.show(kMenu), "Check2");
        };
        const auto cambia = [](forms::Control* rigore) { QTest::keyClick(rigore->widget(), Qt::Key_Space); };

        forms::Control* rigore = riavvia();
        QCOMPARE(rigore->isChecked(), shippedOn);
        if (languageFirst)
            scegli(rigore->form(), 0); // English
        else
            cambia(rigore);
        rigore = riavvia();
        QCOMPARE(rigore->isChecked(), shippedOn != !languageFirst);
        QCOMPARE(modLanguageSupport::CurrentLanguage(), languageFirst ? "English" : "Italiano");
        cambia(rigore);
        QCOMPARE(Stato().SoloFormaCorretta(), shippedOn == !languageFirst);
        QCOMPARE(riavvia()->isChecked(), shippedOn == !languageFirst);
        QVERIFY(program.messages().empty());
    }

    void exitAsksAndEndsOnlyOnYes_data()
    {
        QTest::addColumn<bool>("fromFrame");
        QTest::addColumn<bool>("yes");
        for (const bool fromFrame : {false, true})
            for (const bool yes : {false, true})
                QTest::addRow("%s, %s", fromFrame ? "window closed" : "Esci", yes ? "Yes" : "No") << fromFrame << yes;
    }

    void exitAsksAndEndsOnlyOnYes()
    {
        QFETCH(bool, fromFrame);
        QFETCH(bool, yes);
        TestProgram program;
        FormMenu& menu = apriMenu(program);
        const QVariantList prima = aspetto(menu);

        program.answerNext(yes ? forms::MsgBoxResult::Yes : forms::MsgBoxResult::No);
        if (fromFrame)
            menu.window()->close();
        else
            QTest::mouseClick(controllo(menu, "Command1").widget(), Qt::LeftButton);
        TestProgram::settle();

        QCOMPARE(domande(program), QStringList{"Vuoi davvero uscire da Tavendel?"});
        QCOMPARE(program.endRequests(), yes ? 1 : 0);
        QCOMPARE(Stato().objResize() != nullptr, !yes);
        if (!yes) {
            QCOMPARE(program.find(kMenu), &menu);
            QCOMPARE(aspetto(menu), prima);
        }
    }

    void loadListsTheLanguagesAndChecksTheStoredOne_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("setting"); // empty: no settings file
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("picked"); // what the menu shows after a pick of the first entry

        const QStringList due{"Italiano.lng", "English.lng"};
        const QStringList inglese{"Read numerals", "Sounds on", "&Language"};
        QTest::newRow("the five shipped") << QStringList{"Italiano.lng", "English.lng", "Deutsch.lng", "Español.lng", "Français.lng"}
                                          << "Italiano" << QStringList{"Deutsch", "English", "Español", "Français", "Italiano ✓"}
                                          << QStringList{"Römisch lesen", "Töne an", "&Sprache"};
        QTest::newRow("stored language") << due << "Italiano" << QStringList{"English", "Italiano ✓"} << inglese;
        QTest::newRow("other stored language") << due << "English" << QStringList{"English ✓", "Italiano"} << inglese;
        QTest::newRow("stored in another case") << due << "italiano" << QStringList{"English", "Italiano"} << inglese;
        QTest::newRow("stored without file") << due << "Deutsch" << QStringList{"English", "Italiano"} << inglese;
        QTest::newRow("no settings file") << due << "" << QStringList{"English", "Italiano"} << inglese;
        QTest::newRow("no language file") << QStringList() << "" << QStringList{"mnuLanguage 0"}
                                          << QStringList{"Leggi i Tavendel", "Suoni attivati", "&Lingua"};
    }

    // Then a pick of the first entry makes it current and stores it, with or without its file.
    void loadListsTheLanguagesAndChecksTheStoredOne()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, setting);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, picked);
        TestProgram program;
        for (const QString& file : files)
            program.installAsset(file);
        if (!setting.isEmpty())
            scriviImpostazione(program, setting);
        FormMenu& menu = apriMenu(program, {});

        QCOMPARE(voci(menu), entries);
        QVERIFY(menu.control(kVoce, menu.highestIndex(kVoce)).isVisible());
        QCOMPARE(modLanguageSupport::CurrentLanguage(), setting);
        const QStringList avvisi =
            files.isEmpty() ? QStringList{"Non è presente alcun file di linguaggio!"} : QStringList();
        QCOMPARE(domande(program), avvisi);
        for (const forms::MsgBoxRequest& avviso : program.messages()) {
            QCOMPARE(avviso.title, QStringLiteral("Tavendel"));
            QCOMPARE(avviso.buttons, forms::MsgBoxButtons::OkOnly);
            QCOMPARE(avviso.icon, forms::MsgBoxIcon::None);
        }

        scegli(menu, 0);

        QStringList dopo = entries.replaceInStrings(kSpunta, QString());
        const QString prima = dopo.first();
        dopo.first() += kSpunta;
        QCOMPARE(voci(menu), dopo);
        QCOMPARE(modLanguageSupport::CurrentLanguage(), prima);
        QCOMPARE(linguaSalvata(), prima);
        QCOMPARE(domande(program), avvisi);
        QCOMPARE(QStringList({controllo(menu, "Label3").caption(), controllo(menu, "Check1").caption(),
                              controllo(menu, "mnuLanguages").caption()}),
                 picked);
    }

    void listsLanguageFilesOnlyInReadingOrder()
    {
        TestProgram program;
        for (const char* nome :
             {"italiano", "Lingua 10", "English", "Lingua sarda", "Deutsch", "Lingua 2", "Français"})
            scriviLingua(program, QString::fromUtf8(nome));
        QVERIFY(QFile::link(program.filePath(QStringLiteral("English.lng")),
                            program.filePath(QStringLiteral("Collegata.lng"))));
        // None of these is a language file.
        QVERIFY(QDir().mkpath(program.filePath(QStringLiteral("Cartella.lng"))));
        QVERIFY(QFile::link(program.filePath(QStringLiteral("manca")),
                            program.filePath(QStringLiteral("Interrotta.lng"))));
        for (const char* nome :
             {"Maiuscole.LNG", "leggimi.txt", "Lingua.lng.bak", ".lng", "Ctrl\x01.lng", "su..giu.lng"})
            program.writeFile(QString::fromLatin1(nome), "[FormMenu]\r\n");

        QCOMPARE(voci(apriMenu(program, {})), QStringList({"Collegata", "Deutsch", "English", "Français", "italiano",
                                                           "Lingua 2", "Lingua 10", "Lingua sarda"}));
    }

    // The shipped files (beside the program, or in share/tavendel) store
    // Italiano; the user's folders hold a teacher's Deutsch, a corrected
    // English and, in some rows, a stored choice. A pick of English goes to
    // one file, and no other file anywhere changes.
    void layoutsListTheirLanguagesAndStoreThePickWhereAllowed_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("folderRefusesWrites");
        QTest::addColumn<QString>("userSetting"); // empty: none yet
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("storedIn"); // below the program's folder, or "user/..."
        QTest::addColumn<QString>("heading");  // once English is picked

        const QString accanto = QStringLiteral("LangSetting.ini");
        const QString utente = QStringLiteral("user/config/tavendel/LangSetting.ini");
        const QString spedito = QStringLiteral("Read numerals");
        const QString corretto = QStringLiteral("Read, corrected");
        QTest::newRow("portable") << false << false << "Deutsch" << QStringList{"English", "Italiano ✓"} << accanto
                                  << spedito;
        QTest::newRow("portable, read-only") << false << true << "" << QStringList{"English", "Italiano ✓"} << utente
                                             << spedito;
        QTest::newRow("portable, read-only, stored before")
            << false << true << "English" << QStringList{"English ✓", "Italiano"} << utente << spedito;
        QTest::newRow("installed, first run")
            << true << false << "" << QStringList{"Deutsch", "English", "Italiano ✓"} << utente << corretto;
        QTest::newRow("installed, stored before")
            << true << false << "English" << QStringList{"Deutsch", "English ✓", "Italiano"} << utente << corretto;
    }

    void layoutsListTheirLanguagesAndStoreThePickWhereAllowed()
    {
        QFETCH(bool, installed);
        QFETCH(bool, folderRefusesWrites);
        QFETCH(QString, userSetting);
        QFETCH(QStringList, entries);
        QFETCH(QString, storedIn);
        QFETCH(QString, heading);
        TestProgram program;
        const QString dati = installed ? QStringLiteral("share/tavendel") : QString();
        for (const char* file : {"Italiano.lng", "English.lng", "LangSetting.ini"})
            program.installAsset(QString::fromLatin1(file), dati);
        program.writeUserFile(QStringLiteral("data/tavendel/Deutsch.lng"), "[FormMenu]\r\n");
        program.writeUserFile(QStringLiteral("data/tavendel/English.lng"),
                              "[FormMenu]\r\nLabel3.Caption=\"" + heading.toUtf8() + "\"\r\n");
        if (!userSetting.isEmpty())
            program.writeUserFile(QStringLiteral("config/tavendel/LangSetting.ini"),
                                  "[Language]\r\nCurrentLanguage=" + userSetting.toUtf8() + "\r\n");
        const PermessiRipristinati ripristino{program.folder()};
        if (installed) {
            QVERIFY(QDir(program.folder()).mkdir(QStringLiteral("bin")));
            forms::setAppPath(program.filePath(QStringLiteral("bin")));
        } else if (folderRefusesWrites) {
            QVERIFY(QFile::setPermissions(program.folder(), QFile::ReadOwner | QFile::ExeOwner));
            // Root writes anywhere: there the folder can only be said to refuse.
            forms::setAppPath(program.folder(), ::geteuid() == 0 ? forms::Places::Writes::Refused
                                                                  : forms::Places::Writes::AsTheFolderAllows);
        }
        const auto tutto = [&] {
            QMap<QString, QByteArray> file = contenuti(program.folder());
            const QMap<QString, QByteArray> dellUtente = contenuti(program.userFolder());
            for (auto it = dellUtente.begin(); it != dellUtente.end(); ++it)
                file[QStringLiteral("user/") + it.key()] = it.value();
            return file;
        };
        QMap<QString, QByteArray> atteso = tutto();
        FormMenu& menu = apriMenu(program, {});
        QCOMPARE(voci(menu), entries);
        QCOMPARE(ModuloColoriSuoni::percorsoSuono(QStringLiteral("no.wav")),
                 QDir::cleanPath(program.folder() + u'/' + dati + QStringLiteral("/suoni/no.wav")));

        scegli(menu, int(entries.indexOf(QRegularExpression(QStringLiteral("English.*")))));

        QCOMPARE(controllo(menu, "Label3").caption(), heading);
        QCOMPARE(linguaSalvata(), QStringLiteral("English"));
        QMap<QString, QByteArray> dopo = tutto();
        QVERIFY(dopo.value(storedIn).contains("CurrentLanguage=English"));
        atteso[storedIn] = dopo.value(storedIn);
        QCOMPARE(dopo.keys(), atteso.keys());
        QVERIFY(dopo == atteso);
    }

    // The language picked is always the first entry; "Zzz" is the other one.
    void pickStoresTheEntrysName_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QByteArray>("keys"); // more keys in the picked language's file
        QTest::addColumn<QString>("stored");

        QTest::newRow("accented name") << "Français" << "Zzz" << QByteArray() << "Français";
        QTest::newRow("name with a blank") << "Lingua sarda" << "Zzz" << QByteArray() << "Lingua sarda";
        QTest::newRow("entry already checked") << "Alfa" << "Alfa" << QByteArray() << "Alfa";
        QTest::newRow("entry renamed by its file")
            << "Alfa" << "Zzz" << QByteArray("mnuLanguage(0).Caption=\"Nuovo nome\"\r\n") << "Nuovo nome";
    }

    void pickStoresTheEntrysName()
    {
        QFETCH(QString, picked);
        QFETCH(QString, setting);
        QFETCH(QByteArray, keys);
        QFETCH(QString, stored);
        const QString testata = QStringLiteral("Testa di ") + picked;
        TestProgram program;
        scriviLingua(program, QStringLiteral("Zzz"));
        scriviLingua(program, picked, keys);
        scriviImpostazione(program, setting);
        const forms::Form& avvio = program.show(QStringLiteral("FormAvvio"));
        FormMenu& menu = apriMenu(program, {});
        QCOMPARE(menu.control(kVoce, 0).isChecked(), setting == picked);
        // Only a translation and a write can bring these back.
        controllo(menu, "Label3").setCaption(QStringLiteral("scarabocchio"));
        program.removeFile(QStringLiteral("LangSetting.ini"));

        scegli(menu, 0);

        QCOMPARE(voci(menu), QStringList({stored + kSpunta, "Zzz"}));
        // Every loaded form speaks the language picked, the menu's title too.
        QCOMPARE(controllo(menu, "Label3").caption(), testata);
        QCOMPARE(controllo(menu, "mnuLanguages").caption(), QStringLiteral("Lingua ") + picked);
        QCOMPARE(controllo(avvio, "BottoneAvvio").caption(), QStringLiteral("Via di ") + picked);
        QCOMPARE(modLanguageSupport::CurrentLanguage(), picked); // a renamed entry's too
        QCOMPARE(linguaSalvata(), stored);

        // Back from an exercise, the menu checks and shows the stored language.
        forms::Application::instance().unload(menu);
        TestProgram::settle();
        const FormMenu& ancora = apriMenu(program, {});
        const bool haUnFile = stored == picked;
        QCOMPARE(voci(ancora), QStringList({haUnFile ? picked + kSpunta : picked, "Zzz"}));
        QCOMPARE(controllo(ancora, "Label3").caption(), haUnFile ? testata : QStringLiteral("Leggi i Tavendel"));
    }

    void aChoiceThatCannotBeStoredIsToldOnce_data()
    {
        QTest::addColumn<QString>("blocked"); // what keeps the settings file from being written
        QTest::newRow("nothing") << QString();
        QTest::newRow("a folder in its place") << "folder";
        QTest::newRow("files of a few bytes only") << "size";
    }

    // English picked twice on an Italian menu.
    void aChoiceThatCannotBeStoredIsToldOnce()
    {
        QFETCH(QString, blocked);
        const QString impostazione = QStringLiteral("LangSetting.ini");
        TestProgram program;
        FormMenu& menu = apriMenu(program, {"Italiano.lng", "English.lng", "LangSetting.ini"});
        if (blocked == QLatin1String("folder")) {
            program.removeFile(impostazione);
            QVERIFY(QDir().mkdir(program.filePath(impostazione)));
        }
        const QByteArray prima = program.readFile(impostazione);
        {
            const FileMinuscoli limite(blocked == QLatin1String("size"));
            scegli(menu, 0);
            scegli(menu, 0);
        }

        QCOMPARE(voci(menu), QStringList({"English ✓", "Italiano"}));
        QCOMPARE(controllo(menu, "Label3").caption(), QStringLiteral("Read numerals"));
        if (blocked.isEmpty()) {
            QVERIFY(program.messages().empty());
            QCOMPARE(linguaSalvata(), QStringLiteral("English"));
            return;
        }
        QCOMPARE(domande(program), QStringList{"The language has changed, but I won't remember it next time: "
                                               "I can't write the file LangSetting.ini."});
        QCOMPARE(program.messages().front().title, QStringLiteral("Tavendel"));
        QCOMPARE(program.messages().front().buttons, forms::MsgBoxButtons::OkOnly);
        QCOMPARE(program.messages().front().icon, forms::MsgBoxIcon::Information);
        QCOMPARE(program.readFile(impostazione), prima);
        QCOMPARE(QFileInfo(program.filePath(impostazione)).isDir(), blocked == QLatin1String("folder"));
    }

    void pickDuringAPickWaitsAndOnlyTheLatestRuns()
    {
        TestProgram program;
        for (const char* lingua : {"Alfa", "Beta", "Gamma"})
            scriviLingua(program, QString::fromLatin1(lingua));
        FormMenu& menu = apriMenu(program, {});

        // Every language that became current, as the translations' event processing sees it.
        QStringList correnti;
        QTimer sonda;
        QObject::connect(&sonda, &QTimer::timeout, [&] {
            if (correnti.isEmpty() || correnti.back() != modLanguageSupport::CurrentLanguage())
                correnti << modLanguageSupport::CurrentLanguage();
        });
        sonda.start(0);
        QString duranteLaPrima;
        QTimer::singleShot(0, &menu, [&] {
            menu.control(kVoce, 1).action()->trigger();
            menu.control(kVoce, 2).action()->trigger();
            duranteLaPrima = modLanguageSupport::CurrentLanguage();
        });
        scegli(menu, 0);
        sonda.stop();

        QCOMPARE(duranteLaPrima, QStringLiteral("Alfa"));
        QVERIFY2(correnti.contains(QStringLiteral("Alfa")) && !correnti.contains(QStringLiteral("Beta")),
                 qPrintable(correnti.join(u',')));
        QCOMPARE(voci(menu), QStringList({"Alfa", "Beta", "Gamma ✓"}));
        QCOMPARE(modLanguageSupport::CurrentLanguage(), QStringLiteral("Gamma"));
        QCOMPARE(controllo(menu, "Label3").caption(), QStringLiteral("Testa di Gamma"));
        QCOMPARE(linguaSalvata(), QStringLiteral("Gamma"));
    }

    // Loading the menu, its translation included, asks every control only for
    // what it has; and a pick that fails midway defers nothing afterwards.
    void loadingThrowsNothingAndAFailedPickDefersNothing()
    {
        TestProgram program;
        const int prima = eccezioniLanciate;
        FormMenu& menu = apriMenu(program, {"Italiano.lng", "English.lng", "LangSetting.ini"});
        QCOMPARE(eccezioniLanciate, prima);

        QVERIFY_THROWS_EXCEPTION(std::out_of_range, menu.mnuLanguage_Click(99)); // no such entry
        QVERIFY(eccezioniLanciate > prima); // and that one was counted
        clicca(controllo(menu, "Command2"));
        QVERIFY(program.find(QStringLiteral("Form1")));
    }

    void clickDuringAPickWaitsForIt_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("asked"); // in the language just picked

        QTest::newRow("level") << "Command2" << "Form1" << QStringList();
        QTest::newRow("exit, No") << "Command1" << kMenu << QStringList{"Do you really want to quit Tavendel?"};
    }

    void clickDuringAPickWaitsForIt()
    {
        QFETCH(QString, button);
        QFETCH(QString, shown);
        QFETCH(QStringList, asked);
        TestProgram program;
        FormMenu& menu = apriMenu(program, {"Italiano.lng", "English.lng", "LangSetting.ini"});
        program.answerNext(forms::MsgBoxResult::No);

        bool accadutoDuranteLaScelta = true;
        QTimer::singleShot(0, &menu, [&] {
            QTest::mouseClick(menu.control(button).widget(), Qt::LeftButton);
            accadutoDuranteLaScelta = program.find(QStringLiteral("Form1")) || !program.messages().empty();
        });
        scegli(menu, 0);

        QVERIFY(!accadutoDuranteLaScelta);
        QCOMPARE(domande(program), asked);
        QVERIFY(program.find(shown));
        QCOMPARE(program.find(kMenu) == &menu, shown == kMenu);
        QCOMPARE(program.endRequests(), 0);
        QCOMPARE(linguaSalvata(), QStringLiteral("English"));
    }
};

QTEST_MAIN(FormMenuTest)
#include "FormMenuTest.moc"
