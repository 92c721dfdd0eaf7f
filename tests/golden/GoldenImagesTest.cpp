// The forms as a pupil sees them, pixel by pixel: each form rendered
// offscreen at a fixed screen size, draw and state, and compared with the
// committed picture in reference/. A picture that differs is written into
// the test's working folder with an image of its differences; run the test
// with TAVENDEL_UPDATE_GOLDEN=1 to rewrite the references after an intended
// change of the look (then look at them before committing).

#include "tests/exercises/ExerciseDriver.h"

#include "app/FormAvvio.h"
#include "app/FormMenu.h"
#include "exercises/Form1.h"
#include "exercises/Form2.h"
#include "exercises/Form3.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <functional>

namespace {

// Rendering is exact on one machine; the tolerance only absorbs rounding in
// antialiased edges: a channel may be that far off in that many pixels.
constexpr int kChannelTolerance = 24, kPixelsAllowedToDiffer = 8;

// How many pixels differ beyond the tolerance, and a picture of them: red on pale grey.
std::pair<int, QImage> differences(const QImage& actual, const QImage& expected)
{
    QImage marked(actual.size(), QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), b = expected.pixel(x, y);
            const bool differs = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                           std::abs(qBlue(a) - qBlue(b))}) > kChannelTolerance;
            differing += differs;
            marked.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(235, 235, 235));
        }
    return {differing, marked};
}

// A design table as text, one control a line: what a picture rounds to
// pixels (a twip is a fifteenth of one at this size) or cannot show.
QString described(const forms::FormDesign& form)
{
    const auto font = [](const forms::FontDesign& f) { return QStringLiteral("%1/%2/%3").arg(f.family).arg(f.points).arg(f.bold); };
    const auto colour = [](std::optional<quint32> c) { return c ? QString::number(*c, 16) : QStringLiteral("-"); };
    QString text = QStringLiteral("%1 %2x%3 \"%4\" %5 %6 %7\n").arg(form.name).arg(form.clientWidth).arg(form.clientHeight)
                       .arg(form.caption, font(form.font)).arg(form.backColor, 0, 16).arg(form.icon);
    for (const forms::ControlDesign& c : form.controls)
        text += QStringList{c.name + QStringLiteral("(%1)").arg(c.index), QString::number(int(c.kind)), '"' + c.caption + '"',
                            font(c.font), QStringLiteral("%1,%2,%3,%4").arg(c.left).arg(c.top).arg(c.width).arg(c.height),
                            c.container, QString::number(int(c.alignment)), colour(c.backColor), colour(c.foreColor),
                            c.picture, c.pointer, QStringLiteral("tab%1").arg(c.tabIndex), c.tabs.join(u','),
                            QStringLiteral("%1%2%3%4%5%6%7%8%9").arg(c.transparent).arg(c.border).arg(c.enabled).arg(c.visible)
                                .arg(c.dragAutomatic).arg(c.autoSize).arg(c.focusable).arg(c.checked).arg(c.maxLength),
                            c.toolTip, c.accessibleName, c.accessibleDescription}.join(u'|') + u'\n';
    return text;
}

} // namespace

class GoldenImagesTest : public QObject
{
    Q_OBJECT

private slots:
    // A text box's cursor is drawn steadily, not blinking with the clock.
    void initTestCase() { QApplication::setCursorFlashTime(0); }

    // Every form's design table, exact: where the pictures round to pixels.
    void designs()
    {
        const QString actual = described(FormAvvio().decl()) + described(FormMenu().decl()) + described(Form1().decl())
                               + described(Form2().decl()) + described(Form3().decl());
        QFile reference(QStringLiteral(TAVENDEL_GOLDEN_DIR "/designs.txt"));
        if (qEnvironmentVariableIntValue("TAVENDEL_UPDATE_GOLDEN")) {
            QVERIFY(reference.open(QIODevice::WriteOnly) && reference.write(actual.toUtf8()) > 0);
            QSKIP("reference rewritten");
        }
        QVERIFY(reference.open(QIODevice::ReadOnly));
        QCOMPARE(actual.split(u'\n'), QString::fromUtf8(reference.readAll()).split(u'\n'));
    }

    void looks_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<std::function<void(ExerciseDriver&)>>("state");
        using State = std::function<void(ExerciseDriver&)>;
        QTest::newRow("splash") << "FormAvvio" << State(); // no state: the form just shown
        QTest::newRow("menu") << "FormMenu" << State();
        QTest::newRow("reading, question") << "Form1" << State([](ExerciseDriver& e) { e.open(3000, 1994); });
        QTest::newRow("reading, right with the hint") << "Form1" << State([](ExerciseDriver& e) {
            e.open(388, 349);
            e.answer(QStringLiteral("349"));
            e.click(QStringLiteral("Command1"));
        });
        QTest::newRow("writing, wrong") << "Form2" << State([](ExerciseDriver& e) {
            e.open(3000, 1994);
            e.answer(QStringLiteral("mcmxcv"));
        });
        QTest::newRow("matching, a card dragged") << "Form3" << State([](ExerciseDriver& e) {
            e.open(88, 1);
            QTest::mousePress(e.control(QStringLiteral("Label3"), 0).widget(), Qt::LeftButton); // at its centre
            QTest::mouseMove(e.control(QStringLiteral("Label4"), 3).widget()); // to the centre of a value
        });
        QTest::newRow("matching, picked up by a click, the next focused") << "Form3" << State([](ExerciseDriver& e) {
            e.open(38, 1);
            QTest::mouseClick(e.control(QStringLiteral("Label3"), 2).widget(), Qt::LeftButton); // no focus shown
            QApplication::setActiveWindow(e.form().window());
            QTest::keyClick(e.form().window()->focusWidget(), Qt::Key_Tab); // now shown, on the next card
        });
        QTest::newRow("matching, one matched, one picked up") << "Form3" << State([](ExerciseDriver& e) {
            e.open(3000, 1);
            QTest::mouseClick(e.control(QStringLiteral("Label3"), 0).widget(), Qt::LeftButton);
            QTest::mouseClick(e.control(QStringLiteral("Label4"), 0).widget(), Qt::LeftButton);
            QApplication::setActiveWindow(e.form().window());
            e.control(QStringLiteral("Label3"), 1).widget()->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // the keyboard moves the focus: it shows
            QTest::keyClick(e.form().window()->focusWidget(), Qt::Key_Space);
        });
    }

    void looks()
    {
        QFETCH(QString, form);
        QFETCH(std::function<void(ExerciseDriver&)>, state);
        ExerciseDriver exercise(form, 20030907, QSize(800, 600));
        for (const char* asset : {"Italiano.lng", "LangSetting.ini"})
            exercise.program.installAsset(QString::fromLatin1(asset));
        state ? state(exercise) : void(exercise.program.show(form));
        TestProgram::settle();

        const QImage actual = exercise.form().window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(QRegularExpression("[^a-z]+"), "-");
        const QString reference = QStringLiteral(TAVENDEL_GOLDEN_DIR "/%1.png").arg(name);
        if (qEnvironmentVariableIntValue("TAVENDEL_UPDATE_GOLDEN")) {
            QVERIFY(actual.save(reference));
            QSKIP("reference rewritten");
        }
        const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(expected.size() == actual.size(), qPrintable(reference)); // none there, or not of this size
        const auto [differing, marked] = differences(actual, expected);
        if (differing > kPixelsAllowedToDiffer) {
            actual.save(QDir::current().filePath(name + QStringLiteral(".actual.png")));
            marked.save(QDir::current().filePath(name + QStringLiteral(".diff.png")));
            QFAIL(qPrintable(QStringLiteral("%1 pixels differ; see %2.diff.png").arg(differing).arg(name)));
        }
    }
};

QTEST_MAIN(GoldenImagesTest)
#include "GoldenImagesTest.moc"
