// The two passes a form runs through when it loads and whenever its size
// changes: translating about 30 controls from a 64 KB language file (goal:
// well within one 60 Hz frame, 16 ms) and one scaling pass (goal: under 1 ms).

#include "forms/Control.h"
#include "forms/Form.h"
#include "forms/Places.h"
#include "language/MLSTranslateForm.h"
#include "language/modLanguageSupport.h"
#include "layout/clsResize.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <stdexcept>

namespace {

using forms::ControlKind;

constexpr qsizetype kLanguageFileBytes = 64 * 1024;
const QString kFormName = QStringLiteral("FormBanco");

// A form laid out like the program's busiest: a menu with items, labels
// (an array of seven among them), buttons, a text box, a check box, a line
// and a tab strip; 30 controls in all.
forms::FormDesign designOfTheBenchForm()
{
    forms::FormDesign decl{.name = kFormName, .clientWidth = 9000, .clientHeight = 6000,
                         .caption = QStringLiteral("Banco")};
    auto& controls = decl.controls;
    controls.push_back({.name = QStringLiteral("mnuFile"), .kind = ControlKind::Menu, .caption = QStringLiteral("File")});
    for (const char* item : {"MenuAzzera", "MenuInformazioni", "mnuEsci"})
        controls.push_back({.name = QString::fromLatin1(item), .kind = ControlKind::Menu,
                            .caption = QString::fromLatin1(item), .container = QStringLiteral("mnuFile")});
    for (int i = 0; i < 7; ++i)
        controls.push_back({.name = QStringLiteral("Label3"), .kind = ControlKind::Label, .index = i,
                            .caption = QStringLiteral("L%1").arg(i), .left = 120.0 + i * 1200, .top = 2400,
                            .width = 1100, .height = 500});
    for (int i = 1; i <= 9; ++i)
        controls.push_back({.name = QStringLiteral("Label%1").arg(i + 10), .kind = ControlKind::Label,
                            .caption = QStringLiteral("Etichetta %1").arg(i), .left = 120.0 + i * 900,
                            .top = 120, .width = 850, .height = 400});
    for (int i = 1; i <= 6; ++i)
        controls.push_back({.name = QStringLiteral("Command%1").arg(i), .kind = ControlKind::CommandButton,
                            .caption = QStringLiteral("Bottone %1").arg(i), .left = 120.0 + i * 1400,
                            .top = 4000, .width = 1300, .height = 600});
    controls.push_back({.name = QStringLiteral("Text1"), .kind = ControlKind::TextBox,
                        .left = 120, .top = 3200, .width = 3000, .height = 450});
    controls.push_back({.name = QStringLiteral("Check1"), .kind = ControlKind::CheckBox,
                        .caption = QStringLiteral("Suoni"), .left = 3300, .top = 3200, .width = 2000, .height = 450});
    controls.push_back({.name = QStringLiteral("Line1"), .kind = ControlKind::Line,
                        .left = 120, .top = 3900, .width = 8800, .height = 3900});
    controls.push_back({.name = QStringLiteral("TabStrip1"), .kind = ControlKind::TabStrip,
                        .left = 120, .top = 4800, .width = 8000, .height = 1100,
                        .tabs = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}});
    return decl;
}

QByteArray entry(const QString& key, const QString& value)
{
    return key.toUtf8() + "=\"" + value.toUtf8() + "\"\r\n";
}

// The bench form's section comes last, after sections of other forms that
// fill the file to 64 KB, so that every lookup passes over them.
QByteArray languageFile()
{
    QByteArray text = "[Strings]\r\n" + entry(QStringLiteral("0001"), QStringLiteral("Vuoi davvero uscire?"));
    for (int form = 0; text.size() < kLanguageFileBytes - 4096; ++form) {
        text += "\r\n[Altro" + QByteArray::number(form) + "]\r\n";
        for (int i = 0; i < 24; ++i)
            text += entry(QStringLiteral("Command%1.ToolTipText").arg(i),
                          QStringLiteral("Leggi i numeri romani fino a %1 (I, V, X, L, C)").arg(i * 37));
    }
    text += "\r\n[" + kFormName.toUtf8() + "]\r\n";
    for (const forms::ControlDesign& control : designOfTheBenchForm().controls) {
        const QString name = control.index >= 0 ? QStringLiteral("%1(%2)").arg(control.name).arg(control.index)
                                                : control.name;
        text += entry(name + QStringLiteral(".Caption"), QStringLiteral("Testo di ") + name);
        text += entry(name + QStringLiteral(".ToolTipText"), QStringLiteral("Aiuto per ") + name);
    }
    for (int tab = 0; tab < 3; ++tab)
        text += entry(QStringLiteral("TabStrip1.TabCaption(%1)").arg(tab), QStringLiteral("Scheda %1").arg(tab));
    while (text.size() < kLanguageFileBytes)
        text += "; riempitivo\r\n";
    return text;
}

// A program folder holding the language file, for as long as the benchmarks run.
class BenchProgram
{
public:
    BenchProgram()
    {
        QFile file(m_folder.filePath(QStringLiteral("Banco.lng")));
        if (!file.open(QIODevice::WriteOnly) || file.write(languageFile()) < kLanguageFileBytes)
            throw std::runtime_error("cannot write the language file");
        forms::setAppPath(m_folder.path());
        modLanguageSupport::setCurrentLanguage(QStringLiteral("Banco"));
    }

private:
    QTemporaryDir m_folder;
};

void translateForm(benchmark::State& state)
{
    BenchProgram program;
    forms::Form form(designOfTheBenchForm());
    form.window()->show();
    for (auto _ : state)
        modLanguageSupport::MLSTranslateForm(form);
    // A translation that found nothing would time only the misses.
    if (form.control(QStringLiteral("TabStrip1")).get(QStringLiteral("TabCaption"), 2) != QStringLiteral("Scheda 2"))
        state.SkipWithError("the form was not translated");
    state.counters["controls"] = double(form.controls().size());
}
BENCHMARK(translateForm)->Unit(benchmark::kMillisecond);

void scalingPass(benchmark::State& state)
{
    forms::Form form(designOfTheBenchForm());
    form.window()->show();
    clsResize fitter;
    fitter.SetSourceForm(&form);
    fitter.ReInitialise();
    // The form alternates between two sizes, so every pass moves every control.
    const std::array<QSize, 2> sizes{QSize(1024, 768), QSize(800, 600)};
    std::size_t turn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.window()->resize(sizes[turn++ % sizes.size()]);
        form.syncSize();
        state.ResumeTiming();
        fitter.ResizeControls();
    }
    state.counters["controls"] = double(form.controls().size());
}
BENCHMARK(scalingPass)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
