// Translating a form from the current language file: which keys apply to
// which control, what an absent key or an empty value leaves, and a form
// that goes away while its translation lets events run.

#include "language/MLSTranslateForm.h"
#include "language/modLanguageSupport.h"

#include "forms/Application.h"
#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/ProgramFolder.h"

#include <QFile>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using forms::ControlKind;
using modLanguageSupport::MLSTranslateForm;

namespace {

const QString kForm = QStringLiteral("FormProva");

forms::FormSpec designOfTheTestForm(const QString& caption = QStringLiteral("Titolo"))
{
    const auto label = [](const char* name, int index, const char* caption) {
        return forms::ControlSpec{.name = QString::fromLatin1(name), .kind = ControlKind::Label,
                                  .index = index, .caption = QString::fromLatin1(caption),
                                  .width = 900, .height = 300};
    };
    return {
        .name = kForm,
        .clientWidth = 6000,
        .clientHeight = 4500,
        .caption = caption,
        .controls = {
            {.name = QStringLiteral("mnuFile"), .kind = ControlKind::Menu, .caption = QStringLiteral("File")},
            {.name = QStringLiteral("mnuVoce"), .kind = ControlKind::Menu, .index = 0,
             .caption = QStringLiteral("Voce 0"), .container = QStringLiteral("mnuFile")},
            {.name = QStringLiteral("mnuVoce"), .kind = ControlKind::Menu, .index = 1,
             .caption = QStringLiteral("Voce 1"), .container = QStringLiteral("mnuFile")},
            label("Label1", -1, "Uno"),
            label("Label3", 0, "Tre zero"),
            label("Label3", 1, "Tre uno"),
            label("Label3", 2, "Tre due"),
            {.name = QStringLiteral("Text1"), .kind = ControlKind::TextBox, .caption = QStringLiteral("12")},
            {.name = QStringLiteral("TabStrip1"), .kind = ControlKind::TabStrip, .width = 3000, .height = 1500,
             .tabs = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
            label("Label9", -1, "Ultima"),
        },
    };
}

// One line each; the escaped quotes are the file's own.
const char* const kLanguageFile[] = {
    "[Strings]",
    "0001=\"Quit?\"",
    "",
    "[FormProva]",
    "FormProva.ToolTipText=\"a form has none\"",
    "mnuFile.Caption=\"Datei\"",
    "mnuVoce(1).Caption=\"Zweiter\"",
    "mnuVoce(0).ToolTipText=\"menu items have none\"",
    "Label1.Caption=\"One\"",
    "Label1.ToolTipText=\"The first\"",
    "Label1.Tag=\"@W,H\"",
    "Label1(0).Caption=\"no array: never applies\"",
    "Label3.Caption=\"an array element needs its index\"",
    "Label3(1).Caption=\"Three one\"",
    "Label3(2).Caption=\"\"",
    "Text1.Caption=\"text boxes have none\"",
    "Text1.ToolTipText=\"Type here\"",
    "TabStrip1.TabCaption(0)=\"First\"",
    "TabStrip1.TabCaption(2)=\"Third\"",
    "Label9.Caption=\"Last\"",
    "",
    "[FormAltro]",
    "Label3(0).Caption=\"another form's section\"",
    "",
};

// What a translation could change of the control's text.
QString captionOf(const forms::Control& control)
{
    switch (control.kind()) {
    case ControlKind::TextBox:
        return control.text();
    case ControlKind::TabStrip: {
        QStringList tabs;
        for (int i = 0; i < control.get(QStringLiteral("Tabs")).toInt(); ++i)
            tabs << control.get(QStringLiteral("TabCaption"), i).toString();
        return tabs.join(QLatin1Char(','));
    }
    default:
        return control.caption();
    }
}

} // namespace

class TranslateFormTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase() { forms::setAppPath(QString()); }

    void controlTexts_data();
    void controlTexts();
    void tooltipsAndTags();
    void tabsTakeEveryKeyEvenAbsentOnes();
    void formCaptionAndTag_data();
    void formCaptionAndTag();
    void withoutALanguageFileNothingChanges_data();
    void withoutALanguageFileNothingChanges();
    void aTranslationStartedMidwayHasTheLastWord();
    void aFormUnloadedMidwayIsLeftAlone_data();
    void aFormUnloadedMidwayIsLeftAlone();

private:
    forms::Control& control(const char* name, int index = -1) const
    {
        return m_form->control(QString::fromLatin1(name), index);
    }

    QTemporaryDir m_folder;
    std::unique_ptr<forms::Form> m_form;
};

void TranslateFormTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    forms::setAppPath(m_folder.path());
    QFile file(m_folder.filePath(QStringLiteral("Deutsch.lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    for (const char* line : kLanguageFile)
        file.write(QByteArray(line) + '\n');
}

void TranslateFormTest::init()
{
    modLanguageSupport::setCurrentLanguage(QStringLiteral("Deutsch"));
    m_form = std::make_unique<forms::Form>(designOfTheTestForm());
}

void TranslateFormTest::cleanup()
{
    m_form.reset();
    forms::Application::instance().unloadAll();
    modLanguageSupport::setCurrentLanguage(QString());
}

void TranslateFormTest::controlTexts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    QTest::newRow("a plain key") << "Label1" << -1 << "One";
    QTest::newRow("an array element by its index") << "Label3" << 1 << "Three one";
    QTest::newRow("no key with its index: kept") << "Label3" << 0 << "Tre zero";
    QTest::newRow("an empty value: kept") << "Label3" << 2 << "Tre due";
    QTest::newRow("a text box has no Caption") << "Text1" << -1 << "12";
    QTest::newRow("the menu bar entry") << "mnuFile" << -1 << "Datei";
    QTest::newRow("a menu array element") << "mnuVoce" << 1 << "Zweiter";
    QTest::newRow("an absent menu key: kept") << "mnuVoce" << 0 << "Voce 0";
    QTest::newRow("after every control before it") << "Label9" << -1 << "Last";
}

void TranslateFormTest::controlTexts()
{
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(QString, text);

    MLSTranslateForm(*m_form);
    QCOMPARE(captionOf(m_form->control(control, index)), text);
}

void TranslateFormTest::tooltipsAndTags()
{
    MLSTranslateForm(*m_form);
    QCOMPARE(control("Label1").get(QStringLiteral("ToolTipText")).toString(), QStringLiteral("The first"));
    QCOMPARE(control("Label1").tag(), QStringLiteral("@W,H"));
    QCOMPARE(control("Text1").get(QStringLiteral("ToolTipText")).toString(), QStringLiteral("Type here"));
    QCOMPARE(control("Label3", 1).tag(), QString());
}

void TranslateFormTest::tabsTakeEveryKeyEvenAbsentOnes()
{
    MLSTranslateForm(*m_form);
    auto* tabs = qobject_cast<QTabWidget*>(control("TabStrip1").widget());
    QCOMPARE(tabs->tabText(0), QStringLiteral("First"));
    QCOMPARE(tabs->tabText(1), QString());
    QCOMPARE(tabs->tabText(2), QStringLiteral("Third"));
}

void TranslateFormTest::formCaptionAndTag_data()
{
    QTest::addColumn<QString>("designCaption");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tag");

    QTest::newRow("an empty caption is never looked up")
        << "" << "FormProva.Caption=\"Titel\"\nFormProva.Tag=\"t\"" << "" << "t";
    QTest::newRow("a caption takes its key") << "Titolo" << "FormProva.Caption=\"Titel\"" << "Titel" << "";
    QTest::newRow("a caption without a key becomes empty") << "Titolo" << "" << "" << "";
    QTest::newRow("an empty value is set too") << "Titolo" << "FormProva.Caption=\"\"" << "" << "";
}

void TranslateFormTest::formCaptionAndTag()
{
    QFETCH(QString, designCaption);
    QFETCH(QString, keys);
    QFETCH(QString, caption);
    QFETCH(QString, tag);

    QFile file(m_folder.filePath(QStringLiteral("Form.lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("[FormProva]\n" + keys + "\n").toUtf8());
    file.close();
    modLanguageSupport::setCurrentLanguage(QStringLiteral("Form"));
    m_form = std::make_unique<forms::Form>(designOfTheTestForm(designCaption));
    m_form->setTag(QStringLiteral("before"));

    MLSTranslateForm(*m_form);
    QCOMPARE(m_form->caption(), caption);
    QCOMPARE(m_form->tag(), tag);
}

void TranslateFormTest::withoutALanguageFileNothingChanges_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("no current language") << "";
    QTest::newRow("a language without a file") << "Klingon";
    QTest::newRow("a name leading out of the folder") << "../Deutsch";
}

void TranslateFormTest::withoutALanguageFileNothingChanges()
{
    QFETCH(QString, language);
    modLanguageSupport::setCurrentLanguage(language);
    m_form->setTag(QStringLiteral("before"));
    QStringList before;
    for (const forms::Control* each : m_form->controls())
        before << captionOf(*each) + QLatin1Char('|') + each->tag();

    MLSTranslateForm(*m_form);

    QStringList after;
    for (const forms::Control* each : m_form->controls())
        after << captionOf(*each) + QLatin1Char('|') + each->tag();
    QCOMPARE(after, before);
    QCOMPARE(m_form->caption(), QStringLiteral("Titolo"));
    QCOMPARE(m_form->tag(), QStringLiteral("before"));
}

// A language pick while the form is still translating itself (its Load
// lets pending events run) must not leave it half in each language.
void TranslateFormTest::aTranslationStartedMidwayHasTheLastWord()
{
    QFile file(m_folder.filePath(QStringLiteral("Francais.lng")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[FormProva]\nmnuFile.Caption=\"Fichier\"\nLabel1.Caption=\"Un\"\nLabel9.Caption=\"Dernier\"\n");
    file.close();
    QTimer::singleShot(0, [this] {
        modLanguageSupport::setCurrentLanguage(QStringLiteral("Francais"));
        MLSTranslateForm(*m_form);
    });

    MLSTranslateForm(*m_form); // in German, until the pick comes

    for (const auto& [name, text] : {std::pair{"mnuFile", "Fichier"}, {"Label1", "Un"}, {"Label9", "Dernier"}})
        QCOMPARE(control(name).caption(), QString::fromLatin1(text));
}

void TranslateFormTest::aFormUnloadedMidwayIsLeftAlone_data()
{
    QTest::addColumn<bool>("destroyed");
    QTest::newRow("unloaded") << false;
    QTest::newRow("unloaded and destroyed") << true;
}

// Translation lets pending events run after each control; one of them may
// unload the form (the pupil leaves it).
void TranslateFormTest::aFormUnloadedMidwayIsLeftAlone()
{
    QFETCH(bool, destroyed);
    forms::Application& app = forms::Application::instance();
    app.registerForm(kForm, [] { return std::make_unique<forms::Form>(designOfTheTestForm()); });
    QPointer<forms::Form> form = &app.show(kForm);
    QTimer::singleShot(0, form, [&] {
        app.unload(*form);
        if (destroyed)
            delete form.data();
    });

    MLSTranslateForm(*form);

    QCOMPARE(bool(form), !destroyed);
    if (form) {
        // The first control was translated before the events ran; the rest was left.
        QCOMPARE(form->control(QStringLiteral("mnuFile")).caption(), QStringLiteral("Datei"));
        QCOMPARE(form->control(QStringLiteral("Label9")).caption(), QStringLiteral("Ultima"));
    }
}

QTEST_MAIN(TranslateFormTest)
#include "TranslateFormTest.moc"
