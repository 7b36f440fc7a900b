#include "cli/OrvaneInfoCommand.h"

#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "device/TLBankSummary.h"
#include "device/TLOrvane.h"
#include "resources/FactoryImage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

QString text(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString shapeName(TLDiskShape shape)
{
    return shape == TLDiskShape::OneBank ? "one-bank" : "all-banks";
}

// The sample names the disk set: those that differ from a fresh store's
// default names ("Sample 1 (in Bank 1)" and so on).
QJsonObject bankObject(const TLOrvane& orvane, const TLOrvane& defaults, int bank)
{
    const auto index = static_cast<std::size_t>(bank);
    const TLBankSummary summary = TLBankSummary::of(orvane.mSamples[index]);
    QJsonArray names;
    for (std::size_t slot = 0; slot < orvane.mSampleNames[index].size(); ++slot)
        if (orvane.mSampleNames[index][slot] != defaults.mSampleNames[index][slot])
            names.append(QJsonObject{{"slot", static_cast<int>(slot) + 1},
                                     {"name", text(orvane.mSampleNames[index][slot])}});
    return QJsonObject{
        {"bank", bank + 1},
        {"name", text(orvane.mBankNames[index])},
        {"sampleNames", names},
        {"length", static_cast<qint64>(summary.length)},
        {"seconds", summary.seconds()},
        {"peakDbfs", summary.peak == 0 ? QJsonValue() : QJsonValue(summary.peakDbfs())},
    };
}

void printText(const QString& path, TLDiskShape shape, const QJsonArray& banks)
{
    QString out = path + ": " + shapeName(shape) + " disk\n";
    for (const QJsonValue& value : banks) {
        const QJsonObject bank = value.toObject();
        const double peak = bank["peakDbfs"].isNull() ? -INFINITY : bank["peakDbfs"].toDouble();
        out += QString("bank %1 \"%2\": %3 samples (%4 s), peak %5 dBFS\n")
                   .arg(bank["bank"].toInt())
                   .arg(bank["name"].toString())
                   .arg(bank["length"].toInteger())
                   .arg(bank["seconds"].toDouble(), 0, 'f', 3)
                   .arg(std::isinf(peak) ? QString("-inf") : QString::number(peak, 'f', 1));
        for (const QJsonValue& name : bank["sampleNames"].toArray())
            out += QString("  sample %1 \"%2\"\n").arg(name["slot"].toInt()).arg(name["name"].toString());
    }
    std::fputs(out.toUtf8().constData(), stdout);
}

} // namespace

int OrvaneInfoCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("info", "DISK", "Shows the banks of a disk: names, length and peak level.");
    command.parser().addOption({"json", "Print one JSON object instead of text."});
    if (!command.parse(arguments, 1, 1))
        return 0;
    const QString path = command.files().front();
    TLOrvane orvane(FactoryImage::samples());
    const OrvaneDiskInput disk = OrvaneDiskInput::load(path.toStdString(), orvane);
    const TLOrvane defaults(FactoryImage::samples());
    QJsonArray banks;
    for (const int bank : disk.banks)
        banks.append(bankObject(orvane, defaults, bank));
    if (!command.parser().isSet("json")) {
        printText(path, disk.shape, banks);
        return 0;
    }
    const QJsonObject object{{"file", path}, {"shape", shapeName(disk.shape)}, {"banks", banks}};
    std::fputs(QJsonDocument(object).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
