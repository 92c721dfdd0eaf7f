// Translating a form from the current language file: which keys apply to
// which control, what an absent key or an empty value leaves, and a form
// that goes away while its translation lets events run.

#include "language/MLSTranslateForm.h"
#include "language/modLanguageSupport.h"

#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Places.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using forms::ControlKind;
using modLanguageSupport::MLSTranslateForm;
using modLanguageSupport::setCurrentLanguage;

namespace {

const QString kForm = QStringLiteral("FormProva");

forms::FormDesign designOfTheTestForm(const QString& caption = QStringLiteral("Titolo"))
{
    const auto label = [](const char* name, int index, const char* caption) {
        return forms::ControlDesign{.name = QString::fromLatin1(name), .kind = ControlKind::Label, .index = index,
                                  .caption = QString::fromLatin1(caption), .width = 900, .height = 300};
    };
    const auto menu = [](const char* name, int index, const char* caption, const QString& container) {
        return forms::ControlDesign{.name = QString::fromLatin1(name), .kind = ControlKind::Menu, .index = index,
                                  .caption = QString::fromLatin1(caption), .container = container};
    };
    return {.name = kForm, .clientWidth = 6000, .clientHeight = 4500, .caption = caption,
            .controls = {
                menu("mnuFile", -1, "File", {}),
                menu("mnuVoce", 0, "Voce 0", QStringLiteral("mnuFile")),
                menu("mnuVoce", 1, "Voce 1", QStringLiteral("mnuFile")),
                label("Label1", -1, "Uno"),
                label("Label3", 0, "Tre zero"),
                label("Label3", 1, "Tre uno"),
                label("Label3", 2, "Tre due"),
                {.name = QStringLiteral("Text1"), .kind = ControlKind::TextBox, .caption = QStringLiteral("12"),
                 .accessibleDescription = QStringLiteral("cifre")},
                {.name = QStringLiteral("TabStrip1"), .kind = ControlKind::TabStrip, .width = 3000, .height = 1500,
                 .tabs = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
                label("Label9", -1, "Ultima"),
            }};
}

const char kLanguageFile[] = R"([FormProva]
FormProva.ToolTipText="a form has none"
mnuFile.Caption="Datei"
mnuVoce(1).Caption="Zweiter"
mnuVoce(0).ToolTipText="menu items have none"
mnuVoce(0).AccessibleName="nor an accessible name"
Label1.Caption="One"
Label1.ToolTipText="The first"
Label1.Tag="@W,H"
Label1.AccessibleDescription="The first of all"
Label1(0).Caption="no array: never applies"
Label3.Caption="an array element needs its index"
Label3(1).Caption="Three one"
Label3(2).Caption=""
Text1.Caption="text boxes have none"
Text1.ToolTipText="Type here"
Text1.AccessibleName="Answer"
Text1.AccessibleDescription=""
TabStrip1.TabCaption(0)="First"
TabStrip1.TabCaption(2)="Third"
Label9.Caption="Last"

[FormAltro]
Label3(0).Caption="another form's section"
)";

// What a translation could change of the control's text.
QString captionOf(const forms::Control& control)
{
    if (control.kind() == ControlKind::TextBox)
        return control.text();
    if (control.kind() != ControlKind::TabStrip)
        return control.caption();
    QStringList tabs;
    for (int i = 0; i < control.get(QStringLiteral("Tabs")).toInt(); ++i)
        tabs << control.get(QStringLiteral("TabCaption"), i).toString();
    return tabs.join(u',');
}

// The form's caption and Tag, then every control's text, tooltip, Tag and,
// where it has them, accessible name and description.
QStringList stateOf(const forms::Form& form)
{
    QStringList state{form.caption() + u'|' + form.tag()};
    for (const forms::Control* each : form.controls()) {
        const auto property = [each](const char* name) {
            const QString property = QString::fromLatin1(name);
            return each->has(property) ? each->get(property).toString() : QString();
        };
        state << QStringLiteral("%1(%2) %3|%4|%5").arg(each->name()).arg(each->decl().index)
                     .arg(captionOf(*each), property("ToolTipText"), each->tag())
                     + (each->isMenu() ? QString()
                                       : u'|' + property("AccessibleName") + u'|' + property("AccessibleDescription"));
    }
    return state;
}

} // namespace

class TranslateFormTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    std::unique_ptr<forms::Form> m_form;

    void writeLanguage(const QString& language, const QByteArray& text)
    {
        QFile file(m_folder.filePath(language + QStringLiteral(".lng")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(text), text.size());
    }

    void useNewForm(const QString& caption = QStringLiteral("Titolo"))
    {
        m_form = std::make_unique<forms::Form>(designOfTheTestForm(caption));
        m_form->setTag(QStringLiteral("before"));
    }

private slots:
    void initTestCase()
    {
        forms::setAppPath(m_folder.path());
        writeLanguage(QStringLiteral("Deutsch"), kLanguageFile);
    }
    void cleanupTestCase() { forms::setAppPath(QString()); }
    void init()
    {
        setCurrentLanguage(QStringLiteral("Deutsch"));
        useNewForm();
    }
    void cleanup()
    {
        m_form.reset();
        forms::Application::instance().unloadAll();
        setCurrentLanguage(QString());
    }

    void everyControlTakesOnlyItsOwnKeys()
    {
        MLSTranslateForm(*m_form);
        QCOMPARE(stateOf(*m_form), QStringList({
            "|",                              // no caption or Tag key: both emptied
            "mnuFile(-1) Datei||",            // the menu bar entry
            "mnuVoce(0) Voce 0||",            // an absent key keeps the text; a menu item has no tooltip nor name
            "mnuVoce(1) Zweiter||",           // a menu array element
            "Label1(-1) One|The first|@W,H||The first of all", // "Label1(0)" never applies to a control that is no array
            "Label3(0) Tre zero||||",         // neither "Label3" nor another form's key applies
            "Label3(1) Three one||||",        // an array element by its index
            "Label3(2) Tre due||||",          // an empty value keeps the text
            "Text1(-1) 12|Type here||Answer|cifre", // a text box has no Caption
            "TabStrip1(-1) First,,Third||||", // every tab's key; an absent one empties the tab
            "Label9(-1) Last||||"}));         // on to the last control
    }

    void formCaptionAndTag()
    {
        const auto translated = [this](const QString& designCaption, const QByteArray& keys) {
            writeLanguage(QStringLiteral("Form"), "[FormProva]\n" + keys + "\n");
            setCurrentLanguage(QStringLiteral("Form"));
            useNewForm(designCaption);
            MLSTranslateForm(*m_form);
            return m_form->caption() + u'|' + m_form->tag();
        };
        // An empty caption is never looked up; the Tag always is.
        QCOMPARE(translated(QString(), "FormProva.Caption=\"Titel\"\nFormProva.Tag=\"t\""), u"|t");
        QCOMPARE(translated(QStringLiteral("Titolo"), "FormProva.Caption=\"Titel\""), u"Titel|");
        // An empty value is set too.
        QCOMPARE(translated(QStringLiteral("Titolo"), "FormProva.Caption=\"\""), u"|");
    }

    void withoutALanguageFileNothingChanges()
    {
        for (const QString& language : {QString(), QStringLiteral("Klingon"), QStringLiteral("../Deutsch")}) {
            setCurrentLanguage(language);
            const QStringList before = stateOf(*m_form);
            MLSTranslateForm(*m_form);
            QVERIFY2(stateOf(*m_form) == before, qPrintable(language));
        }
    }

    // A language pick while the form is still translating itself (translation
    // lets pending events run) must not leave it half in each language.
    void aTranslationStartedMidwayHasTheLastWord()
    {
        writeLanguage(QStringLiteral("Francais"),
                      "[FormProva]\nmnuFile.Caption=\"Fichier\"\nLabel1.Caption=\"Un\"\nLabel9.Caption=\"Dernier\"\n");
        QTimer::singleShot(0, [this] {
            setCurrentLanguage(QStringLiteral("Francais"));
            MLSTranslateForm(*m_form);
        });

        MLSTranslateForm(*m_form); // in German, until the pick comes

        for (const auto& [name, text] : {std::pair{"mnuFile", "Fichier"}, {"Label1", "Un"}, {"Label9", "Dernier"}})
            QCOMPARE(m_form->control(QString::fromLatin1(name)).caption(), QString::fromLatin1(text));
    }

    void aFormUnloadedMidwayIsLeftAlone_data()
    {
        QTest::addColumn<bool>("destroyed");
        QTest::newRow("unloaded") << false;
        QTest::newRow("unloaded and destroyed") << true;
    }
    // One of the events that translation lets run may unload the form (the
    // pupil leaves it).
    void aFormUnloadedMidwayIsLeftAlone()
    {
        QFETCH(bool, destroyed);
        forms::Application& app = forms::Application::instance();
        app.registerForm(kForm, [] { return std::make_unique<forms::Form>(designOfTheTestForm()); });
        QPointer<forms::Form> form = &app.show(kForm);
        QTimer::singleShot(0, form, [&] {
            app.unload(*form);
            if (destroyed)
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        });

        MLSTranslateForm(*form);

        QCOMPARE(bool(form), !destroyed);
        if (form) {
            // The first control was translated before the events ran; the rest was left.
            QCOMPARE(form->control(QStringLiteral("mnuFile")).caption(), QStringLiteral("Datei"));
            QCOMPARE(form->control(QStringLiteral("Label9")).caption(), QStringLiteral("Ultima"));
        }
    }
};

QTEST_MAIN(TranslateFormTest)
#include "TranslateFormTest.moc"
