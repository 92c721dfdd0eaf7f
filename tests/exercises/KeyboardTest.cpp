// Every exercise from start to end with the keyboard alone: from the menu's
// level button, through answers and next questions (typing and Enter, or
// picking cards up and putting them down with Space), back to the menu by
// the exit entry's access key.

#include "ExerciseDriver.h"

#include "app/RegistroForme.h"
#include "forms/Application.h"
#include "forms/Control.h"

#include <QApplication>
#include <QTest>

namespace {

QString focused()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    TestProgram::settle();
}

// Tab from wherever the focus is until it reaches a widget so named
// (or whose name begins so, for "Label3(").
bool tabTo(const QString& name, bool enabledOnly = false)
{
    const auto reached = [&] {
        return focused().startsWith(name) && (!enabledOnly || QApplication::focusWidget()->isEnabled());
    };
    for (int presses = 0; presses < 40 && !reached(); ++presses)
        press(Qt::Key_Tab);
    return reached();
}

// The window a window manager makes active when it appears.
void activate(const forms::Form& form)
{
    QApplication::setActiveWindow(form.window());
    QVERIFY(QTest::qWaitForWindowActive(form.window()));
}

} // namespace

class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void everyExerciseFromTheMenuAndBack_data()
    {
        QTest::addColumn<QString>("exercise");
        QTest::addColumn<QString>("button"); // its level 38 on the menu
        QTest::newRow("reading") << "Form1" << "Command2";
        QTest::newRow("writing") << "Form2" << "Command10";
        QTest::newRow("matching") << "Form3" << "Command13";
    }

    void everyExerciseFromTheMenuAndBack()
    {
        QFETCH(QString, exercise);
        QFETCH(QString, button);
        ExerciseDriver driver(exercise);
        activate(driver.program().show(QStringLiteral("FormMenu")));
        QVERIFY(tabTo(button));
        press(Qt::Key_Space);
        QVERIFY(driver.program().find(exercise));
        activate(driver.form());

        if (exercise == QLatin1String("Form3")) {
            // Each card onto its value, two rounds; "avanti" takes the focus
            // when a round is complete.
            for (int round = 0; round < 2; ++round) {
                for (int pair = 0; pair < 7; ++pair) {
                    QVERIFY(tabTo(QStringLiteral("Label3("), true));
                    const QString value = focused().replace(QLatin1String("Label3"), QLatin1String("Label4"));
                    press(Qt::Key_Space);
                    QVERIFY(tabTo(value));
                    press(Qt::Key_Space);
                }
                QCOMPARE(focused(), QStringLiteral("BottoneAvanti"));
                press(Qt::Key_Return);
            }
        } else {
            for (int question = 0; question < 3; ++question) {
                QVERIFY(focused() == QLatin1String("Text1") || tabTo(QStringLiteral("Text1")));
                if (exercise == QLatin1String("Form1") && question == 0) {
                    // The hint from its button, and back to the answer.
                    QVERIFY(tabTo(QStringLiteral("Command1")));
                    press(Qt::Key_Space);
                    QCOMPARE(driver.hint(), QStringLiteral("used"));
                    QCOMPARE(focused(), QStringLiteral("Text1"));
                }
                QTest::keyClicks(QApplication::focusWidget(), driver.rightAnswer());
                press(Qt::Key_Return);
                QCOMPARE(focused(), QStringLiteral("BottoneAvanti"));
                press(Qt::Key_Return);
            }
        }
        QCOMPARE(driver.counts(), exercise == QLatin1String("Form3") ? QStringLiteral(" 14/0") : QStringLiteral(" 3/0"));

        press(Qt::Key_E, Qt::AltModifier); // "&Esci", and Yes
        QVERIFY(!driver.program().find(exercise));
        QVERIFY(driver.program().find(QStringLiteral("FormMenu")));
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
