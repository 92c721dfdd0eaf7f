// The Language menu driven through its real menu entries: which languages it
// lists and checks, what a pick translates and stores, and how picks and
// clicks that arrive while a pick is translating wait for it.

#include "EsercizioFinto.h"
#include "TestProgram.h"

#include "app/FormMenu.h"
#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/ProgramFolder.h"
#include "language/modLanguageSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString kMenu = QStringLiteral("FormMenu");
const QString kVoce = QStringLiteral("mnuLanguage");

FormMenu& apriMenu(TestProgram& program)
{
    return static_cast<FormMenu&>(program.show(kMenu));
}

QStringList voci(const forms::Form& menu)
{
    QStringList didascalie;
    for (int i = 0; i <= menu.highestIndex(kVoce); ++i)
        didascalie << menu.control(kVoce, i).caption();
    return didascalie;
}

// The entry with the check mark, -1 when none has it, -2 when several have.
int spuntata(const forms::Form& menu)
{
    int trovata = -1;
    for (int i = 0; i <= menu.highestIndex(kVoce); ++i) {
        if (!menu.control(kVoce, i).isChecked())
            continue;
        if (trovata >= 0)
            return -2;
        trovata = i;
    }
    return trovata;
}

void scegli(const forms::Form& menu, int index)
{
    menu.control(kVoce, index).action()->trigger();
    TestProgram::settle();
}

QString didascalia(const forms::Form& form, const char* name)
{
    return form.control(QString::fromLatin1(name)).caption();
}

void scriviImpostazione(const TestProgram& program, const QString& lingua)
{
    program.writeFile(QStringLiteral("LangSetting.ini"),
                      "[Language]\r\nCurrentLanguage=" + lingua.toUtf8() + "\r\n");
}

QString linguaSalvata()
{
    return modLanguageSupport::MLSReadIni(modLanguageSupport::settingsFilePath(),
                                          QStringLiteral("Language"),
                                          QStringLiteral("CurrentLanguage"))
        .value_or(QStringLiteral("<no settings file>"));
}

// A small language file whose menu heading tells which language is shown.
void scriviLingua(const TestProgram& program, const QString& nome, const QString& intestazione,
                  const QByteArray& altro = {})
{
    program.writeFile(nome + QStringLiteral(".lng"),
                      "[FormMenu]\r\nLabel3.Caption=\"" + intestazione.toUtf8() + "\"\r\n" + altro);
}

void inglese(TestProgram& program)
{
    program.installAsset(QStringLiteral("Italiano.lng"));
    program.installAsset(QStringLiteral("English.lng"));
    program.installAsset(QStringLiteral("LangSetting.ini"));
}

} // namespace

class LanguageMenuTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        RegistraForme();
        EsercizioFinto::sostituisciEsercizi(m_livelloAllaCreazione);
    }

    void twoFilesGiveTwoEntriesAndTheStoredOneIsChecked_data();
    void twoFilesGiveTwoEntriesAndTheStoredOneIsChecked();
    void listsLanguageFilesOnlyInReadingOrder();
    void listStopsAtTheLargestMenu();
    void nameWithBlanksOrAccentsIsALanguageLikeAnyOther_data();
    void nameWithBlanksOrAccentsIsALanguageLikeAnyOther();
    void pickTranslatesEveryLoadedFormAndStoresTheChoice();
    void pickingTheCheckedEntryTranslatesAndStoresAgain();
    void entryRenamedByTheLanguageFileStoresItsNewName();
    void withoutLanguageFilesTheDesignEntryRemains();
    void pickDuringAPickWaitsAndOnlyTheLatestRuns();
    void levelClickDuringAPickWaitsForIt();
    void exitClickDuringAPickWaitsForIt();

private:
    std::int16_t m_livelloAllaCreazione = -1;
};

void LanguageMenuTest::twoFilesGiveTwoEntriesAndTheStoredOneIsChecked_data()
{
    QTest::addColumn<QString>("setting"); // empty: no settings file
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("current");

    QTest::newRow("stored language") << "Italiano" << 1 << "Italiano";
    QTest::newRow("other stored language") << "English" << 0 << "English";
    QTest::newRow("stored in another case") << "italiano" << -1 << "italiano";
    QTest::newRow("stored language without file") << "Deutsch" << -1 << "Deutsch";
    QTest::newRow("no settings file") << "" << -1 << "";
}

void LanguageMenuTest::twoFilesGiveTwoEntriesAndTheStoredOneIsChecked()
{
    QFETCH(QString, setting);
    QFETCH(int, checked);
    QFETCH(QString, current);

    TestProgram program;
    program.installAsset(QStringLiteral("Italiano.lng"));
    program.installAsset(QStringLiteral("English.lng"));
    if (!setting.isEmpty())
        scriviImpostazione(program, setting);
    const FormMenu& menu = apriMenu(program);

    QCOMPARE(voci(menu), QStringList({"English", "Italiano"}));
    QVERIFY(menu.control(kVoce, 1).isVisible());
    QCOMPARE(spuntata(menu), checked);
    QCOMPARE(modLanguageSupport::CurrentLanguage(), current);
    QVERIFY(program.messages().empty());
}

void LanguageMenuTest::listsLanguageFilesOnlyInReadingOrder()
{
    TestProgram program;
    for (const char* nome : {"italiano", "Lingua 10", "English", "Lingua sarda", "Deutsch",
                             "Lingua 2", "Français"})
        scriviLingua(program, QString::fromUtf8(nome), QStringLiteral("x"));
    QVERIFY(QFile::link(program.filePath(QStringLiteral("English.lng")),
                        program.filePath(QStringLiteral("Collegata.lng"))));
    // None of these is a language file.
    QVERIFY(QDir().mkpath(program.filePath(QStringLiteral("Cartella.lng"))));
    QVERIFY(QFile::link(program.filePath(QStringLiteral("manca")),
                        program.filePath(QStringLiteral("Interrotta.lng"))));
    program.writeFile(QStringLiteral("Maiuscole.LNG"), "[FormMenu]\r\n");
    program.writeFile(QStringLiteral("leggimi.txt"), "");
    program.writeFile(QStringLiteral("Lingua.lng.bak"), "");
    program.writeFile(QStringLiteral(".lng"), "");
    program.writeFile(QStringLiteral("Ctrl\x01.lng"), "");
    program.writeFile(QStringLiteral("su..giu.lng"), "");

    const FormMenu& menu = apriMenu(program);

    QCOMPARE(voci(menu), QStringList({"Collegata", "Deutsch", "English", "Français", "italiano",
                                      "Lingua 2", "Lingua 10", "Lingua sarda"}));
}

void LanguageMenuTest::listStopsAtTheLargestMenu()
{
    TestProgram program;
    // Thirty-two thousand files: on a memory file system when there is one,
    // so that the test stays quick.
    const QString memoria = QStringLiteral("/dev/shm");
    QTemporaryDir cartella(QFileInfo(memoria).isWritable() ? memoria + QStringLiteral("/tavendel-XXXXXX")
                                                           : program.filePath(QStringLiteral("molte")));
    QVERIFY(cartella.isValid());
    forms::setAppPath(cartella.path());
    for (int i = 0; i <= FormMenu::kMassimoLingue; ++i) {
        QFile file(cartella.filePath(QStringLiteral("L%1.lng").arg(i, 5, 10, QLatin1Char('0'))));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const FormMenu& menu = apriMenu(program);

    QCOMPARE(menu.highestIndex(kVoce), FormMenu::kMassimoLingue - 1);
    QCOMPARE(menu.control(kVoce, 0).caption(), QStringLiteral("L00000"));
    QCOMPARE(menu.control(kVoce, FormMenu::kMassimoLingue - 1).caption(), QStringLiteral("L32766"));
}

void LanguageMenuTest::nameWithBlanksOrAccentsIsALanguageLikeAnyOther_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("accented") << QStringLiteral("Français");
    QTest::newRow("with a blank") << QStringLiteral("Lingua sarda");
}

void LanguageMenuTest::nameWithBlanksOrAccentsIsALanguageLikeAnyOther()
{
    QFETCH(QString, language);
    TestProgram program;
    scriviLingua(program, QStringLiteral("Aaa"), QStringLiteral("A"));
    scriviLingua(program, language, QStringLiteral("Testa di ") + language);
    scriviImpostazione(program, QStringLiteral("Aaa"));
    FormMenu& menu = apriMenu(program);
    QCOMPARE(voci(menu), QStringList({"Aaa", language}));

    scegli(menu, 1);

    QCOMPARE(didascalia(menu, "Label3"), QStringLiteral("Testa di ") + language);
    QCOMPARE(linguaSalvata(), language);

    // Back from an exercise, the menu checks the stored language.
    forms::Application::instance().unload(menu);
    TestProgram::settle();
    const FormMenu& ancora = apriMenu(program);
    QCOMPARE(spuntata(ancora), 1);
    QCOMPARE(didascalia(ancora, "Label3"), QStringLiteral("Testa di ") + language);
}

void LanguageMenuTest::pickTranslatesEveryLoadedFormAndStoresTheChoice()
{
    TestProgram program;
    inglese(program);
    const forms::Form& avvio = program.show(QStringLiteral("FormAvvio"));
    FormMenu& menu = apriMenu(program);
    QCOMPARE(didascalia(avvio, "BottoneAvvio"), QStringLiteral("Avvio"));
    QCOMPARE(spuntata(menu), 1);

    scegli(menu, 0);

    QCOMPARE(spuntata(menu), 0);
    QCOMPARE(modLanguageSupport::CurrentLanguage(), QStringLiteral("English"));
    QCOMPARE(linguaSalvata(), QStringLiteral("English"));
    QCOMPARE(didascalia(menu, "Label3"), QStringLiteral("Read numerals"));
    QCOMPARE(didascalia(menu, "Check1"), QStringLiteral("Sounds on"));
    QCOMPARE(didascalia(menu, "mnuLanguages"), QStringLiteral("Language"));
    QCOMPARE(didascalia(avvio, "BottoneAvvio"), QStringLiteral("Start"));
    QCOMPARE(didascalia(avvio, "Label1"), QStringLiteral("07 September 2003"));
}

void LanguageMenuTest::pickingTheCheckedEntryTranslatesAndStoresAgain()
{
    TestProgram program;
    inglese(program);
    FormMenu& menu = apriMenu(program);
    menu.control(QStringLiteral("Label3")).setCaption(QStringLiteral("scarabocchio"));
    program.removeFile(QStringLiteral("LangSetting.ini"));

    scegli(menu, 1);

    QCOMPARE(spuntata(menu), 1);
    QCOMPARE(didascalia(menu, "Label3"), QStringLiteral("Leggi i Tavendel"));
    QCOMPARE(linguaSalvata(), QStringLiteral("Italiano"));
}

void LanguageMenuTest::entryRenamedByTheLanguageFileStoresItsNewName()
{
    TestProgram program;
    scriviLingua(program, QStringLiteral("Alfa"), QStringLiteral("A"),
                 "mnuLanguage(0).Caption=\"Nuovo nome\"\r\n");
    scriviLingua(program, QStringLiteral("Zeta"), QStringLiteral("Z"));
    scriviImpostazione(program, QStringLiteral("Zeta"));
    FormMenu& menu = apriMenu(program);
    QCOMPARE(voci(menu), QStringList({"Alfa", "Zeta"}));

    scegli(menu, 0);

    QCOMPARE(voci(menu), QStringList({"Nuovo nome", "Zeta"}));
    QCOMPARE(didascalia(menu, "Label3"), QStringLiteral("A"));
    QCOMPARE(linguaSalvata(), QStringLiteral("Nuovo nome"));
    QCOMPARE(modLanguageSupport::CurrentLanguage(), QStringLiteral("Alfa"));
}

void LanguageMenuTest::withoutLanguageFilesTheDesignEntryRemains()
{
    TestProgram program;
    program.installAsset(QStringLiteral("LangSetting.ini"));
    FormMenu& menu = apriMenu(program);

    QCOMPARE(program.messages().size(), std::size_t(1));
    const forms::MsgBoxRequest& avviso = program.messages().front();
    QCOMPARE(avviso.text, QStringLiteral("Non è presente alcun file di linguaggio!"));
    QCOMPARE(avviso.title, QStringLiteral("Tavendel"));
    QCOMPARE(avviso.buttons, forms::MsgBoxButtons::OkOnly);
    QCOMPARE(avviso.icon, forms::MsgBoxIcon::None);
    QCOMPARE(voci(menu), QStringList({"mnuLanguage 0"}));
    QCOMPARE(spuntata(menu), -1);

    scegli(menu, 0);

    QCOMPARE(spuntata(menu), 0);
    QCOMPARE(modLanguageSupport::CurrentLanguage(), QStringLiteral("mnuLanguage 0"));
    QCOMPARE(linguaSalvata(), QStringLiteral("mnuLanguage 0"));
    QCOMPARE(didascalia(menu, "Label3"), QStringLiteral("Leggi i Tavendel"));
    QCOMPARE(program.messages().size(), std::size_t(1));
}

void LanguageMenuTest::pickDuringAPickWaitsAndOnlyTheLatestRuns()
{
    TestProgram program;
    scriviLingua(program, QStringLiteral("Alfa"), QStringLiteral("A"));
    scriviLingua(program, QStringLiteral("Beta"), QStringLiteral("B"));
    scriviLingua(program, QStringLiteral("Gamma"), QStringLiteral("C"));
    FormMenu& menu = apriMenu(program);

    // Every language that became current, as the translations' event
    // processing sees it.
    QStringList correnti;
    QTimer sonda;
    QObject::connect(&sonda, &QTimer::timeout, [&] {
        const QString lingua = modLanguageSupport::CurrentLanguage();
        if (correnti.isEmpty() || correnti.back() != lingua)
            correnti << lingua;
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
    QVERIFY2(!correnti.contains(QStringLiteral("Beta")), qPrintable(correnti.join(u',')));
    QVERIFY(correnti.contains(QStringLiteral("Alfa")));
    QCOMPARE(modLanguageSupport::CurrentLanguage(), QStringLiteral("Gamma"));
    QCOMPARE(spuntata(menu), 2);
    QCOMPARE(didascalia(menu, "Label3"), QStringLiteral("C"));
    QCOMPARE(linguaSalvata(), QStringLiteral("Gamma"));
}

void LanguageMenuTest::levelClickDuringAPickWaitsForIt()
{
    TestProgram program;
    inglese(program);
    FormMenu& menu = apriMenu(program);

    bool esercizioDuranteLaScelta = true;
    QTimer::singleShot(0, &menu, [&] {
        QTest::mouseClick(menu.control(QStringLiteral("Command2")).widget(), Qt::LeftButton);
        esercizioDuranteLaScelta = program.find(QStringLiteral("Form1")) != nullptr;
    });
    scegli(menu, 0);

    QVERIFY(!esercizioDuranteLaScelta);
    QVERIFY(program.find(QStringLiteral("Form1")));
    QVERIFY(!program.find(kMenu));
    QCOMPARE(int(m_livelloAllaCreazione), 38);
    QCOMPARE(linguaSalvata(), QStringLiteral("English"));
}

void LanguageMenuTest::exitClickDuringAPickWaitsForIt()
{
    TestProgram program;
    inglese(program);
    FormMenu& menu = apriMenu(program);

    std::size_t domandeDuranteLaScelta = 1;
    QTimer::singleShot(0, &menu, [&] {
        QTest::mouseClick(menu.control(QStringLiteral("Command1")).widget(), Qt::LeftButton);
        domandeDuranteLaScelta = program.messages().size();
    });
    program.answerNext(forms::MsgBoxResult::No);
    scegli(menu, 0);

    QCOMPARE(domandeDuranteLaScelta, std::size_t(0));
    QCOMPARE(program.messages().size(), std::size_t(1));
    // The question comes in the language just picked.
    QCOMPARE(program.messages().front().text, QStringLiteral("Do you really want to quit Tavendel?"));
    QCOMPARE(program.endRequests(), 0);
    QCOMPARE(program.find(kMenu), &menu);
}

QTEST_MAIN(LanguageMenuTest)
#include "LanguageMenuTest.moc"
