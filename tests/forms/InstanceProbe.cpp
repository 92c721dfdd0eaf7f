// Started by the single-instance test as a copy of the program would start:
// says whether another copy from the same folder runs, and with "hold" keeps
// its lock until it is killed.

#include "forms/Places.h"
#include "forms/SingleInstance.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    forms::setAppPath(args.at(1));
    std::puts(forms::previousInstance() ? "another" : "alone");
    std::fflush(stdout);
    if (args.size() > 2 && args.at(2) == QLatin1String("hold"))
        for (;;)
            QThread::sleep(1);
    return 0;
}
