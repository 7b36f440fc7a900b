#include "cli/OrvaneExportCommand.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneOutputFile.h"
#include "device/TLOrvane.h"
#include "device/TLWaveExport.h"
#include "resources/FactoryImage.h"

#include <string>

int OrvaneExportCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("export", "Writes a bank of a disk as a WAV file (44,100 Hz, mono, 16-bit).");
    command.addArgument("DISK", "The disk that holds the bank.");
    command.addOption({"bank", "The bank to export, 1 to 7.", "N"}, true);
    command.addOption({"out", "The WAV file to write; - writes it to standard output.", "FILE.wav"}, true);
    if (!command.parse(arguments, 1, 1))
        return 0;
    const int bank = OrvaneBankNumbers::one(command.required("bank"));
    const std::string path = OrvaneArgumentText::bytes(command.files().front());
    const OrvaneOutputFile out(OrvaneArgumentText::bytes(command.required("out")), {path});

    TLOrvane orvane(FactoryImage::samples());
    OrvaneDiskInput::load(path, orvane).require(bank, path);
    out.write(TLWaveExport::bytes(orvane.mSamples[static_cast<std::size_t>(bank)]));
    return 0;
}
