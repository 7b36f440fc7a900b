#include "cli/OrvaneCommandLine.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("orvane");
    QCoreApplication::setApplicationVersion(ORVANE_SHORT_VERSION);
    return OrvaneCommandLine::run(QCoreApplication::arguments());
}
