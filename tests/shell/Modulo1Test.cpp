// The procedures several forms share: the About message, the two
// confirmations and the key upper-casing.

#include "TestProgram.h"

#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "language/modLanguageSupport.h"
#include "shell/FormTavendel.h"
#include "shell/Modulo1.h"
#include "shell/SharedState.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kHyphens(23, QLatin1Char('-'));

// A language file whose [Strings] hold just these entries.
void installLanguage(TestProgram& program, const QByteArray& strings)
{
    program.writeFile(QStringLiteral("Prova.lng"), "[Strings]\r\n" + strings);
    modLanguageSupport::setCurrentLanguage(QStringLiteral("Prova"));
}

QString authorBlock()
{
    TestProgram program;
    installLanguage(program, QByteArray());
    return Modulo1::TestoInformazioni();
}

} // namespace

class Modulo1Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void authorBlockNamesNoInventedPerson();
    void aboutText_data();
    void aboutText();
    void aboutBoxIsAnInformation();
    void maiuscolo_data();
    void maiuscolo();
    void confermaUscitaNoChangesNothing();
    void confermaUscitaYesReleasesTheFitterAndEnds();
    void tornaAlMenu_data();
    void tornaAlMenu();
};

void Modulo1Test::initTestCase()
{
    RegistraForme();
    // A form of the program's kind, with no language menu or exercise of its own.
    forms::Application::instance().registerForm(QStringLiteral("FormEsercizio"), [] {
        return std::make_unique<FormTavendel>(
            forms::FormSpec{.name = QStringLiteral("FormEsercizio"), .clientWidth = 3000, .clientHeight = 2000});
    });
}

void Modulo1Test::authorBlockNamesNoInventedPerson()
{
    const QStringList lines = authorBlock().split(kCrLf);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].endsWith(QStringLiteral("  ")));
    QVERIFY(lines[0].startsWith(QStringLiteral("Tavendel")));
    QCOMPARE(lines[1], QLatin1Char(' ') + kHyphens + QLatin1Char(' '));
    QVERIFY(lines[2].contains(QStringLiteral("README")));
    QVERIFY(lines[2].contains(QStringLiteral("LICENSE")));
    QVERIFY(lines[3].startsWith(QStringLiteral("mail: ")));
    // No web address, no e-mail address.
    QVERIFY(!authorBlock().contains(QRegularExpression(QStringLiteral("@|https?:|www\\.|\\.(com|org|net|it)\\b"))));
}

void Modulo1Test::aboutText_data()
{
    QTest::addColumn<QByteArray>("strings");
    QTest::addColumn<QString>("lines"); // what follows the author block

    QTest::newRow("9996 and 9998 only")
        << QByteArray("9996=\"Primo\"\r\n9997=\"\"\r\n9998=\"Terzo\"\r\n")
        << kCrLf + kHyphens + kCrLf + "Primo" + kCrLf + "Terzo" + kCrLf;
    QTest::newRow("all four, in their order")
        << QByteArray("9999=\"D\"\r\n9998=\"C\"\r\n9997=\"B\"\r\n9996=\"A\"\r\n")
        << kCrLf + kHyphens + kCrLf + "A" + kCrLf + "B" + kCrLf + "C" + kCrLf + "D" + kCrLf;
    QTest::newRow("all empty: the author block alone")
        << QByteArray("9996=\"\"\r\n9997=\"\"\r\n") << QString();
    QTest::newRow("other ids do not count") << QByteArray("0001=\"Esci?\"\r\n9995=\"x\"\r\n") << QString();
}

void Modulo1Test::aboutText()
{
    QFETCH(QByteArray, strings);
    QFETCH(QString, lines);
    const QString author = authorBlock();

    TestProgram program;
    installLanguage(program, strings);
    QCOMPARE(Modulo1::TestoInformazioni(), author + lines);
}

void Modulo1Test::aboutBoxIsAnInformation()
{
    TestProgram program;
    installLanguage(program, "9996=\"Primo\"\r\n");
    Modulo1::MostraInformazioni();
    QCOMPARE(program.messages().size(), std::size_t(1));
    const forms::MsgBoxRequest& box = program.messages().front();
    QCOMPARE(box.title, QStringLiteral("Tavendel"));
    QCOMPARE(box.text, Modulo1::TestoInformazioni());
    QCOMPARE(box.buttons, forms::MsgBoxButtons::OkOnly);
    QCOMPARE(box.icon, forms::MsgBoxIcon::Information);
}

void Modulo1Test::maiuscolo_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");

    QTest::newRow("a") << 97 << 65;
    QTest::newRow("z") << 122 << 90;
    QTest::newRow("m") << int('m') << int('M');
    QTest::newRow("backquote, below a") << 96 << 96;
    QTest::newRow("brace, above z") << 123 << 123;
    QTest::newRow("A stays") << 65 << 65;
    QTest::newRow("Backspace") << 8 << 8;
    QTest::newRow("Enter") << 13 << 13;
    QTest::newRow("a small accented letter") << 0xE0 << 0xE0;
}

void Modulo1Test::maiuscolo()
{
    QFETCH(int, key);
    QFETCH(int, result);
    int code = key;
    QCOMPARE(Modulo1::Maiuscolo(code), result);
    QCOMPARE(code, result); // in the caller's variable too
}

void Modulo1Test::confermaUscitaNoChangesNothing()
{
    TestProgram program;
    installLanguage(program, "0001=\"Vuoi uscire?\"\r\n");
    Stato().setObjResize(std::make_unique<clsResize>());
    program.answerNext(forms::MsgBoxResult::No);

    Modulo1::ConfermaUscita();

    QCOMPARE(program.endRequests(), 0);
    QVERIFY(Stato().objResize());
    QCOMPARE(program.messages().size(), std::size_t(1));
    const forms::MsgBoxRequest& box = program.messages().front();
    QCOMPARE(box.title, QStringLiteral("Tavendel"));
    QCOMPARE(box.text, QStringLiteral("Vuoi uscire?"));
    QCOMPARE(box.buttons, forms::MsgBoxButtons::YesNo);
    QCOMPARE(box.icon, forms::MsgBoxIcon::Question);
}

void Modulo1Test::confermaUscitaYesReleasesTheFitterAndEnds()
{
    TestProgram program;
    program.show(QStringLiteral("FormEsercizio"));
    QVERIFY(Stato().objResize());
    bool releasedBeforeTheEnd = false;
    forms::Application::instance().setEndHandler([&] { releasedBeforeTheEnd = !Stato().objResize(); });

    Modulo1::ConfermaUscita(); // Yes

    QVERIFY(releasedBeforeTheEnd);
    QCOMPARE(program.messages().size(), std::size_t(1));
    QVERIFY(program.messages().front().text.isEmpty()); // no language file: an empty question
}

void Modulo1Test::tornaAlMenu_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No: the exercise goes on") << false;
    QTest::newRow("Yes: back to the menu") << true;
}

void Modulo1Test::tornaAlMenu()
{
    QFETCH(bool, yes);
    TestProgram program;
    installLanguage(program, "0003=\"Torni al menu?\"\r\n");
    forms::Form& esercizio = program.show(QStringLiteral("FormEsercizio"));
    program.answerNext(yes ? forms::MsgBoxResult::Yes : forms::MsgBoxResult::No);

    Modulo1::TornaAlMenu(esercizio);

    QCOMPARE(program.messages().back().text, QStringLiteral("Torni al menu?"));
    QCOMPARE(program.messages().back().buttons, forms::MsgBoxButtons::YesNo);
    QCOMPARE(esercizio.isUnloaded(), yes);
    QCOMPARE(bool(program.find(QStringLiteral("FormMenu"))), yes);
}

QTEST_MAIN(Modulo1Test)
#include "Modulo1Test.moc"
