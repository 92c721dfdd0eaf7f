// Translating a form from the current language file: which keys apply to
// which control, what an absent key or an empty value leaves, and a form
// that goes away or is picked anew while its translation lets events run.

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

using forms::ControlKind, modLanguageSupport::MLSTranslateForm, modLanguageSupport::setCurrentLanguage;

namespace {

forms::FormDesign designOfTheTestForm(const QString& caption = QStringLiteral("Titolo"))
{
    using enum ControlKind;
    const auto control = [](const char* name, int index, const char* caption, ControlKind kind = Label) {
        return forms::ControlDesign{.name = QString::fromLatin1(name), .kind = kind, .index = index,
                                    .caption = QString::fromLatin1(caption), .width = 900, .height = 300,
                                    .container = *name == 'm' && index >= 0 ? QStringLiteral("mnuFile") : QString()};
    };
    // Its size matters nowhere here.
    forms::FormDesign design{.name = QStringLiteral("FormProva"), .caption = caption,
                             .controls = {control("mnuFile", -1, "File", Menu), control("mnuVoce", 0, "Voce 0", Menu),
                                          control("mnuVoce", 1, "Voce 1", Menu), control("Label1", -1, "Uno"),
                                          control("Label3", 0, "Tre zero"), control("Label3", 1, "Tre uno"),
                                          control("Label3", 2, "Tre due"), control("Text1", -1, "12", TextBox),
                                          control("TabStrip1", -1, "", TabStrip), control("Label9", -1, "Ultima")}};
    design.controls[8].tabs = QStringList{"a", "b", "c"};
    return design;
}

const char kLanguageFile[] = R"([FormProva]
mnuFile.Caption="Datei"
mnuVoce(1).Caption="Zweiter"
mnuVoce(0).ToolTipText="menu items have none"
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
TabStrip1.TabCaption(0)="First"
TabStrip1.TabCaption(2)="Third"
Label9.Caption="Last"

[FormAltro]
Label3(0).Caption="another form's section"
)";

// The form's caption and Tag, then every control's text (a text box's Text,
// a tab strip's tabs), tooltip, Tag and, but for menus, accessible name and
// description.
QStringList stateOf(const forms::Form& form)
{
    QStringList state{form.caption() + u'|' + form.tag()};
    for (const forms::Control* each : form.controls()) {
        const auto property = [each](const char* name, int subscript = -1) {
            return each->has(QString::fromLatin1(name)) ? each->get(name, subscript).toString() : QString();
        };
        QString text = each->kind() == ControlKind::TextBox ? each->text() : each->kind() == ControlKind::TabStrip ? QString() : each->caption();
        for (int i = 0; i < property("Tabs").toInt(); ++i)
            text += property("TabCaption", i) + u',';
        state << QStringLiteral("%1(%2) %3|%4|%5").arg(each->name()).arg(each->decl().index).arg(text, property("ToolTipText"), each->tag())
                     + (each->isMenu() ? QString() : u'|' + property("AccessibleName") + u'|' + property("AccessibleDescription"));
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
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        setCurrentLanguage(language);
    }

private slots:
    void initTestCase() { forms::setAppPath(m_folder.path()); }
    void init()
    {
        writeLanguage(QStringLiteral("Deutsch"), kLanguageFile);
        m_form = std::make_unique<forms::Form>(designOfTheTestForm());
        m_form->setTag(QStringLiteral("before"));
    }
    void cleanup()
    {
        forms::Application::instance().unloadAll();
        setCurrentLanguage(QString());
    }

    void everyControlTakesOnlyItsOwnKeys()
    {
        MLSTranslateForm(*m_form);
        QCOMPARE(stateOf(*m_form), QStringList({
            "|",                              // no caption or Tag key: both emptied
            // The menu bar entry; an absent key keeps the text (a menu item has no tooltip nor name); an element.
            "mnuFile(-1) Datei||", "mnuVoce(0) Voce 0||", "mnuVoce(1) Zweiter||",
            "Label1(-1) One|The first|@W,H||The first of all", // "Label1(0)" never applies to a control that is no array
            // Neither "Label3" nor another form's key applies; an element by its index; an empty value keeps the text.
            "Label3(0) Tre zero||||", "Label3(1) Three one||||", "Label3(2) Tre due||||",
            "Text1(-1) 12|Type here||Answer|", // a text box has no Caption
            "TabStrip1(-1) First,,Third,||||", // every tab's key; an absent one empties the tab
            "Label9(-1) Last||||"}));         // on to the last control
    }

    // An empty caption is never looked up. (Without a language file the
    // splash shows that nothing is translated.)
    void anEmptyFormCaptionIsNeverLookedUp()
    {
        writeLanguage(QStringLiteral("Titolo"), "[FormProva]\nFormProva.Caption=Titel\n");
        m_form = std::make_unique<forms::Form>(designOfTheTestForm(QString()));
        MLSTranslateForm(*m_form);
        QCOMPARE(m_form->caption(), QString());
    }

    // A language pick while the form is still translating itself (translation
    // lets pending events run) must not leave it half in each language.
    void aTranslationStartedMidwayHasTheLastWord()
    {
        QTimer::singleShot(0, [this] {
            writeLanguage(QStringLiteral("Francais"), "[FormProva]\nmnuFile.Caption=Fichier\nLabel9.Caption=Dernier\n");
            MLSTranslateForm(*m_form);
        });
        MLSTranslateForm(*m_form); // in German, until the pick comes
        QCOMPARE(m_form->control("mnuFile").caption() + u' ' + m_form->control("Label9").caption(), "Fichier Dernier");
    }

    // One of the events that translation lets run may unload the form (the
    // pupil leaves it), and may destroy it: the rest is left alone.
    void aFormUnloadedMidwayIsLeftAlone()
    {
        forms::Application& app = forms::Application::instance();
        app.registerForm(QStringLiteral("FormProva"),
                         [] { return std::make_unique<forms::Form>(designOfTheTestForm()); });
        for (const bool destroyed : {false, true}) {
            QPointer<forms::Form> form = &app.show(QStringLiteral("FormProva"));
            QTimer::singleShot(0, form, [&] {
                app.unload(*form);
                if (destroyed)
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            });
            MLSTranslateForm(*form);
            QCOMPARE(bool(form), !destroyed);
            // The first control was translated before the events ran; the rest was left.
            QVERIFY(destroyed || form->control("mnuFile").caption() + form->control("Label9").caption() == "DateiUltima");
        }
    }
};

QTEST_MAIN(TranslateFormTest)
#include "TranslateFormTest.moc"
