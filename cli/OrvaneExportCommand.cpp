#include "cli/OrvaneExportCommand.h"

#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneDiskOutput.h"
#include "device/TLOrvane.h"
#include "device/TLWaveExport.h"
#include "resources/FactoryImage.h"

#include <string>

int OrvaneExportCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("export", "DISK",
                                "Writes a bank of a disk as a WAV file (44,100 Hz, mono, 16-bit).");
    command.parser().addOptions({
        {"bank", "The bank to export, 1 to 7.", "N"},
        {"out", "The WAV file to write.", "FILE.wav"},
    });
    if (!command.parse(arguments, 1, 1))
        return 0;
    const int bank = OrvaneBankNumbers::one(command.required("bank"));
    const std::string out = command.required("out").toStdString();
    const std::string path = command.files().front().toStdString();

    TLOrvane orvane(FactoryImage::samples());
    OrvaneDiskInput::load(path, orvane).require(bank, path);
    if (!TLWaveExport::write(out, orvane.mSamples[static_cast<std::size_t>(bank)]))
        OrvaneDiskOutput::fail(out);
    return 0;
}
