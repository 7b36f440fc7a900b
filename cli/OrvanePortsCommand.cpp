#include "cli/OrvanePortsCommand.h"

#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneMidiPorts.h"

#include <cstdio>

int OrvanePortsCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("ports", "Lists the MIDI destinations: number, a tab, the name.");
    if (!command.parse(arguments, 0, 0))
        return 0;
    const OrvaneMidiPorts ports;
    for (std::size_t i = 0; i < ports.titles().size(); ++i)
        std::printf("%zu\t%s\n", i + 1, ports.titles()[i].c_str());
    return 0;
}
