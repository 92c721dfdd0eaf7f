#include "RegistroForme.h"

#include "forms/Application.h"
#include "shell/Modulo1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
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
