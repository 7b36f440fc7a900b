#pragma once

#include <QStringList>

// The orvane program: picks the command from the first argument, runs it, and
// turns a failure into its one line on stderr and its exit status.
class OrvaneCommandLine {
public:
    static int run(const QStringList& arguments);
};
