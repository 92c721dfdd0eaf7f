// Every shipped language on every form: each caption, label and menu text
// fits its control in the control's own font, at the design size and, with
// every form open when the language is picked from the menu, at two screen
// sizes; every window has its title and every control a pupil can reach has
// a name that assistive technology can say.
//
// With TAVENDEL_SCREENSHOTS naming a folder, each form is also saved there
// as a picture, for a person to look at.

#include "TestProgram.h"

#include "app/FormAvvio.h"
#include "app/FormMenu.h"
#include "app/RegistroForme.h"
#include "exercises/Form1.h"
#include "exercises/Form2.h"
#include "exercises/Form3.h"
#include "forms/Control.h"
#include "language/modLanguageSupport.h"
#include "shell/SharedState.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QTest>

#include <array>

namespace {

const QStringList kLanguages{"Deutsch", "English", "Español", "Français", "Italiano"};

// The language file's text for a property of a control, or of the form.
QString fileText(const forms::Form& form, const QString& key)
{
    return modLanguageSupport::MLSReadIni(*modLanguageSupport::languageFilePath(), form.name(), key).value_or(QString());
}

// What the caption needs, in the widget's real font, beside what it has: a
// label's text wrapped to its width, a button's text with the style's margin
// (its picture shrinks to leave the text a line), a check box's text beside
// the box.
std::pair<QSize, QSize> neededAndRoom(const forms::Control& control)
{
    const QWidget* widget = control.widget();
    const QFontMetrics metrics = widget->fontMetrics();
    const auto metric = [&](QStyle::PixelMetric which) { return widget->style()->pixelMetric(which, nullptr, widget); };
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        const QRect room = label->contentsRect();
        const int flags = (label->wordWrap() ? Qt::TextWordWrap : 0) | int(label->alignment());
        return {metrics.boundingRect(QRect(0, 0, room.width(), QWIDGETSIZE_MAX), flags, control.caption()).size(),
                room.size()};
    }
    const int beside = control.kind() == forms::ControlKind::CheckBox
                           ? metric(QStyle::PM_IndicatorWidth) + metric(QStyle::PM_CheckBoxLabelSpacing)
                           : 2 * metric(QStyle::PM_ButtonMargin);
    return {QSize(beside + metrics.horizontalAdvance(control.caption()), metrics.height()), widget->size()};
}

// Every translated caption that does not fit, a menu bar that cannot show
// all its entries, a window without its title from the language file, and
// a control a pupil can reach without a name to be read by. Captions the
// form replaces as it runs (the question, the counts...) no longer hold the
// file's text once it is loaded and are left out: their room is no matter
// of translation; so are, before loading, placeholders named after their
// control, and labels that fit themselves to what they show.
QStringList misfits(const forms::Form& form, bool names)
{
    QStringList found;
    const QString title = fileText(form, form.name() + QStringLiteral(".Caption"));
    if (names && (title.isEmpty() || form.window()->windowTitle() != title))
        found << QStringLiteral("title \"%1\"").arg(form.window()->windowTitle());
    for (const forms::Control* control : form.controls()) {
        const QString key = control->isArrayElement() ? QStringLiteral("%1(%2)").arg(control->name()).arg(control->index())
                                                      : control->name();
        const QString text = fileText(form, key + QStringLiteral(".Caption"));
        if (control->isMenu()) {
            if (names && control->caption().isEmpty())
                found << QStringLiteral("no name for ") + key;
            continue;
        }
        // A picture box only holds other controls.
        if (names && control->kind() != forms::ControlKind::PictureBox && control->widget()->isVisibleTo(form.window())
            && QAccessible::queryAccessibleInterface(control->widget())->text(QAccessible::Name).trimmed().isEmpty())
            found << QStringLiteral("no name for ") + key;
        if (text.isEmpty() || control->caption() != text || text == control->name() || control->decl().autoSize)
            continue;
        const auto [needed, room] = neededAndRoom(*control);
        if (needed.width() > room.width() || needed.height() > room.height())
            found << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6").arg(key, text).arg(needed.width())
                         .arg(needed.height()).arg(room.width()).arg(room.height());
    }
    if (const QMenuBar* bar = form.menuBar())
        for (QAction* entry : bar->actions())
            if (!bar->rect().contains(bar->actionGeometry(entry)) || bar->actionGeometry(entry).isEmpty())
                found << QStringLiteral("menu \"%1\" beyond the bar, %2 wide").arg(entry->text()).arg(bar->width());
    return found;
}

} // namespace

class LanguagesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { RegistraForme(); }

    void everyFormFitsAndIsNamed_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QSize>("screen"); // none: the forms at their design size, not loaded
        for (const QString& language : kLanguages)
            for (const QSize screen : {QSize(), QSize(1024, 768), QSize(1920, 1080)})
                QTest::addRow("%s %dx%d", qPrintable(language), screen.width(), screen.height()) << language << screen;
    }

    void everyFormFitsAndIsNamed()
    {
        QFETCH(QString, language);
        QFETCH(QSize, screen);
        TestProgram program(1, screen.isValid() ? screen : QSize(1024, 768));
        for (const QString& file : kLanguages)
            program.installAsset(file + QStringLiteral(".lng"));
        std::array<std::unique_ptr<FormTavendel>, 5> atDesignSize; // the forms of the rows without a screen
        std::vector<forms::Form*> forms;
        if (screen.isValid()) {
            // All five open in Italian, the exercises with their longest
            // numerals; then the language is picked from the menu (which lists the
            // files in the order of kLanguages: the menu test checks the order).
            program.storeLanguage(QStringLiteral("Italiano"));
            Stato().setNumeroMassimo(3000);
            for (const char* name : {"FormAvvio", "FormMenu", "Form1", "Form2", "Form3"})
                forms.push_back(&program.show(QString::fromLatin1(name)));
            forms[1]->control(QStringLiteral("mnuLanguage"), int(kLanguages.indexOf(language))).action()->trigger();
            TestProgram::settle();
            QCOMPARE(modLanguageSupport::CurrentLanguage(), language);
        } else {
            modLanguageSupport::setCurrentLanguage(language);
            atDesignSize = {std::make_unique<FormAvvio>(), std::make_unique<FormMenu>(), std::make_unique<Form1>(),
                            std::make_unique<Form2>(), std::make_unique<Form3>()};
            for (const auto& form : atDesignSize) {
                form->traduci();
                forms.push_back(form.get());
            }
        }
        QStringList wrong;
        for (const forms::Form* form : forms) {
            for (const QString& misfit : misfits(*form, screen == QSize(1024, 768)))
                wrong << form->name() + QStringLiteral(": ") + misfit;
            if (const QString folder = qEnvironmentVariable("TAVENDEL_SCREENSHOTS"); !folder.isEmpty())
                form->window()->grab().save(QDir(folder).filePath(QStringLiteral("%1-%2-%3x%4.png").arg(language, form->name())
                                                                      .arg(screen.width()).arg(screen.height())));
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }
};

QTEST_MAIN(LanguagesTest)
#include "LanguagesTest.moc"
