// The forms as a pupil sees them, pixel by pixel: each form rendered
// offscreen at a fixed screen size, draw and state, and compared with the
// committed picture in reference/. A picture that differs is written into
// the test's working folder with an image of its differences; run the test
// with TAVENDEL_UPDATE_GOLDEN=1 to rewrite the references after an intended
// change of the look (then look at them before committing).

#include "tests/exercises/ExerciseDriver.h"

#include <QDir>
#include <QImage>

#include <functional>

namespace {

// Rendering is exact on one machine; the tolerance only absorbs rounding in
// antialiased edges.
constexpr int kChannelTolerance = 24;
constexpr int kPixelsAllowedToDiffer = 8;

// The pixels that differ beyond the tolerance, drawn red on pale grey.
int differences(const QImage& actual, const QImage& expected, QImage& marked)
{
    marked = QImage(actual.size(), QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb a = actual.pixel(x, y), b = expected.pixel(x, y);
            const bool differs = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                           std::abs(qBlue(a) - qBlue(b))}) > kChannelTolerance;
            differing += differs;
            marked.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(235, 235, 235));
        }
    return differing;
}

} // namespace

class GoldenImagesTest : public QObject
{
    Q_OBJECT

private slots:
    // A text box's cursor is drawn steadily, not blinking with the clock.
    void initTestCase() { QApplication::setCursorFlashTime(0); }

    void looks_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<std::function<void(ExerciseDriver&)>>("state");
        using State = std::function<void(ExerciseDriver&)>;
        QTest::newRow("splash") << "FormAvvio" << State(); // no state: the form just shown
        QTest::newRow("menu") << "FormMenu" << State();
        QTest::newRow("reading, question") << "Form1" << State([](ExerciseDriver& e) { e.openAt(3000, 1994); });
        QTest::newRow("reading, right with the hint") << "Form1" << State([](ExerciseDriver& e) {
            e.openAt(388, 349);
            e.answer(QStringLiteral("349"));
            QTest::mouseClick(e.control(QStringLiteral("Command1")).widget(), Qt::LeftButton);
        });
        QTest::newRow("writing, wrong") << "Form2" << State([](ExerciseDriver& e) {
            e.openAt(3000, 1994);
            e.answer(QStringLiteral("mcmxcv"));
        });
        QTest::newRow("matching, a card dragged") << "Form3" << State([](ExerciseDriver& e) {
            e.openAt(88, 1);
            QWidget* card = e.control(QStringLiteral("Label3"), 0).widget();
            QWidget* target = e.control(QStringLiteral("Label4"), 3).widget();
            const QPoint over = card->mapFromGlobal(target->mapToGlobal(target->rect().center()));
            QTest::mousePress(card, Qt::LeftButton, {}, card->rect().center());
            QTest::mouseMove(card, over);
        });
        QTest::newRow("matching, one matched, one picked up") << "Form3" << State([](ExerciseDriver& e) {
            e.openAt(3000, 1);
            QTest::mouseClick(e.control(QStringLiteral("Label3"), 0).widget(), Qt::LeftButton);
            QTest::mouseClick(e.control(QStringLiteral("Label4"), 0).widget(), Qt::LeftButton);
            QApplication::setActiveWindow(e.form().window());
            QWidget* next = e.control(QStringLiteral("Label3"), 1).widget();
            next->setFocus();
            QTest::keyClick(next, Qt::Key_Tab); // the keyboard moves the focus: it shows
            QTest::keyClick(e.form().window()->focusWidget(), Qt::Key_Space);
        });
    }

    void looks()
    {
        QFETCH(QString, form);
        QFETCH(std::function<void(ExerciseDriver&)>, state);
        ExerciseDriver exercise(form, 20030907, QSize(800, 600));
        for (const char* asset : {"Italiano.lng", "LangSetting.ini"})
            exercise.program().installAsset(QString::fromLatin1(asset));
        state ? state(exercise) : void(exercise.program().show(form));
        TestProgram::settle();

        const QImage actual = exercise.form().window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(QRegularExpression("[^a-z]+"), "-");
        const QString reference = QStringLiteral(TAVENDEL_GOLDEN_DIR "/%1.png").arg(name);
        if (qEnvironmentVariableIntValue("TAVENDEL_UPDATE_GOLDEN")) {
            QVERIFY(actual.save(reference));
            QSKIP("reference rewritten");
        }
        const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!expected.isNull(), qPrintable(QStringLiteral("no reference %1").arg(reference)));
        QCOMPARE(actual.size(), expected.size());
        QImage marked;
        const int differing = differences(actual, expected, marked);
        if (differing > kPixelsAllowedToDiffer) {
            actual.save(QDir::current().filePath(name + QStringLiteral(".actual.png")));
            marked.save(QDir::current().filePath(name + QStringLiteral(".diff.png")));
        }
        QVERIFY2(differing <= kPixelsAllowedToDiffer,
                 qPrintable(QStringLiteral("%1 pixels differ; see %2.diff.png in %3")
                                .arg(differing).arg(name, QDir::currentPath())));
    }
};

QTEST_MAIN(GoldenImagesTest)
#include "GoldenImagesTest.moc"
