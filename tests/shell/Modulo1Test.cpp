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

using forms::MsgBoxButtons;
using forms::MsgBoxIcon;

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

void verifyOneBox(const TestProgram& program, const QString& text, MsgBoxButtons buttons, MsgBoxIcon icon)
{
    QCOMPARE(program.messages().size(), std::size_t(1));
    const forms::MsgBoxRequest& box = program.messages().front();
    QCOMPARE(box.title, QStringLiteral("Tavendel"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.icon, icon);
}

} // namespace

class Modulo1Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        RegistraForme();
        // A form of the program's kind, with no language menu or exercise of its own.
        forms::Application::instance().registerForm(QStringLiteral("FormEsercizio"), [] {
            return std::make_unique<FormTavendel>(
                forms::FormDesign{.name = QStringLiteral("FormEsercizio"), .clientWidth = 3000, .clientHeight = 2000});
        });
    }

    void authorBlockNamesNoInventedPerson()
    {
        const QStringList lines = authorBlock().split(kCrLf);
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith(QStringLiteral("Tavendel")) && lines[0].endsWith(QStringLiteral("  ")));
        QCOMPARE(lines[1], QLatin1Char(' ') + kHyphens + QLatin1Char(' '));
        QVERIFY(lines[2].contains(QStringLiteral("README")) && lines[2].contains(QStringLiteral("LICENSE")));
        QVERIFY(lines[3].startsWith(QStringLiteral("mail: ")));
        // No web address, no e-mail address.
        QVERIFY(!authorBlock().contains(QRegularExpression(QStringLiteral("@|https?:|www\\.|\\.(com|org|net|it)\\b"))));
    }

    void aboutBox_data()
    {
        QTest::addColumn<QByteArray>("strings");
        QTest::addColumn<QString>("lines"); // what follows the author block

        QTest::newRow("9996 and 9998 only") << QByteArray("9996=\"Primo\"\r\n9997=\"\"\r\n9998=\"Terzo\"\r\n")
                                            << kCrLf + kHyphens + kCrLf + "Primo" + kCrLf + "Terzo" + kCrLf;
        QTest::newRow("all four, in their order")
            << QByteArray("9999=\"D\"\r\n9998=\"C\"\r\n9997=\"B\"\r\n9996=\"A\"\r\n")
            << kCrLf + kHyphens + kCrLf + "A" + kCrLf + "B" + kCrLf + "C" + kCrLf + "D" + kCrLf;
        QTest::newRow("all empty: the author block alone") << QByteArray("9996=\"\"\r\n9997=\"\"\r\n") << QString();
        QTest::newRow("other ids do not count") << QByteArray("0001=\"Esci?\"\r\n9995=\"x\"\r\n") << QString();
    }
    void aboutBox()
    {
        QFETCH(QByteArray, strings);
        QFETCH(QString, lines);
        const QString author = authorBlock();

        TestProgram program;
        installLanguage(program, strings);
        Modulo1::MostraInformazioni();
        verifyOneBox(program, author + lines, MsgBoxButtons::OkOnly, MsgBoxIcon::Information);
    }

    void maiuscolo_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");

        QTest::newRow("a") << int('a') << int('A');
        QTest::newRow("z") << int('z') << int('Z');
        QTest::newRow("backquote, below a") << int('`') << int('`');
        QTest::newRow("brace, above z") << int('{') << int('{');
        QTest::newRow("A stays") << int('A') << int('A');
        QTest::newRow("Backspace") << 8 << 8;
        QTest::newRow("a small accented letter") << 0xE0 << 0xE0;
    }
    void maiuscolo()
    {
        QFETCH(int, key);
        QFETCH(int, result);
        int code = key;
        QCOMPARE(Modulo1::Maiuscolo(code), result);
        QCOMPARE(code, result); // in the caller's variable too
    }

    void confirmations_data()
    {
        QTest::addColumn<bool>("toTheMenu"); // TornaAlMenu, else ConfermaUscita
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArray>("strings"); // none: no language file at all
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("shownAfter");
        QTest::addColumn<bool>("ends");

        QTest::newRow("ConfermaUscita, No: nothing changes")
            << false << false << QByteArray("0001=\"Vuoi uscire?\"\r\n") << "Vuoi uscire?" << "FormEsercizio" << false;
        QTest::newRow("ConfermaUscita, Yes: the fitter goes, then the program")
            << false << true << QByteArray() << "" << "FormEsercizio" << true;
        QTest::newRow("TornaAlMenu, No: the exercise goes on")
            << true << false << QByteArray("0003=\"Torni al menu?\"\r\n") << "Torni al menu?" << "FormEsercizio" << false;
        QTest::newRow("TornaAlMenu, Yes: back to the menu")
            << true << true << QByteArray("0003=\"Torni al menu?\"\r\n") << "Torni al menu?" << "FormMenu" << false;
    }
    void confirmations()
    {
        QFETCH(bool, toTheMenu);
        QFETCH(bool, yes);
        QFETCH(QByteArray, strings);
        QFETCH(QString, question);
        QFETCH(QString, shownAfter);
        QFETCH(bool, ends);

        TestProgram program;
        if (!strings.isEmpty())
            installLanguage(program, strings);
        forms::Form& esercizio = program.show(QStringLiteral("FormEsercizio"));
        QList<bool> releasedAtEnd;
        forms::Application::instance().setEndHandler([&] { releasedAtEnd << !Stato().objResize(); });
        program.answerNext(yes ? forms::MsgBoxResult::Yes : forms::MsgBoxResult::No);

        toTheMenu ? Modulo1::TornaAlMenu(esercizio) : Modulo1::ConfermaUscita();

        verifyOneBox(program, question, MsgBoxButtons::YesNo, MsgBoxIcon::Question);
        QCOMPARE(releasedAtEnd, ends ? QList<bool>{true} : QList<bool>());
        QCOMPARE(bool(Stato().objResize()), !ends);
        QCOMPARE(forms::Application::instance().loadedForms().size(), std::size_t(1));
        QCOMPARE(forms::Application::instance().loadedForms().front()->name(), shownAfter);
    }
};

QTEST_MAIN(Modulo1Test)
#include "Modulo1Test.moc"
