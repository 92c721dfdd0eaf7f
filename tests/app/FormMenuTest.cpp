// The main menu driven through its real widgets and menu entries: the level
// buttons, the two switches, the way out, the pointers, and the
// Language menu (what it lists and checks, what a pick translates and where
// it is stored in each layout, and how input that arrives during a pick
// waits for it).

#include "TestProgram.h"

#include "app/FormMenu.h"
#include "app/RegistroForme.h"
#include "forms/Control.h"
#include "forms/Pictures.h"
#include "forms/Places.h"
#include "language/modLanguageSupport.h"
#include "shell/Modulo1.h"
#include "shell/ModuloColoriSuoni.h"
#include "shell/SharedState.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <csignal>
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

FormMenu& apriMenu(TestProgram& program, const QStringList& fileSpediti = {"Italiano.lng", "LangSetting.ini"})
{
    for (const QString& file : fileSpediti)
        program.installAsset(file);
    return static_cast<FormMenu&>(program.show(kMenu));
}

void clicca(const forms::Control& control)
{
    QTest::mouseClick(control.widget(), Qt::LeftButton);
    TestProgram::settle();
}

// The Language menu's captions, the checked entries marked.
QStringList voci(const forms::Form& menu)
{
    QStringList voci;
    for (int i = 0; i <= menu.highestIndex(kVoce); ++i)
        voci << menu.control(kVoce, i).caption() + (menu.control(kVoce, i).isChecked() ? kSpunta : QString());
    return voci;
}

void scegli(const forms::Form& menu, int index)
{
    menu.control(kVoce, index).action()->trigger();
    TestProgram::settle();
}

QString linguaSalvata()
{
    return modLanguageSupport::MLSReadIni(modLanguageSupport::settingsFilePath(), "Language", "CurrentLanguage").value_or("-");
}

// A small language file whose texts tell which language is shown.
void scriviLingua(const TestProgram& program, const QString& nome, const QByteArray& altro = {})
{
    const QByteArray n = nome.toUtf8();
    program.writeFile(nome + ".lng", "[Strings]\r\n0001=\"Esci da " + n + "?\"\r\n[FormMenu]\r\nLabel3.Caption=\"Testa di "
                                         + n + "\"\r\n" + altro + "[FormAvvio]\r\nBottoneAvvio.Caption=\"Via di " + n + "\"\r\n"
                                         + "[FormSemplice]\r\nLabel1.Caption=\"Altro di " + n + "\"\r\n");
}

// Every file of the program's folder and of the user's ("user/..."), with its bytes.
QMap<QString, QByteArray> tutto(const TestProgram& program)
{
    QMap<QString, QByteArray> file;
    for (const QString& radice : {program.folder(), program.userFolder()})
        for (QDirIterator it(radice, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            QFile letto(it.next());
            letto.open(QIODevice::ReadOnly);
            file[(radice == program.folder() ? "" : "user/") + QDir(radice).relativeFilePath(letto.fileName())] = letto.readAll();
        }
    return file;
}

// A bare stand-in for an exercise: it notes the level it finds when it is
// made, that is before its Load, and runs during its Load what a test wants
// to happen then.
std::int16_t livelloAllaCreazione = -1;
std::function<void()> duranteIlCaricamento;

struct EsercizioFinto : FormTavendel
{
    explicit EsercizioFinto(const QString& nome) : FormTavendel({.name = nome, .clientWidth = 9540, .clientHeight = 6345})
    {
        livelloAllaCreazione = Stato().NumeroMassimo();
    }
    void caricamento() override { duranteIlCaricamento ? duranteIlCaricamento() : void(); }
};

// The rows of the table of layouts: installed or portable, the program's
// folder read-only, the strict switch shipped on (then English is picked
// before the switch is flipped), the user's stored language (empty: none
// yet), the entries listed, and the settings file that changes (below the
// program's folder, or "user/...").
struct Disposizione { bool installed, readOnly, shippedOn; QString userSetting; QStringList entries; QString storedIn; };

} // namespace

class FormMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        RegistraForme();
        for (const VoceEsercizio& esercizio : esercizi())
            forms::Application::instance().registerForm(
                esercizio.forma, [nome = esercizio.forma] { return std::make_unique<EsercizioFinto>(nome); });
        // A form of the runtime's own kind, not of the program's: a pick translates it too.
        forms::Application::instance().registerForm("FormSemplice", [] {
            return std::make_unique<forms::Form>(forms::FormDesign{
                .name = "FormSemplice", .clientWidth = 3000, .clientHeight = 2000, .controls = {{.name = "Label1", .caption = "Uno"}}});
        });
    }

    void levelButtonSetsItsValueBeforeTheExerciseLoads_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("exercise");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("meanwhile"); // clicked while the exercise loads
        const std::pair<const char*, QStringList> colonne[] = {
            {"Form1", {"Command2", "Command4", "Command3", "Command5", "Command6"}},
            {"Form2", {"Command10", "Command11", "Command9", "Command8", "Command7"}},
            {"Form3", {"Command13", "Command12", "Command14", "Command15", "Command16"}}};
        const int valori[] = {38, 88, 388, 888, 3000};
        for (const auto& [esercizio, bottoni] : colonne)
            for (int i = 0; i < 5; ++i)
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
        Stato().setNumeroMassimo(value == 3000 ? 38 : 3000); // whatever the previous exercise left
        FormMenu& menu = apriMenu(program);
        if (!meanwhile.isEmpty())
            duranteIlCaricamento = [&] { QTest::mouseClick(menu.control(meanwhile).widget(), Qt::LeftButton); };
        const auto fine = qScopeGuard([] { duranteIlCaricamento = nullptr; });

        clicca(menu.control(button));

        QCOMPARE((std::tuple{int(livelloAllaCreazione), int(Stato().NumeroMassimo()), program.messages().size()}),
                 (std::tuple{value, value, std::size_t(0)}));
        QVERIFY(program.find(exercise) && program.find(exercise)->window()->isVisible()
                && forms::Application::instance().loadedForms().size() == 1);
    }

    // Switched off on the menu, the sounds stay off in an exercise and back.
    void soundsSwitchedOffStayOffAcrossAnExercise()
    {
        TestProgram program;
        FormMenu& menu = apriMenu(program);
        QVERIFY(menu.control("Check1").isChecked());
        QTest::keyClick(menu.control("Check1").widget(), Qt::Key_Space);
        clicca(menu.control("Command2"));
        ModuloColoriSuoni::SuonoEsatto();
        Modulo1::TornaAlMenu(*program.find("Form1"));
        TestProgram::settle();
        QVERIFY(!program.find(kMenu)->control("Check1").isChecked() && !Stato().SuoniAttivati()
                && program.sounds().played.isEmpty());
    }

    // "Esci" and the window's close button ask the same; only Yes ends, the
    // fitter going first, and No changes nothing.
    void exitAsksAndEndsOnlyOnYes()
    {
        for (const bool fromFrame : {false, true})
            for (const bool yes : {false, true}) {
                TestProgram program;
                FormMenu& menu = apriMenu(program);
                const QString aspetto = menu.control("Label3").caption() + QString::number(menu.backColor());
                program.answerNext(yes ? forms::MsgBoxResult::Yes : forms::MsgBoxResult::No);
                fromFrame ? void(menu.window()->close()) : clicca(menu.control("Command1"));
                TestProgram::settle();
                QCOMPARE(program.messages(), std::vector<forms::MsgBoxRequest>({{"Tavendel", "Vuoi davvero uscire da Tavendel?",
                                                         forms::MsgBoxButtons::YesNo, forms::MsgBoxIcon::Question}}));
                QCOMPARE((std::tuple{program.endRequests(), Stato().objResize() != nullptr, program.find(kMenu)}),
                         (std::tuple{int(yes), !yes, static_cast<forms::Form*>(&menu)}));
                QCOMPARE(menu.control("Label3").caption() + QString::number(menu.backColor()), aspetto);
            }
    }

    // Language files beside the program (none of the other names counts as
    // one), and the language the settings file names. Then a pick of the
    // first entry: it alone is checked, every loaded form speaks its
    // language, and the entry's name as the translation left it is written
    // anew; a menu loaded again checks it when it has a file.
    void languageMenuListsChecksAndStoresThePick()
    {
        // The language files, the language the settings file names (empty:
        // no settings file), the entries shown, and the name stored by the
        // pick (none of the files': the first file renames its entry so).
        const QStringList due{"Alfa", "Zzz"};
        const struct { QStringList files; QString setting; QStringList entries; QString stored; } righe[] = {
            {due, "Zzz", {"Alfa", "Zzz ✓"}, "Alfa"},  // the one stored checked
            {due, "Alfa", {"Alfa ✓", "Zzz"}, "Alfa"}, // picked though checked
            {due, "zzz", due, "Alfa"},                 // stored in another case
            {due, "Beta", due, "Alfa"},                // stored without a file
            {due, "", due, "Alfa"},                    // no settings file
            {due, "", due, "Nuovo nome"},              // the entry renamed by its file
            // In reading order:
            {{"italiano", "Lingua 10", "Français", "Lingua sarda", "Deutsch", "Lingua 2"}, "Lingua 2",
             {"Deutsch", "Français", "italiano", "Lingua 2 ✓", "Lingua 10", "Lingua sarda"}, "Deutsch"},
            {{}, "", {"mnuLanguage 0"}, "mnuLanguage 0"}}; // no language file
        for (const auto& [files, setting, entries, stored] : righe) {
            TestProgram program;
            const bool haUnFile = files.contains(stored);
            for (const QString& file : files)
                scriviLingua(program, file, haUnFile || file != files.first()
                                                ? QByteArray() : "mnuLanguage(0).Caption=\"" + stored.toUtf8() + "\"\r\n");
            QDir().mkpath(program.filePath("Cartella.lng"));
            QFile::link(program.filePath("manca"), program.filePath("Rotta.lng"));
            for (const char* nome : {"Maiuscole.LNG", "leggimi.txt", "Lingua.lng.bak", ".lng", "Ctrl\x01.lng", "su..giu.lng"})
                program.writeFile(nome, "[FormMenu]\r\n");
            if (!setting.isEmpty())
                program.storeLanguage(setting);
            const forms::Form& avvio = program.show("FormAvvio");
            const forms::Form& semplice = program.show("FormSemplice");
            FormMenu& menu = apriMenu(program, {});

            QCOMPARE((std::tuple{voci(menu), modLanguageSupport::CurrentLanguage()}), (std::tuple{entries, setting}));
            QCOMPARE(program.messages(), std::vector<forms::MsgBoxRequest>(files.isEmpty(), {"Tavendel",
                                                                           "Non è presente alcun file di linguaggio!"}));
            // Only a translation and a write can bring these back.
            menu.control("Label3").setCaption("scarabocchio");
            QFile::remove(program.filePath("LangSetting.ini"));

            scegli(menu, 0);

            const QString lingua = QString(entries.first()).remove(kSpunta);
            QCOMPARE(voci(menu), QStringList{stored + kSpunta} + entries.mid(1).replaceInStrings(kSpunta, QString()));
            QCOMPARE((QStringList{modLanguageSupport::CurrentLanguage(), linguaSalvata()}), (QStringList{lingua, stored}));
            QCOMPARE((QStringList{menu.control("Label3").caption(), avvio.control("BottoneAvvio").caption(),
                                  semplice.control("Label1").caption()}),
                     (files.isEmpty() ? QStringList{"scarabocchio", "Avvio", "Uno"}
                                      : QStringList{"Testa di " + lingua, "Via di " + lingua, "Altro di " + lingua}));

            forms::Application::instance().unload(menu);
            TestProgram::settle();
            const FormMenu& ancora = apriMenu(program, {});
            QCOMPARE((QStringList{voci(ancora).first(), ancora.control("Label3").caption()}),
                     (haUnFile ? QStringList{lingua + kSpunta, "Testa di " + lingua} : QStringList{lingua, "Leggi i Tavendel"}));
        }
    }

    // The shipped files (beside the program, or in share/tavendel) store
    // Italiano and no strict switch, unless a teacher switched it on there;
    // the user's data folder holds a teacher's Deutsch and a corrected
    // English, and in some rows the user's configuration folder a stored
    // choice. The switch is flipped and English picked, each followed by a
    // restart: the first of the two stored may start the user's own settings
    // file, which must take the other setting along. Both are remembered,
    // and only one file anywhere changes.
    void layoutsListTheirLanguagesAndStoreSettingsWhereAllowed()
    {
        const QString accanto = "LangSetting.ini", utente = "user/config/tavendel/LangSetting.ini";
        const Disposizione righe[] = {
            {false, false, false, "", {"English", "Italiano ✓"}, accanto},                // portable
            {false, true, false, "", {"English", "Italiano ✓"}, utente},                  // portable, read-only
            {false, true, false, "English", {"English ✓", "Italiano"}, utente},           // the same, stored before
            {true, false, true, "", {"Deutsch", "English", "Italiano ✓"}, utente},        // installed, shipped switched on
            {true, false, false, "English", {"Deutsch", "English ✓", "Italiano"}, utente}}; // installed, stored before
        for (const Disposizione& row : righe) {
            TestProgram program;
            const QString dati = row.installed ? "share/tavendel" : "";
            for (const char* file : {"Italiano.lng", "English.lng", "LangSetting.ini"})
                program.installAsset(file, dati);
            const QString spedito = QDir(dati).filePath("LangSetting.ini");
            if (row.shippedOn)
                program.writeFile(spedito, program.readFile(spedito) + "[Options]\r\nStrictNumerals=1\r\n");
            program.writeUserFile("data/tavendel/Deutsch.lng", "[FormMenu]\r\n");
            program.writeUserFile("data/tavendel/English.lng", "[FormMenu]\r\nLabel3.Caption=\"Read, corrected\"\r\n");
            if (!row.userSetting.isEmpty())
                program.writeUserFile("config/tavendel/LangSetting.ini",
                                      "[Language]\r\nCurrentLanguage=" + row.userSetting.toUtf8());
            const QFile::Permissions permessi = QFile::permissions(program.folder());
            const auto ripristino = qScopeGuard([&] { QFile::setPermissions(program.folder(), permessi); });
            if (row.installed) {
                QDir(program.folder()).mkdir("bin");
                forms::setAppPath(program.filePath("bin"));
            } else if (row.readOnly) {
                QFile::setPermissions(program.folder(), QFile::ReadOwner | QFile::ExeOwner);
                // Root writes anywhere: there the folder can only be said to refuse.
                forms::setAppPath(program.folder(), ::geteuid() == 0 ? forms::Places::Writes::Refused
                                                                      : forms::Places::Writes::AsTheFolderAllows);
            }
            QMap<QString, QByteArray> atteso = tutto(program);
            forms::Form* menu = nullptr;
            const auto riavvia = [&] {
                forms::Application::instance().unloadAll();
                Stato().reset();
                modLanguageSupport::setCurrentLanguage(QString());
                program.show("FormAvvio");
                menu = &program.show(kMenu);
            };
            const auto cambia = [&] { QTest::keyClick(menu->control("Check2").widget(), Qt::Key_Space); };
            // English comes just before Italiano.
            const auto inglese = [&] { scegli(*menu, int(row.entries.size()) - 2); };

            riavvia();
            QCOMPARE((std::tuple{voci(*menu), menu->control("Check2").isChecked()}), (std::tuple{row.entries, row.shippedOn}));
            QCOMPARE(ModuloColoriSuoni::percorsoSuono("no.wav"),
                     QDir::cleanPath(program.folder() + '/' + dati + "/suoni/no.wav"));
            row.shippedOn ? inglese() : cambia();
            riavvia();
            QCOMPARE((std::tuple{menu->control("Check2").isChecked(), modLanguageSupport::CurrentLanguage()}),
                     (std::tuple{true, row.shippedOn ? "English" : row.userSetting.isEmpty() ? "Italiano" : row.userSetting}));
            row.shippedOn ? cambia() : inglese();
            riavvia();
            // The user's English is read only where the user's folders count.
            QCOMPARE((std::tuple{menu->control("Check2").isChecked(), menu->control("Label3").caption()}),
                     (std::tuple{!row.shippedOn, QString(row.installed ? "Read, corrected" : "Read numerals")}));

            const QMap<QString, QByteArray> dopo = tutto(program);
            QVERIFY(dopo.value(row.storedIn).contains("CurrentLanguage=English"));
            atteso[row.storedIn] = dopo.value(row.storedIn);
            QVERIFY(dopo == atteso && program.messages().empty());
        }
    }

    // Alfa picked; what arrives while its translation lets events run waits
    // for the pick to end, and of several picks waiting only the latest runs.
    void inputDuringAPickWaitsForIt()
    {
        // The input (Language menu entries by number, or buttons), the
        // languages current as events ran, the form shown, the question asked.
        const struct { QStringList input, seen; QString shown, asked; } righe[] = {
            {{"1", "2"}, {"Alfa", "Gamma"}, kMenu, ""},          // two picks
            {{"Command2"}, {"Alfa"}, "Form1", ""},               // a level
            {{"Command1"}, {"Alfa"}, kMenu, "Esci da Alfa?"}}; // the exit, No
        for (const auto& riga : righe) {
            TestProgram program;
            for (const char* lingua : {"Alfa", "Beta", "Gamma"})
                scriviLingua(program, lingua);
            FormMenu& menu = apriMenu(program, {});
            program.answerNext(forms::MsgBoxResult::No);
            QStringList visti;
            QTimer sonda;
            QObject::connect(&sonda, &QTimer::timeout, [&visti] {
                if (const QString lingua = modLanguageSupport::CurrentLanguage(); !lingua.isEmpty() && !visti.endsWith(lingua))
                    visti << lingua;
            });
            sonda.start(0);
            QTimer::singleShot(0, &menu, [&] {
                for (const QString& cosa : riga.input)
                    cosa.size() == 1 ? menu.control(kVoce, cosa.toInt()).action()->trigger()
                                     : QTest::mouseClick(menu.control(cosa).widget(), Qt::LeftButton);
                QVERIFY(!program.find("Form1") && program.messages().empty());
            });
            scegli(menu, 0);

            QCOMPARE((QStringList(visti) << linguaSalvata()), (QStringList(riga.seen) << riga.seen.back()));
            QCOMPARE(program.messages(), std::vector<forms::MsgBoxRequest>(!riga.asked.isEmpty(), {"Tavendel", riga.asked,
                                                         forms::MsgBoxButtons::YesNo, forms::MsgBoxIcon::Question}));
            QVERIFY(program.find(riga.shown) && program.endRequests() == 0);
            QCOMPARE(program.find(kMenu) == &menu, riga.shown == kMenu);
        }
    }

    // Loading the menu, its translation included, asks every control only for
    // what it has; the design's pointers, which no picture of the menu shows,
    // are checked on the way. Then English is picked twice while files may
    // grow to a few bytes only, so that writing the settings file fails even
    // for root: that is told once. And a pick that fails midway defers nothing
    // afterwards.
    void loadingThrowsNothingAndFailedPicksAreToldOnceAndDeferNothing()
    {
        TestProgram program;
        const int prima = eccezioniLanciate;
        FormMenu& menu = apriMenu(program, {"Italiano.lng", "English.lng", "LangSetting.ini"});
        QCOMPARE(eccezioniLanciate, prima);
        const auto puntatore = [&](const char* name) { return menu.control(name).widget()->cursor().pixmap().toImage(); };
        QCOMPARE(puntatore("Command7"), forms::Pictures::pointer("pointer_arrow").pixmap().toImage());
        QCOMPARE(puntatore("Check2"), forms::Pictures::pointer("pointer_clef").pixmap().toImage());

        const QByteArray salvato = program.readFile("LangSetting.ini");
        rlimit limite{};
        ::getrlimit(RLIMIT_FSIZE, &limite);
        const rlimit minuscolo{16, limite.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN); // a failed write, not the end of the test
        ::setrlimit(RLIMIT_FSIZE, &minuscolo);
        scegli(menu, 0);
        scegli(menu, 0);
        ::setrlimit(RLIMIT_FSIZE, &limite);
        // The entries, then the heading.
        QCOMPARE(voci(menu) << menu.control("Label3").caption(), QStringList({"English ✓", "Italiano", "Read numerals"}));
        QCOMPARE(program.messages(), std::vector<forms::MsgBoxRequest>({{"Tavendel", "The language has changed, but I won't "
                     "remember it next time: I can't write the file LangSetting.ini.", forms::MsgBoxButtons::OkOnly,
                     forms::MsgBoxIcon::Information}}));
        QCOMPARE(program.readFile("LangSetting.ini"), salvato);

        QVERIFY_THROWS_EXCEPTION(std::out_of_range, menu.mnuLanguage_Click(99)); // no such entry
        QVERIFY(eccezioniLanciate > prima); // and that one was counted
        clicca(menu.control("Command2"));
        QVERIFY(program.find("Form1"));
    }
};

QTEST_MAIN(FormMenuTest)
#include "FormMenuTest.moc"
