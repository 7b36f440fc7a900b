#include "cli/OrvaneCommandLine.h"

#include "cli/OrvaneCliError.h"
#include "cli/OrvaneEditCommand.h"
#include "cli/OrvaneExportCommand.h"
#include "cli/OrvaneImportCommand.h"
#include "cli/OrvaneInfoCommand.h"
#include "cli/OrvanePlayCommand.h"
#include "cli/OrvanePortsCommand.h"
#include "cli/OrvaneRecordCommand.h"
#include "cli/OrvaneSendCommand.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

constexpr char kUsage[] =
    "Usage: orvane COMMAND [options] [files]\n"
    "Batch work on the instrument's disks, without the window.\n"
    "\n"
    "Commands:\n"
    "  info DISK... [--json]                    the banks of disks: names, length, peak level\n"
    "  import AUDIO... --bank N --out DISK      audio files into banks N, N+1, ... as a new disk\n"
    "         [--from DISK] [--one-bank] [--name NAME] [--resample linear|hq]\n"
    "         [--start S] [--length S] [--channel mix|left|right] [--trim-silence[=DB]] [--normalize[=DB]]\n"
    "  edit DISK --bank N [--range START:END] OPERATION... --out DISK\n"
    "                                           shape a bank: --crop --delete --silence --gain DB\n"
    "         --normalize[=DB] --fade-in --fade-out --reverse --remove-dc --trim-silence[=DB] --snap\n"
    "  export DISK --bank N --out FILE.wav      a bank as a 44,100 Hz mono 16-bit WAV, or with\n"
    "         [--trim] [--all --out-dir DIR]    --all every bank as DIR/NN-name.wav\n"
    "  ports                                    the MIDI destinations, numbered\n"
    "  send DISK --port NAME|NUMBER             the disk's banks to a MIDI destination\n"
    "       [--channel 1-16] [--banks 1,3-5] [--speed PERCENT]\n"
    "  play DISK --bank N [--device NAME]       a bank on the sound output\n"
    "  record --bank N --out DISK               a sound input into bank N as a new disk\n"
    "         [--from DISK] [--one-bank] [--device NAME] [--threshold DB]\n"
    "         [--seconds S] [--channel mix|left|right]\n"
    "\n"
    "Options:\n"
    "  -h, --help     this help; orvane help COMMAND (or COMMAND --help) for a command's\n"
    "  -v, --version  the version\n"
    "\n"
    "An output named - is standard output. Exit status: 0 success, 1 failure, 2 usage error,\n"
    "128 + the signal's number when a signal ends a command (130 for Ctrl-C).\n";

using Command = int (*)(const QStringList&);

Command commandNamed(const QString& name)
{
    if (name == "info")
        return &OrvaneInfoCommand::run;
    if (name == "import")
        return &OrvaneImportCommand::run;
    if (name == "export")
        return &OrvaneExportCommand::run;
    if (name == "edit")
        return &OrvaneEditCommand::run;
    if (name == "ports")
        return &OrvanePortsCommand::run;
    if (name == "send")
        return &OrvaneSendCommand::run;
    if (name == "play")
        return &OrvanePlayCommand::run;
    if (name == "record")
        return &OrvaneRecordCommand::run;
    return nullptr;
}

int dispatch(const QStringList& arguments)
{
    const QString first = arguments.value(1);
    if (first == "-h" || first == "--help" || first == "help") {
        // orvane help COMMAND is orvane COMMAND --help.
        const Command command = commandNamed(arguments.value(2));
        if (command != nullptr)
            return command({arguments.value(0), arguments.value(2), "--help"});
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (first == "-v" || first == "--version") {
        std::printf("orvane %s\n", QCoreApplication::applicationVersion().toUtf8().constData());
        return 0;
    }
    if (first.isEmpty()) {
        std::fputs(kUsage, stderr);
        return OrvaneCliError::kUsage;
    }
    const Command command = commandNamed(first);
    if (command == nullptr)
        throw OrvaneCliError::usage("unknown command \"" + first.toStdString() + "\" (see orvane --help)");
    return command(arguments);
}

} // namespace

int OrvaneCommandLine::run(const QStringList& arguments)
{
    try {
        return dispatch(arguments);
    } catch (const OrvaneCliError& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "orvane: %s\n", error.message.c_str());
        return error.exitCode;
    }
}
