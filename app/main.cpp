#include "CommandLine.h"
#include "RegistroForme.h"

#include "forms/Application.h"
#include "shell/Modulo1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <optional>

namespace {
// The exit code when the command line is answered without starting the
// program. It runs before any application object, so it needs no display.
std::optional<int> answer(const CommandLine& commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case CommandLine::Action::ShowVersion:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fputs(refusalText(commandLine.refused).c_str(), stderr);
        return 2;
    case CommandLine::Action::Run:
        break;
    }
    return std::nullopt;
}
} // namespace

int main(int argc, char* argv[])
{
    if (const std::optional<int> code = answer(CommandLine::parse(argc, argv)))
        return *code;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavendel"));
    // The program lives for as long as one of its forms is loaded; moving
    // from form to form briefly leaves no window open.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own texts (the Yes and No of the questions) in the desktop's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    RegistraForme();
    if (!Modulo1::Main())
        return 0;
    const int code = QApplication::exec();
    forms::Application::instance().unloadAll();
    return code;
}
