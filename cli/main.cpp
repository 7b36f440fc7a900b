#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneCommandLine.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("orvane");
    QCoreApplication::setApplicationVersion(ORVANE_SHORT_VERSION);
    // A write past the file size limit fails with EFBIG and is reported like
    // any other failed write, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Not QCoreApplication::arguments(): file names must keep their bytes.
    return OrvaneCommandLine::run(OrvaneArgumentText::decode(argc, argv));
}
