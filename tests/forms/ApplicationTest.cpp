// The loaded forms and the moves between them, the end of the program,
// message boxes and the one random generator.

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/MessageBox.h"
#include "forms/Random.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

using forms::Form, forms::MsgBoxButtons, forms::MsgBoxIcon, forms::MsgBoxResult;

namespace {

forms::Application& app() { return forms::Application::instance(); }

// Every Load and Activate of the test forms, and whether the window was on screen.
QStringList journal;
const QStringList kShownAfresh{"FormDue Load hidden", "FormDue Activate shown"};

struct FormDiario : forms::Form
{
    FormDiario(const QString& name, std::function<void(forms::Form&)> duringLoad)
        : forms::Form({.name = name, .clientWidth = 3000, .clientHeight = 2000}), duringLoad(std::move(duringLoad)) {}
    void onLoad() override { note("Load"); duringLoad(*this); }
    void onActivate() override { note("Activate"); }
    void note(const char* event) { journal << name() + ' ' + event + (window()->isVisible() ? " shown" : " hidden"); }
    std::function<void(forms::Form&)> duringLoad;
};

void registerForm(const QString& name, std::function<void(forms::Form&)> duringLoad = [](forms::Form&) {})
{
    app().registerForm(name, [=] { return std::make_unique<FormDiario>(name, duringLoad); });
}

} // namespace

class ApplicationTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const char* name : {"FormUno", "FormDue", "FormTre"})
            registerForm(QString::fromLatin1(name));
        journal.clear();
    }
    void cleanup() { app().unloadAll(); }

    void showLoadsOnceAndUnloadDropsTheForm()
    {
        QPointer<forms::Form> first = &app().show(QStringLiteral("FormDue"));
        QCOMPARE(&app().show(QStringLiteral("formdue")), first.data()); // loaded: no second Load
        app().unload(*first);
        QVERIFY(first && first->isUnloaded() && !first->window()->isVisible() && app().loadedForms().empty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // once the running event is over
        QVERIFY(!first);
        app().show(QStringLiteral("FormDue"));
        QCOMPARE(journal, kShownAfresh + kShownAfresh);
    }

    // Pending events run while a form loads (a translation lets them): the
    // target may be unloaded, or the form being left clicked once more.
    void switchTo()
    {
        // What the target does in its Load, and the one form loaded after the move: the target shown, then
        // the form left; the target unloaded in its Load, so the form stays; a second move away ignored.
        using DuringLoad = void (*)(Form& target, Form& from);
        const std::tuple<DuringLoad, QStringList, QString> rows[] = {
            {[](Form&, Form&) {}, kShownAfresh, "FormDue"},
            {[](Form& target, Form&) { app().unload(target); }, {"FormDue Load hidden"}, "FormUno"},
            {[](Form&, Form& from) { app().switchTo(QStringLiteral("FormTre"), from); }, kShownAfresh, "FormDue"}};
        for (const auto& [duringLoad, events, loaded] : rows) {
            forms::Form& from = app().show(QStringLiteral("FormUno"));
            bool fromLoaded = false; // while the target loads
            registerForm(QStringLiteral("FormDue"), [&, duringLoad = duringLoad](forms::Form& self) {
                fromLoaded = app().find(QStringLiteral("FormUno"));
                duringLoad(self, from);
            });
            journal.clear();
            forms::Form* target = app().switchTo(QStringLiteral("FormDue"), from);
            QCOMPARE(std::tuple(fromLoaded, journal, app().loadedForms(), bool(target), from.window()->isVisible()),
                     std::tuple(true, events, std::vector{app().find(loaded)}, loaded == "FormDue",
                                loaded == "FormUno"));
            app().unloadAll();
        }
    }

    // Without a test's own handler the end leaves the event loop at once,
    // and no form's events run after it.
    void endLeavesTheEventLoop()
    {
        app().setEndHandler({});
        forms::Form& form = app().show(QStringLiteral("FormUno"));
        QTimer::singleShot(0, [] { app().end(); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(form.isUnloaded() && !form.window()->isVisible());
    }

    // Texts from language files are never rendered as markup; closing a
    // question counts as No.
    void realMessageBoxes()
    {
        using Box = QMessageBox;
        const QString markup = QStringLiteral("<b>Esci?</b>");
        const std::tuple<MsgBoxButtons, MsgBoxIcon, Box::StandardButtons, Box::Icon, MsgBoxResult> rows[] = {
            {MsgBoxButtons::YesNo, MsgBoxIcon::Question, Box::Yes | Box::No, Box::Question, MsgBoxResult::No},
            {MsgBoxButtons::OkOnly, MsgBoxIcon::Information, Box::Ok, Box::Information, MsgBoxResult::Ok}};
        for (const auto& [buttons, icon, qtButtons, qtIcon, closed] : rows) {
            std::tuple<QString, QString, Box::Icon, Box::StandardButtons, Qt::TextFormat> shown;
            QTimer::singleShot(0, [&shown] {
                auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
                shown = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->textFormat()};
                QTest::keyClick(box, Qt::Key_Escape);
            });
            QCOMPARE(forms::msgBox({QStringLiteral("Tavendel"), markup, buttons, icon}), closed);
            QCOMPARE(shown, std::tuple(QStringLiteral("Tavendel"), markup, qtIcon, qtButtons, Qt::PlainText));
        }
    }

    // The draws' range and their replay from a seed are checked by the
    // colours' distribution (ColoriSuoniTest).
    void seedsAndScriptedDraws()
    {
        const auto firstDraw = [](std::uint64_t seed) { return forms::randomize(seed), forms::rnd(); };
        QVERIFY(firstDraw(0) != firstDraw(std::uint64_t(1) << 32)); // the seed's high half counts too
        const float fromSeedZero = firstDraw(0);
        forms::randomize(0);
        forms::randomizeFromClock(); // every run of the program draws anew
        QVERIFY(forms::rnd() != fromSeedZero);
        // Scripted draws come first; a draw of 1 (none ever is) still gives a valid index.
        forms::scriptDraws({0.5f, 1.0f});
        QCOMPARE((std::pair{forms::randomIndex(7), forms::randomIndex(7)}), (std::pair{3, 6}));
    }
};

QTEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
