// Every shipped language on every form: each caption, label and menu text
// fits its control in the control's own font, at the design size and at two
// screen sizes; every window has its title and every control a pupil can
// reach has a name that assistive technology can say.
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
#include "forms/Application.h"
#include "forms/Control.h"
#include "language/modLanguageSupport.h"
#include "shell/SharedState.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QStringList kLanguages{"Deutsch", "English", "Español", "Français", "Italiano"};

using Factory = std::function<std::unique_ptr<FormTavendel>()>;
const std::vector<std::pair<QString, Factory>> kForms{
    {"FormAvvio", [] { return std::make_unique<FormAvvio>(); }},
    {"FormMenu", [] { return std::make_unique<FormMenu>(); }},
    {"Form1", [] { return std::make_unique<Form1>(); }},
    {"Form2", [] { return std::make_unique<Form2>(); }},
    {"Form3", [] { return std::make_unique<Form3>(); }},
};

// The language file's text for a property of the control, "" when it has none.
QString fileText(const forms::Control& control, const QString& property)
{
    const QString key = (control.isArrayElement() ? QStringLiteral("%1(%2)").arg(control.name()).arg(control.index())
                                                  : control.name())
                        + u'.' + property;
    return modLanguageSupport::MLSReadIni(*modLanguageSupport::languageFilePath(), control.form().name(), key)
        .value_or(QString());
}

// What the caption needs, in the widget's real font, beside what it has: a
// label's text wrapped to its width, a button's text with the style's margin
// (its picture shrinks to leave the text a line), a check box's text beside
// the box.
std::pair<QSize, QSize> neededAndRoom(const forms::Control& control)
{
    const QWidget* widget = control.widget();
    const QFontMetrics metrics = widget->fontMetrics();
    const QString text = control.caption();
    const QStyle* style = widget->style();
    switch (control.kind()) {
    case forms::ControlKind::Label: {
        const auto* label = static_cast<const QLabel*>(widget);
        const QRect room = label->contentsRect();
        const int wrap = label->wordWrap() ? Qt::TextWordWrap : 0;
        const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), QWIDGETSIZE_MAX),
                                                  wrap | int(label->alignment()), text);
        return {needed.size(), room.size()};
    }
    case forms::ControlKind::CheckBox:
        return {QSize(style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget)
                          + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget)
                          + metrics.horizontalAdvance(text),
                      metrics.height()),
                widget->size()};
    default:
        return {QSize(metrics.horizontalAdvance(text) + 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget),
                      metrics.height()),
                widget->size()};
    }
}

// Every translated caption that does not fit, and a menu bar that cannot
// show all its entries. Captions the form replaces as it runs (the question,
// the hint's groups, the cards and values, the counts) no longer hold the
// file's text once it is loaded and are left out: their room is no matter
// of translation. So are, before loading, the placeholders named after
// their control ("Label3"), and the labels that fit themselves to whatever
// they show (the hint's groups).
QStringList misfits(const forms::Form& form)
{
    QStringList found;
    for (const forms::Control* control : form.controls()) {
        const QString text = fileText(*control, QStringLiteral("Caption"));
        if (control->isMenu() || text.isEmpty() || control->caption() != text || text == control->name()
            || control->decl().autoSize)
            continue;
        const auto [needed, room] = neededAndRoom(*control);
        if (needed.width() > room.width() || needed.height() > room.height())
            found << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
                         .arg(control->name(), text).arg(needed.width()).arg(needed.height())
                         .arg(room.width()).arg(room.height());
    }
    if (const QMenuBar* bar = form.menuBar())
        for (QAction* entry : bar->actions())
            if (!bar->rect().contains(bar->actionGeometry(entry)) || bar->actionGeometry(entry).isEmpty())
                found << QStringLiteral("menu \"%1\" beyond the bar, %2 wide").arg(entry->text()).arg(bar->width());
    return found;
}

// Controls a pupil can reach without a name to be read by, and a window
// without its title from the language file.
QStringList unnamed(const forms::Form& form)
{
    QStringList found;
    const QString title = modLanguageSupport::MLSReadIni(*modLanguageSupport::languageFilePath(), form.name(),
                                                         form.name() + QStringLiteral(".Caption"))
                              .value_or(QString());
    if (title.isEmpty() || form.window()->windowTitle() != title)
        found << QStringLiteral("title \"%1\"").arg(form.window()->windowTitle());
    for (const forms::Control* control : form.controls()) {
        if (control->isMenu()) {
            if (control->caption().isEmpty())
                found << control->name();
            continue;
        }
        // A picture box only holds other controls.
        if (control->kind() == forms::ControlKind::PictureBox || !control->widget()->isVisibleTo(form.window()))
            continue;
        if (QAccessible::queryAccessibleInterface(control->widget())->text(QAccessible::Name).trimmed().isEmpty())
            found << control->widget()->objectName();
    }
    return found;
}

void saveScreenshot(const forms::Form& form, const QString& language, const QString& size)
{
    const QString folder = qEnvironmentVariable("TAVENDEL_SCREENSHOTS");
    if (!folder.isEmpty())
        form.window()->grab().save(QDir(folder).filePath(QStringLiteral("%1-%2-%3.png").arg(language, form.name(), size)));
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
        program.writeFile(QStringLiteral("LangSetting.ini"), "[Language]\r\nCurrentLanguage=" + language.toUtf8());
        const QString size = screen.isValid() ? QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height())
                                              : QStringLiteral("design");
        QStringList wrong;
        for (const auto& [name, make] : kForms) {
            std::unique_ptr<FormTavendel> atDesignSize;
            forms::Form* form = nullptr;
            if (screen.isValid()) {
                // The longest numerals, for the exercises' texts to stand beside.
                Stato().setNumeroMassimo(3000);
                form = &program.show(name);
            } else {
                modLanguageSupport::setCurrentLanguage(language);
                atDesignSize = make();
                atDesignSize->traduci();
                form = atDesignSize.get();
            }
            for (const QString& misfit : misfits(*form))
                wrong << name + QStringLiteral(": ") + misfit;
            if (screen == QSize(1024, 768))
                for (const QString& control : unnamed(*form))
                    wrong << name + QStringLiteral(": no name for ") + control;
            saveScreenshot(*form, language, size);
            if (screen.isValid())
                forms::Application::instance().unload(*form);
            TestProgram::settle();
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }
};

QTEST_MAIN(LanguagesTest)
#include "LanguagesTest.moc"
