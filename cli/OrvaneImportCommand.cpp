#include "cli/OrvaneImportCommand.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneImportOptions.h"
#include "cli/OrvaneOutputFile.h"
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"
#include "resources/FactoryImage.h"

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

// "1.486 s" and the like.
std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", value);
    return text;
}

// Notes for what the user may not expect: raw data, clipped float samples, a
// file longer than what reached the bank. Given once the disk is written, so
// that a failure stays the one line it is.
void importFile(TLOrvane& orvane, int bank, const std::string& path, const TLImportOptions& options,
                std::string& notes)
{
    const TLImportedSound sound = TLSampleImporter::importInto(orvane, bank, path, options);
    if (sound.status != TLImportedSound::Status::Imported)
        throw OrvaneCliError::failure(path, sound.reason);
    const auto note = [&path, &notes](const std::string& text) {
        notes += "orvane: " + OrvaneArgumentText::escaped(path) + ": " + text + "\n";
    };
    if (sound.raw)
        note("read as raw 16-bit little-endian data");
    if (sound.clipped > 0)
        note(std::to_string(sound.clipped) + " samples beyond full scale were clipped");
    if (sound.bankSeconds() + 0.0005 < sound.sourceSeconds)
        note("kept " + seconds(sound.bankSeconds()) + " of " + seconds(sound.sourceSeconds));
}

} // namespace

int OrvaneImportCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("import", "Imports audio files into banks N, N+1, ... and writes them as a disk.\n"
                                          "AIFF and WAV are converted to 44,100 Hz mono 16-bit; a bank takes the "
                                          "first 1.486 s (65,536 samples).\nAny other file is taken as raw 16-bit "
                                          "little-endian data.");
    command.addArgument("AUDIO...", "The audio files, one a bank from bank N on.");
    command.addOption({"bank", "The first bank to import into, 1 to 7.", "N"}, true);
    command.addOption({"out", "The disk to write; - writes it to standard output.", "DISK"}, true);
    command.addOption({"from", "Start from the banks of this disk instead of the factory banks.", "DISK"});
    command.addOption({"one-bank", "Write a disk of bank N alone (one AUDIO only)."});
    command.addOption({"name", "The name of bank N.", "NAME"});
    OrvaneImportOptions::addTo(command);
    if (!command.parse(arguments, 1, std::numeric_limits<qsizetype>::max()))
        return 0;
    std::vector<std::string> files;
    for (const QString& file : command.files())
        files.push_back(OrvaneArgumentText::bytes(file));
    const int first = OrvaneBankNumbers::one(command.required("bank"));
    const bool oneBank = command.isSet("one-bank");
    const TLImportOptions options = OrvaneImportOptions::of(command);
    if (oneBank && files.size() > 1)
        command.fail("--one-bank takes one AUDIO file, not " + std::to_string(files.size()));
    if (static_cast<std::size_t>(first) + files.size() > TLOrvane::kBankCount)
        command.fail(std::to_string(files.size()) + " files from bank " + std::to_string(first + 1) +
                     " run past bank 7");
    // The disk --from names may be written over: it is read whole first.
    const OrvaneOutputFile out(OrvaneArgumentText::bytes(command.required("out")), {files.begin(), files.end()});

    TLOrvane orvane(FactoryImage::samples());
    if (command.isSet("from"))
        OrvaneDiskInput::load(OrvaneArgumentText::bytes(command.value("from")), orvane);
    std::string notes;
    for (std::size_t i = 0; i < files.size(); ++i)
        importFile(orvane, first + static_cast<int>(i), files[i], options, notes);
    if (command.isSet("name"))
        orvane.setBankName(OrvaneArgumentText::bytes(command.value("name")).c_str(), first);
    std::string failure;
    const std::vector<std::uint8_t> disk =
        TLDiskWriter::bytes(TLDiskWriter::tracks(orvane, oneBank ? TLDiskShape::OneBank : TLDiskShape::AllBanks, first),
                            failure);
    if (disk.empty())
        throw OrvaneCliError::unwritable(out.path(), failure);
    out.write(disk);
    std::fputs(notes.c_str(), stderr);
    return 0;
}
