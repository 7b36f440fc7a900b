#include "cli/OrvaneExportCommand.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneOutputFile.h"
#include "device/TLAudibleSound.h"
#include "device/TLDefaultNames.h"
#include "device/TLOrvane.h"
#include "device/TLSafeFileName.h"
#include "device/TLWaveExport.h"
#include "resources/FactoryImage.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

// "03-Drums.wav": the bank's number, then its name made safe for a file system.
std::string fileNameOf(const TLOrvane& orvane, int bank)
{
    char number[8];
    std::snprintf(number, sizeof number, "%02d-", bank + 1);
    return number + TLSafeFileName::from(orvane.mBankNames[static_cast<std::size_t>(bank)],
                                         TLDefaultNames::bankName(bank)) + ".wav";
}

std::vector<std::uint8_t> waveOf(const TLOrvane& orvane, int bank, bool trim)
{
    const std::vector<std::int16_t>& samples = orvane.mSamples[static_cast<std::size_t>(bank)];
    return TLWaveExport::bytes(trim ? TLAudibleSound::samplesOf(samples) : samples);
}

// Every bank of the disk into the folder, each file checked before any is written.
void exportAll(const OrvaneCommandParser& command, const std::string& disk, bool trim)
{
    if (command.isSet("bank") || command.isSet("out"))
        command.fail("--all writes every bank into --out-dir; it takes neither --bank nor --out");
    const std::filesystem::path folder = OrvaneArgumentText::bytes(command.required("out-dir"));
    TLOrvane orvane(FactoryImage::samples());
    const OrvaneDiskInput input = OrvaneDiskInput::load(disk, orvane);
    std::vector<std::pair<OrvaneOutputFile, int>> outputs;
    for (const int bank : input.banks)
        outputs.emplace_back(OrvaneOutputFile((folder / fileNameOf(orvane, bank)).string(), {disk}), bank);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& [out, bank] : outputs)
        out.write(waveOf(orvane, bank, trim));
}

} // namespace

int OrvaneExportCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("export", "Writes a bank of a disk as a WAV file (44,100 Hz, mono, 16-bit), or every "
                                          "bank of it into a folder.");
    command.addArgument("DISK", "The disk that holds the bank.");
    command.addOption({"bank", "The bank to export, 1 to 7 (required without --all).", "N"});
    command.addOption({"out", "The WAV file to write; - writes it to standard output (required without --all).",
                       "FILE.wav"});
    command.addOption({"trim", "Write the bank up to its last sound, without the silence after it."});
    command.addOption({"all", "Every bank the disk holds, as NN-bank name.wav in --out-dir."});
    command.addOption({"out-dir", "The folder --all writes into (made when missing).", "DIR"});
    if (!command.parse(arguments, 1, 1))
        return 0;
    const std::string disk = OrvaneArgumentText::bytes(command.files().front());
    const bool trim = command.isSet("trim");
    if (command.isSet("all")) {
        exportAll(command, disk, trim);
        return 0;
    }
    if (command.isSet("out-dir"))
        command.fail("--out-dir goes with --all");
    const int bank = OrvaneBankNumbers::one(command.required("bank"));
    const OrvaneOutputFile out(OrvaneArgumentText::bytes(command.required("out")), {disk});
    TLOrvane orvane(FactoryImage::samples());
    OrvaneDiskInput::load(disk, orvane).require(bank, disk);
    out.write(waveOf(orvane, bank, trim));
    return 0;
}
