#include "cli/OrvaneSendCommand.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneMidiPorts.h"
#include "cli/OrvaneSendProgress.h"
#include "cli/OrvaneStopSignal.h"
#include "device/TLOrvane.h"
#include "device/TLSendJob.h"
#include "midiout/KTMidiInterfaceTransmitter.h"
#include "resources/FactoryImage.h"

#include <string>
#include <vector>

#include <unistd.h>

namespace {

// The MIDI channel 1 to 16 as the index the dump takes, 0 to 15.
int channelIndex(const QString& text)
{
    bool number = false;
    const int channel = text.toInt(&number);
    if (!number || channel < 1 || channel > 16)
        throw OrvaneCliError::usage("channel \"" + text.toStdString() + "\": channels are 1 to 16");
    return channel - 1;
}

// 10 to 100 percent of the line rate.
unsigned speedOf(const OrvaneCommandParser& command)
{
    bool number = false;
    const int speed = command.value("speed").toInt(&number);
    if (!number || speed < 10 || speed > 100)
        command.fail("--speed is a percent of the line rate from 10 to 100, not \"" +
                     command.value("speed").toStdString() + "\"");
    return static_cast<unsigned>(speed);
}

std::vector<int> chosenBanks(const OrvaneCommandParser& command, const OrvaneDiskInput& disk, const std::string& path)
{
    if (!command.isSet("banks"))
        return disk.banks;
    const std::vector<int> banks = OrvaneBankNumbers::list(command.value("banks"));
    for (const int bank : banks)
        disk.require(bank, path);
    return banks;
}

} // namespace

int OrvaneSendCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("send", "Sends the banks of a disk to a MIDI destination: All Notes Off, then "
                                        "each bank's header and data at the MIDI line rate.\nCtrl-C (or SIGTERM, "
                                        "SIGHUP) ends the message in flight with F7 and exits 128 + the signal's "
                                        "number.");
    command.addArgument("DISK", "The disk whose banks are sent.");
    command.addOption({"port", "The destination: its name or its number as orvane ports lists it.", "NAME|NUMBER"},
                      true);
    command.addOption({"channel", "The MIDI channel, 1 to 16 (default 1).", "1-16", "1"});
    command.addOption({"banks", "The banks of the disk to send, e.g. 1,3-5 (default: all it holds).", "LIST"});
    command.addOption({"speed", "Send at this percent of the MIDI line rate, 10 to 100 (default 100), for interfaces "
                                "that lose bytes at full rate.", "PERCENT", "100"});
    if (!command.parse(arguments, 1, 1))
        return 0;
    const QString port = command.required("port");
    const int channel = channelIndex(command.value("channel"));
    const unsigned speed = speedOf(command);
    const std::string path = OrvaneArgumentText::bytes(command.files().front());

    TLOrvane orvane(FactoryImage::samples());
    const OrvaneDiskInput disk = OrvaneDiskInput::load(path, orvane);
    const std::vector<int> banks = chosenBanks(command, disk, path);
    OrvaneMidiPorts ports;
    const std::uint16_t destination = ports.find(port);

    const std::atomic<bool>& stop = OrvaneStopSignal::install();
    OrvaneSendProgress progress(::isatty(STDERR_FILENO) == 1);
    TLSendJob::Result result;
    {
        const auto transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(
            ports.platform(), ports.clock(), destination);
        result = TLSendJob(orvane, banks, channel, speed)
                     .run(*transmitter, ports.clock(), stop, [&](const TLSendProgress& now) {
                         progress.show(now, orvane.mBankNames[static_cast<std::size_t>(now.bank)]);
                     });
    }
    progress.finish();
    if (result.outcome == TLSendJob::Outcome::Failed)
        throw OrvaneCliError::failure("port \"" + ports.titles()[destination] + "\"",
                                      "bank " + std::to_string(result.failedBank + 1) +
                                          " did not arrive: the destination went away or refused the data");
    if (result.outcome == TLSendJob::Outcome::Cancelled)
        throw OrvaneCliError::interrupted(OrvaneStopSignal::signal(), "port \"" + ports.titles()[destination] + "\"",
                                          "send interrupted, the message in flight was ended with F7");
    return 0;
}
