#include "cli/OrvaneImportCommand.h"

#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneDiskOutput.h"
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"
#include "resources/FactoryImage.h"

#include <string>

namespace {

using Resampling = TLSampleImporter::Resampling;

// linear (the default, as in the window for a new user) or hq.
Resampling resamplingNamed(const QString& name)
{
    if (name == "linear")
        return Resampling::Linear;
    if (name == "hq")
        return Resampling::HighQuality;
    throw OrvaneCliError::usage("import: --resample is linear or hq, not \"" + name.toStdString() + "\"");
}

void importFile(TLOrvane& orvane, int bank, const std::string& path, Resampling resampling)
{
    switch (TLSampleImporter::importInto(orvane, bank, path, resampling)) {
    case TLImportedSound::Status::Imported:
        return;
    case TLImportedSound::Status::Unreadable:
        throw OrvaneCliError::failure(path, "cannot be read");
    case TLImportedSound::Status::Unsupported:
        throw OrvaneCliError::failure(path, "not uncompressed PCM (only PCM AIFF and WAV are supported)");
    case TLImportedSound::Status::NoSound:
        throw OrvaneCliError::failure(path, "holds no sound data");
    }
}

} // namespace

int OrvaneImportCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("import", "AUDIO...",
                                "Imports audio files into banks N, N+1, ... and writes them as a disk.\n"
                                "AIFF and WAV are converted to 44,100 Hz mono 16-bit; any other file is "
                                "taken as raw 16-bit data.");
    command.parser().addOptions({
        {"bank", "The first bank to import into, 1 to 7.", "N"},
        {"out", "The disk to write.", "DISK"},
        {"from", "Start from the banks of this disk instead of the factory banks.", "DISK"},
        {"one-bank", "Write a disk of bank N alone (one AUDIO only)."},
        {"name", "The name of bank N.", "NAME"},
        {"resample", "How files at other rates reach 44,100 Hz: linear interpolation (default) or hq, a "
                     "band-limited filter.", "linear|hq", "linear"},
    });
    if (!command.parse(arguments, 1, 7))
        return 0;
    const QStringList files = command.files();
    const int first = OrvaneBankNumbers::one(command.required("bank"));
    const std::string out = command.required("out").toStdString();
    const bool oneBank = command.parser().isSet("one-bank");
    const Resampling resampling = resamplingNamed(command.parser().value("resample"));
    if (oneBank && files.size() > 1)
        throw OrvaneCliError::usage("import: --one-bank takes one AUDIO file, not " +
                                    std::to_string(files.size()));
    if (first + files.size() > TLOrvane::kBankCount)
        throw OrvaneCliError::usage("import: " + std::to_string(files.size()) + " files from bank " +
                                    std::to_string(first + 1) + " run past bank 7");

    TLOrvane orvane(FactoryImage::samples());
    if (command.parser().isSet("from"))
        OrvaneDiskInput::load(command.parser().value("from").toStdString(), orvane);
    for (qsizetype i = 0; i < files.size(); ++i)
        importFile(orvane, first + static_cast<int>(i), files[i].toStdString(), resampling);
    if (command.parser().isSet("name"))
        orvane.setBankName(command.parser().value("name").toUtf8().constData(), first);
    if (!TLDiskWriter::save(orvane, oneBank ? TLDiskShape::OneBank : TLDiskShape::AllBanks, first, out))
        OrvaneDiskOutput::fail(out);
    return 0;
}
