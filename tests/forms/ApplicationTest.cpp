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

#include <functional>

namespace {

QStringList& journal()
{
    static QStringList steps;
    return steps;
}

// Writes down its events, and whether its window was on screen at each.
class FormDiario : public forms::Form
{
public:
    explicit FormDiario(const QString& name)
        : forms::Form({.name = name, .clientWidth = 3000, .clientHeight = 2000})
    {}

    std::function<void()> duringLoad;

protected:
    void onLoad() override
    {
        note(QStringLiteral("Load"));
        if (duringLoad)
            duringLoad();
    }
    void onActivate() override { note(QStringLiteral("Activate")); }

private:
    void note(const QString& event)
    {
        journal() << QStringLiteral("%1 %2 %3").arg(name(), event,
                                                     window()->isVisible() ? "shown" : "hidden");
    }
};

forms::Application& app()
{
    return forms::Application::instance();
}

} // namespace

class ApplicationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerPlainForms(); }
    void init() { journal().clear(); }
    void cleanup()
    {
        app().unloadAll();
        registerPlainForms();
    }

    void showLoadsThenShowsThenActivates();
    void showingALoadedFormLoadsNothing();
    void unloadDropsTheFormAndAShowLoadsAfresh();
    void switchToShowsTheTargetBeforeUnloading();
    void aFormUnloadedDuringItsLoadIsNotShown();
    void aFormBeingLeftStartsNoOtherMove();
    void endGoesThroughTheSeam();
    void scriptedMessageBoxes();
    void realMessageBoxClosedCountsAsNo();
    void rndStaysWithinZeroAndOne();
    void aSeedReplaysTheSameDraws();

private:
    static void registerPlainForms();
};

void ApplicationTest::registerPlainForms()
{
    for (const char* name : {"FormUno", "FormDue", "FormTre"})
        app().registerForm(QString::fromLatin1(name), [name] {
            return std::make_unique<FormDiario>(QString::fromLatin1(name));
        });
}

void ApplicationTest::showLoadsThenShowsThenActivates()
{
    forms::Form& form = app().show(QStringLiteral("FormUno"));
    QCOMPARE(journal(), QStringList({"FormUno Load hidden", "FormUno Activate shown"}));
    QCOMPARE(app().find(QStringLiteral("formuno")), &form);
    QCOMPARE(app().loadedForms(), std::vector<forms::Form*>{&form});
}

void ApplicationTest::showingALoadedFormLoadsNothing()
{
    forms::Form& first = app().show(QStringLiteral("FormUno"));
    journal().clear();
    QCOMPARE(&app().show(QStringLiteral("FormUno")), &first);
    QVERIFY(journal().isEmpty());
}

void ApplicationTest::unloadDropsTheFormAndAShowLoadsAfresh()
{
    QPointer<forms::Form> first = &app().show(QStringLiteral("FormUno"));
    app().unload(*first);

    QVERIFY(first); // destroyed only once the running event is over
    QVERIFY(first->isUnloaded());
    QVERIFY(!first->window()->isVisible());
    QCOMPARE(app().find(QStringLiteral("FormUno")), nullptr);
    QVERIFY(app().loadedForms().empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!first);

    journal().clear();
    forms::Form& second = app().show(QStringLiteral("FormUno"));
    QCOMPARE(journal(), QStringList({"FormUno Load hidden", "FormUno Activate shown"}));
    QVERIFY(!second.isUnloaded());
}

void ApplicationTest::switchToShowsTheTargetBeforeUnloading()
{
    forms::Form& from = app().show(QStringLiteral("FormUno"));
    bool fromLoadedDuringTargetsLoad = false;
    app().registerForm(QStringLiteral("FormDue"), [&] {
        auto form = std::make_unique<FormDiario>(QStringLiteral("FormDue"));
        form->duringLoad = [&] { fromLoadedDuringTargetsLoad = app().find(QStringLiteral("FormUno")); };
        return form;
    });
    journal().clear();

    forms::Form* target = app().switchTo(QStringLiteral("FormDue"), from);

    QVERIFY(fromLoadedDuringTargetsLoad);
    QCOMPARE(journal(), QStringList({"FormDue Load hidden", "FormDue Activate shown"}));
    QVERIFY(from.isUnloaded());
    QCOMPARE(app().loadedForms(), std::vector<forms::Form*>{target});
}

void ApplicationTest::aFormUnloadedDuringItsLoadIsNotShown()
{
    app().registerForm(QStringLiteral("FormDue"), [] {
        auto form = std::make_unique<FormDiario>(QStringLiteral("FormDue"));
        forms::Form* self = form.get();
        form->duringLoad = [self] { app().unload(*self); };
        return form;
    });

    forms::Form& form = app().show(QStringLiteral("FormDue"));

    QVERIFY(!form.window()->isVisible());
    QCOMPARE(journal(), QStringList({"FormDue Load hidden"}));
    QVERIFY(app().loadedForms().empty());

    // Moving to such a form keeps the form the pupil came from.
    forms::Form& from = app().show(QStringLiteral("FormUno"));
    QCOMPARE(app().switchTo(QStringLiteral("FormDue"), from), nullptr);
    QCOMPARE(app().loadedForms(), std::vector<forms::Form*>{&from});
    QVERIFY(from.window()->isVisible());
}

// Pending events run while a form loads (a translation lets them), so a
// second click on the form being left must not start a second move.
void ApplicationTest::aFormBeingLeftStartsNoOtherMove()
{
    forms::Form& from = app().show(QStringLiteral("FormUno"));
    app().registerForm(QStringLiteral("FormDue"), [&] {
        auto form = std::make_unique<FormDiario>(QStringLiteral("FormDue"));
        form->duringLoad = [&] { app().switchTo(QStringLiteral("FormTre"), from); };
        return form;
    });

    QVERIFY(app().switchTo(QStringLiteral("FormDue"), from));

    QCOMPARE(app().loadedForms().size(), std::size_t(1));
    QCOMPARE(app().loadedForms().front()->name(), QStringLiteral("FormDue"));
    QVERIFY(from.isUnloaded());
}

void ApplicationTest::endGoesThroughTheSeam()
{
    int ends = 0;
    app().setEndHandler([&] { ++ends; });
    app().end();
    app().setEndHandler({});
    QCOMPARE(ends, 1);
}

void ApplicationTest::scriptedMessageBoxes()
{
    std::vector<forms::MsgBoxRequest> asked;
    forms::setMsgBoxAnswerer([&](const forms::MsgBoxRequest& request) {
        asked.push_back(request);
        return forms::MsgBoxResult::No;
    });
    const auto answer = forms::msgBox({QStringLiteral("Tavendel"), QStringLiteral("Esci?"),
                                       forms::MsgBoxButtons::YesNo, forms::MsgBoxIcon::Question});
    forms::setMsgBoxAnswerer({});

    QCOMPARE(answer, forms::MsgBoxResult::No);
    QCOMPARE(asked.size(), std::size_t(1));
    QCOMPARE(asked[0].title, QStringLiteral("Tavendel"));
    QCOMPARE(asked[0].text, QStringLiteral("Esci?"));
    QCOMPARE(asked[0].buttons, forms::MsgBoxButtons::YesNo);
    QCOMPARE(asked[0].icon, forms::MsgBoxIcon::Question);
}

void ApplicationTest::realMessageBoxClosedCountsAsNo()
{
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const auto answer = forms::msgBox({QStringLiteral("Tavendel"), QStringLiteral("Esci?"),
                                       forms::MsgBoxButtons::YesNo, forms::MsgBoxIcon::Question});
    QCOMPARE(answer, forms::MsgBoxResult::No);
    QCOMPARE(title, QStringLiteral("Tavendel"));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No);
}

void ApplicationTest::rndStaysWithinZeroAndOne()
{
    forms::randomize(20030907);
    float lowest = 1;
    float highest = 0;
    for (int i = 0; i < 200000; ++i) {
        const float r = forms::rnd();
        QVERIFY(r >= 0.0f && r < 1.0f);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
    }
    QVERIFY(lowest < 0.001f);
    QVERIFY(highest > 0.999f);
}

void ApplicationTest::aSeedReplaysTheSameDraws()
{
    const auto draws = [](std::uint64_t seed) {
        forms::randomize(seed);
        std::vector<float> values;
        for (int i = 0; i < 16; ++i)
            values.push_back(forms::rnd());
        return values;
    };
    QCOMPARE(draws(42), draws(42));
    QVERIFY(draws(42) != draws(43));
    QVERIFY(draws(1) != draws(std::uint64_t(1) << 32)); // the seed's high half counts too
}

QTEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
