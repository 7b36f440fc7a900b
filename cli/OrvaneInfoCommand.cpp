#include "cli/OrvaneInfoCommand.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "device/TLBankSummary.h"
#include "device/TLDefaultNames.h"
#include "device/TLOrvane.h"
#include "resources/FactoryImage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

// What info tells of one bank.
struct BankInfo {
    int bank = 0;
    std::string name;
    // Slot (from 0) and name of each sample name the disk set.
    std::vector<std::pair<int, std::string>> sampleNames;
    TLBankSummary summary;
};

QString text(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

const char* shapeName(TLDiskShape shape)
{
    return shape == TLDiskShape::OneBank ? "one-bank" : "all-banks";
}

// The sample names the disk set: those other than the default names
// ("Sample 1 (in Bank 1)" and so on).
BankInfo bankInfo(const TLOrvane& orvane, int bank)
{
    const auto index = static_cast<std::size_t>(bank);
    BankInfo info{bank, orvane.mBankNames[index], {}, TLBankSummary::of(orvane.mSamples[index])};
    for (std::size_t slot = 0; slot < orvane.mSampleNames[index].size(); ++slot)
        if (orvane.mSampleNames[index][slot] != TLDefaultNames::sampleName(bank, static_cast<int>(slot)))
            info.sampleNames.emplace_back(static_cast<int>(slot), orvane.mSampleNames[index][slot]);
    return info;
}

// Names are written with their control characters escaped, so that a name
// cannot split a line or reach the terminal as a command.
void printText(const std::string& path, TLDiskShape shape, const std::vector<BankInfo>& banks)
{
    std::printf("%s: %s disk\n", OrvaneArgumentText::escaped(path).c_str(), shapeName(shape));
    for (const BankInfo& bank : banks) {
        const std::string peak =
            bank.summary.peak == 0 ? "-inf" : QString::number(bank.summary.peakDbfs(), 'f', 1).toStdString();
        std::printf("bank %d \"%s\": %zu samples (%.3f s), peak %s dBFS\n", bank.bank + 1,
                    OrvaneArgumentText::escaped(bank.name).c_str(), bank.summary.length, bank.summary.seconds(),
                    peak.c_str());
        for (const auto& [slot, name] : bank.sampleNames)
            std::printf("  sample %d \"%s\"\n", slot + 1, OrvaneArgumentText::escaped(name).c_str());
    }
}

// One JSON object on one line; JSON escapes control characters itself.
void printJson(const std::string& path, TLDiskShape shape, const std::vector<BankInfo>& banks)
{
    QJsonArray array;
    for (const BankInfo& bank : banks) {
        QJsonArray names;
        for (const auto& [slot, name] : bank.sampleNames)
            names.append(QJsonObject{{"slot", slot + 1}, {"name", text(name)}});
        array.append(QJsonObject{
            {"bank", bank.bank + 1},
            {"name", text(bank.name)},
            {"sampleNames", names},
            {"length", static_cast<qint64>(bank.summary.length)},
            {"seconds", bank.summary.seconds()},
            {"peakDbfs", bank.summary.peak == 0 ? QJsonValue() : QJsonValue(bank.summary.peakDbfs())},
        });
    }
    const QJsonObject object{{"file", text(path)}, {"shape", shapeName(shape)}, {"banks", array}};
    std::puts(QJsonDocument(object).toJson(QJsonDocument::Compact).constData());
}

} // namespace

int OrvaneInfoCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("info", "Shows the banks of disks: names, length and peak level.");
    command.addArgument("DISK...", "The disks to look at, one block (or JSON line) each.");
    command.addOption({"json", "Print one JSON object a line, a disk each, instead of text."});
    if (!command.parse(arguments, 1, std::numeric_limits<qsizetype>::max()))
        return 0;
    for (const QString& file : command.files()) {
        const std::string path = OrvaneArgumentText::bytes(file);
        TLOrvane orvane(FactoryImage::samples());
        const OrvaneDiskInput disk = OrvaneDiskInput::load(path, orvane);
        std::vector<BankInfo> banks;
        for (const int bank : disk.banks)
            banks.push_back(bankInfo(orvane, bank));
        if (command.isSet("json"))
            printJson(path, disk.shape, banks);
        else
            printText(path, disk.shape, banks);
        std::fflush(stdout);
    }
    return 0;
}
