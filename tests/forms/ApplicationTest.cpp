// The loaded forms and the moves between them, message boxes and the one
// random generator.

#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/MessageBox.h"
#include "forms/Random.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

forms::Application& app() { return forms::Application::instance(); }

// Every event of every test form, and whether its window was on screen.
QStringList journal;

class FormDiario : public forms::Form
{
public:
    explicit FormDiario(const QString& name)
        : forms::Form({.name = name, .clientWidth = 3000, .clientHeight = 2000}) {}
    std::function<void(forms::Form&)> duringLoad;

protected:
    void onLoad() override
    {
        note(QStringLiteral("Load"));
        if (duringLoad)
            duringLoad(*this);
    }
    void onActivate() override { note(QStringLiteral("Activate")); }

private:
    void note(const QString& event)
    {
        journal << QStringLiteral("%1 %2 %3").arg(name(), event, window()->isVisible() ? "shown" : "hidden");
    }
};

void registerForm(const QString& name, std::function<void(forms::Form&)> duringLoad = {})
{
    app().registerForm(name, [name, duringLoad] {
        auto form = std::make_unique<FormDiario>(name);
        form->duringLoad = duringLoad;
        return form;
    });
}

const QStringList kShownAfresh{"FormDue Load hidden", "FormDue Activate shown"};

enum class DuringLoad { Nothing, UnloadItself, LeaveTheFormAgain };

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
        QCOMPARE(&app().show(QStringLiteral("FormDue")), first.data()); // loaded: no second Load
        QCOMPARE(journal, kShownAfresh);
        QCOMPARE(app().find(QStringLiteral("formdue")), first.data());

        app().unload(*first);
        QVERIFY(first && first->isUnloaded()); // destroyed only once the running event is over
        QVERIFY(!first->window()->isVisible());
        QVERIFY(app().loadedForms().empty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);

        journal.clear();
        app().show(QStringLiteral("FormDue"));
        QCOMPARE(journal, kShownAfresh);
    }

    // Pending events run while a form loads (a translation lets them): the
    // target may be unloaded, or the form being left clicked once more.
    void switchTo_data()
    {
        QTest::addColumn<DuringLoad>("duringLoad");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("loaded"); // the one form loaded after the move

        QTest::newRow("target shown, then the form left") << DuringLoad::Nothing << kShownAfresh << "FormDue";
        QTest::newRow("target unloaded in its Load: the form stays")
            << DuringLoad::UnloadItself << QStringList{"FormDue Load hidden"} << "FormUno";
        QTest::newRow("a second move away is ignored") << DuringLoad::LeaveTheFormAgain << kShownAfresh << "FormDue";
    }
    void switchTo()
    {
        QFETCH(DuringLoad, duringLoad);
        QFETCH(QStringList, events);
        QFETCH(QString, loaded);

        forms::Form& from = app().show(QStringLiteral("FormUno"));
        bool fromLoadedMeanwhile = false;
        registerForm(QStringLiteral("FormDue"), [&](forms::Form& self) {
            fromLoadedMeanwhile = app().find(QStringLiteral("FormUno"));
            if (duringLoad == DuringLoad::UnloadItself)
                app().unload(self);
            else if (duringLoad == DuringLoad::LeaveTheFormAgain)
                app().switchTo(QStringLiteral("FormTre"), from);
        });
        journal.clear();

        forms::Form* target = app().switchTo(QStringLiteral("FormDue"), from);

        QVERIFY(fromLoadedMeanwhile);
        QCOMPARE(journal, events);
        QCOMPARE(app().loadedForms(), std::vector<forms::Form*>{app().find(loaded)});
        QCOMPARE(target != nullptr, loaded == "FormDue");
        QCOMPARE(from.window()->isVisible(), loaded == "FormUno");
    }

    void realMessageBoxClosedCountsAsNo()
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            shown = box != nullptr;
            QVERIFY(shown);
            QTest::keyClick(box, Qt::Key_Escape); // first, so that a failed check leaves no box open
            QCOMPARE(box->windowTitle(), QStringLiteral("Tavendel"));
            QCOMPARE(box->icon(), QMessageBox::Question);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            // Texts from language files are never rendered as markup.
            QCOMPARE(box->textFormat(), Qt::PlainText);
        });
        QCOMPARE(forms::msgBox({QStringLiteral("Tavendel"), QStringLiteral("<b>Esci?</b>"),
                                forms::MsgBoxButtons::YesNo, forms::MsgBoxIcon::Question}),
                 forms::MsgBoxResult::No);
        QVERIFY(shown);
    }

    void rndCoversZeroToOneAndASeedReplays()
    {
        const auto draws = [](std::uint64_t seed, int count) {
            forms::randomize(seed);
            std::vector<float> values(count);
            std::generate(values.begin(), values.end(), forms::rnd);
            return values;
        };
        const std::vector<float> many = draws(20030907, 200000);
        const auto [lowest, highest] = std::minmax_element(many.begin(), many.end());
        QVERIFY(*lowest >= 0.0f && *lowest < 0.001f);
        QVERIFY(*highest < 1.0f && *highest > 0.999f);

        QCOMPARE(draws(42, 16), draws(42, 16));
        QVERIFY(draws(42, 16) != draws(43, 16));
        QVERIFY(draws(1, 16) != draws(std::uint64_t(1) << 32, 16)); // the seed's high half counts too
    }
};

QTEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
