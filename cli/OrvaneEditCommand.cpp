#include "cli/OrvaneEditCommand.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneOutputFile.h"
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "device/TLSoundOperations.h"
#include "resources/FactoryImage.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace {

using Bank = TLSoundOperations::Bank;

// An operation on the bank's range, with its level in dB when it takes one;
// returns the samples it clipped. A snap moves the range.
struct Operation {
    std::function<std::size_t(Bank&, TLSampleRange&, double level)> apply;
    // Whether it takes a level, and the level when none is given.
    bool takesLevel = false;
    std::optional<double> defaultLevel{};
};

Operation plain(void (*operation)(Bank&, TLSampleRange))
{
    return {[operation](Bank& bank, TLSampleRange& range, double) {
        operation(bank, range);
        return std::size_t{0};
    }};
}

const std::map<QString, Operation>& operations()
{
    static const std::map<QString, Operation> table{
        {"crop", plain(TLSoundOperations::crop)},
        {"delete", plain(TLSoundOperations::erase)},
        {"silence", plain(TLSoundOperations::silence)},
        {"fade-in", plain(TLSoundOperations::fadeIn)},
        {"fade-out", plain(TLSoundOperations::fadeOut)},
        {"reverse", plain(TLSoundOperations::reverse)},
        {"remove-dc", plain(TLSoundOperations::removeDc)},
        {"gain", {[](Bank& b, TLSampleRange& r, double db) { return TLSoundOperations::gain(b, r, db); }, true}},
        {"normalize", {[](Bank& b, TLSampleRange& r, double db) { return TLSoundOperations::normalize(b, r, db); },
                       true, 0.0}},
        {"trim-silence", {[](Bank& b, TLSampleRange& r, double db) {
                              TLSoundOperations::trimLeadingSilence(b, r, db);
                              return std::size_t{0};
                          },
                          true, -50.0}},
        {"snap", {[](Bank& b, TLSampleRange& r, double) {
             r = TLSoundOperations::snapToZeroCrossings(b, r);
             return std::size_t{0};
         }}},
    };
    return table;
}

// The level an operation was given, or its default.
double levelOf(const OrvaneCommandParser& command, const QString& name, const QString& value,
               const Operation& operation)
{
    if (value.isEmpty() && operation.defaultLevel)
        return *operation.defaultLevel;
    bool valid = false;
    const double db = value.toDouble(&valid);
    if (!valid || !std::isfinite(db))
        command.fail("--" + name.toStdString() + " takes a level in dB, not \"" + value.toStdString() + "\"");
    return db;
}

// One end of a range: samples ("22050"), or seconds ("0.5s"); empty is the
// given end of the bank.
std::optional<std::int64_t> endOf(const QString& text, std::int64_t empty)
{
    if (text.isEmpty())
        return empty;
    bool valid = false;
    if (text.endsWith('s')) {
        const double seconds = text.chopped(1).toDouble(&valid);
        if (valid && std::isfinite(seconds))
            return std::llround(seconds * TLOrvane::kSampleRate);
        return std::nullopt;
    }
    const qlonglong samples = text.toLongLong(&valid);
    return valid ? std::optional<std::int64_t>(samples) : std::nullopt;
}

// "START:END", half-open, within the bank; the whole bank without --range.
TLSampleRange rangeOf(const OrvaneCommandParser& command)
{
    if (!command.isSet("range"))
        return TLSampleRange::whole();
    const QString text = command.value("range");
    const QStringList ends = text.split(':');
    const auto begin = endOf(ends.value(0), 0);
    const auto end = endOf(ends.value(1), TLOrvane::kSamplesPerBank);
    const auto range = ends.size() == 2 && begin && end ? TLSampleRange::checked(*begin, *end) : std::nullopt;
    if (!range)
        command.fail("--range \"" + text.toStdString() + "\" is START:END in samples (0 to 65536) or seconds (0.5s), "
                     "START not after END");
    return *range;
}

} // namespace

int OrvaneEditCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("edit", "Shapes a bank of a disk with the operations in the order given, on a range "
                                        "of it or the whole bank, and writes the disk (its shape kept).\nCrop, delete "
                                        "and trim move sound: the rest is placed again as an import is.");
    command.addArgument("DISK", "The disk that holds the bank.");
    command.addOption({"bank", "The bank to edit, 1 to 7.", "N"}, true);
    command.addOption({"out", "The disk to write (may be DISK); - writes it to standard output.", "DISK"}, true);
    command.addOption({"range", "The samples to work on, START:END (END excluded), in samples or seconds (0.25s:0.5s); "
                                "the whole bank by default.", "START:END"});
    command.addOption({"crop", "Keep only the range."});
    command.addOption({"delete", "Remove the range; the sound after it moves up."});
    command.addOption({"silence", "Silence the range."});
    command.addOption({"gain", "Change the level by DB (clipped samples are counted).", "DB"});
    command.addOptionalValue("normalize", "Bring the peak to DB (default 0 dBFS).", "DB", "");
    command.addOption({"fade-in", "Fade in over the range."});
    command.addOption({"fade-out", "Fade out over the range."});
    command.addOption({"reverse", "Reverse the range."});
    command.addOption({"remove-dc", "Remove the range's DC offset."});
    command.addOptionalValue("trim-silence", "Remove leading silence below DB (default -50 dBFS).", "DB", "");
    command.addOption({"snap", "Move the range's edges to the nearest zero crossings (for the operations after it)."});
    if (!command.parse(arguments, 1, 1))
        return 0;
    const int bank = OrvaneBankNumbers::one(command.required("bank"));
    TLSampleRange range = rangeOf(command);
    std::vector<std::pair<const Operation*, double>> steps;
    for (const auto& [name, value] : command.optionsInOrder())
        if (const auto found = operations().find(name); found != operations().end())
            steps.emplace_back(&found->second,
                               found->second.takesLevel ? levelOf(command, name, value, found->second) : 0.0);
    if (steps.empty())
        command.fail("no operation given (see orvane edit --help)");
    const std::string disk = OrvaneArgumentText::bytes(command.files().front());
    // The disk is read whole before it may be written over.
    const OrvaneOutputFile out(OrvaneArgumentText::bytes(command.required("out")), {});

    TLOrvane orvane(FactoryImage::samples());
    const OrvaneDiskInput input = OrvaneDiskInput::load(disk, orvane);
    input.require(bank, disk);
    std::size_t clipped = 0;
    for (const auto& [operation, level] : steps)
        clipped += operation->apply(orvane.mSamples[static_cast<std::size_t>(bank)], range, level);
    std::string failure;
    const std::vector<std::uint8_t> bytes = TLDiskWriter::bytes(TLDiskWriter::tracks(orvane, input.shape, bank), failure);
    if (bytes.empty())
        throw OrvaneCliError::unwritable(out.path(), failure);
    out.write(bytes);
    if (clipped > 0)
        std::fprintf(stderr, "orvane: bank %d: %zu samples clipped\n", bank + 1, clipped);
    return 0;
}
