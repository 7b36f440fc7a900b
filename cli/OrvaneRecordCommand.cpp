#include "cli/OrvaneRecordCommand.h"

#include "audioin/KTAudioRecorder.h"
#include "audioin/KTRecordingTake.h"
#include "audioin/alsa/KTAlsaAudioInputDevice.h"
#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneOutputFile.h"
#include "cli/OrvaneRecordMeter.h"
#include "cli/OrvaneStopSignal.h"
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "device/TLRecording.h"
#include "midiout/alsa/KTAlsaQuietErrors.h"
#include "resources/FactoryImage.h"

#include <chrono>
#include <csignal>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

namespace {

using Channel = KTAudioRecorder::Channel;

// The lowest threshold: a 16-bit sample's smallest step is about -90 dBFS.
constexpr double kLowestThresholdDbfs = -96.0;
constexpr double kBankSeconds = double(KTRecordingTake::kBankFrames) / KTAudioInputDevice::kSampleRate;
// How often the meter is drawn and the signals looked at.
constexpr auto kTick = std::chrono::milliseconds(20);

Channel channelNamed(const OrvaneCommandParser& command)
{
    const QString name = command.value("channel");
    if (name == "mix")
        return Channel::Mix;
    if (name == "left")
        return Channel::Left;
    if (name == "right")
        return Channel::Right;
    command.fail("--channel is mix, left or right, not \"" + name.toStdString() + "\"");
}

std::optional<double> thresholdOf(const OrvaneCommandParser& command)
{
    if (!command.isSet("threshold"))
        return {};
    bool number = false;
    const double dbfs = command.value("threshold").toDouble(&number);
    if (!number || !(dbfs >= kLowestThresholdDbfs && dbfs <= 0.0))
        command.fail("--threshold is a level in dBFS from -96 to 0, not \"" + command.value("threshold").toStdString() +
                     "\"");
    return dbfs;
}

std::size_t frameLimitOf(const OrvaneCommandParser& command)
{
    if (!command.isSet("seconds"))
        return KTRecordingTake::kBankFrames;
    bool number = false;
    const double seconds = command.value("seconds").toDouble(&number);
    if (!number || !(seconds > 0.0 && seconds <= kBankSeconds))
        command.fail("--seconds is more than 0 and at most 1.486 (a bank's length), not \"" +
                     command.value("seconds").toStdString() + "\"");
    return std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(seconds * KTAudioInputDevice::kSampleRate)));
}

// Records until the take is full, the input fails or a signal comes; the
// meter on the terminal meanwhile.
KTAudioRecorder::Ending record(const std::string& deviceName, const KTAudioRecorder::Options& options)
{
    KTAlsaAudioInputDevice device(deviceName);
    KTAudioRecorder recorder(device);
    OrvaneRecordMeter meter(options.thresholdDbfs.has_value());
    KTAudioRecorder::Ending ending;
    recorder.start(options, {[&meter](const KTAudioRecorder::Progress& progress) { meter.update(progress); },
                             [&ending](KTAudioRecorder::Ending&& end) { ending = std::move(end); }});
    while (recorder.isRecording() && OrvaneStopSignal::received() == 0) {
        meter.draw();
        std::this_thread::sleep_for(kTick);
    }
    recorder.stop();
    meter.draw();
    meter.finish();
    return ending;
}

// The take to write, or the failure that ends the command without writing.
// Ctrl-C stops the recording and keeps the take; a second one, SIGTERM or
// SIGHUP end the command without writing.
const std::vector<std::int16_t>& keptTake(const KTAudioRecorder::Ending& ending, const std::string& subject)
{
    if (!ending.failure.empty())
        throw OrvaneCliError::failure(subject, ending.failure);
    const int signal = OrvaneStopSignal::signal();
    if (OrvaneStopSignal::received() > 1 || (signal != 0 && signal != SIGINT))
        throw OrvaneCliError::interrupted(signal, subject, "recording cancelled, nothing written");
    if (ending.take.empty())
        throw OrvaneCliError::interrupted(signal, subject, "stopped before anything was recorded, nothing written");
    if (ending.overruns > 0)
        std::fprintf(stderr, "orvane: %s: the input ran over %u times; the take misses sound there\n",
                     subject.c_str(), ending.overruns);
    return ending.take;
}

} // namespace

int OrvaneRecordCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command(
        "record",
        "Records from a sound input into bank N and writes the banks as a disk. The input's channels are\n"
        "mixed to mono as an import mixes them; the take is placed as an import is. On a terminal a level\n"
        "meter shows the peak. Ctrl-C stops early and keeps what was recorded; a second Ctrl-C cancels\n"
        "(exit 130, nothing written), as do SIGTERM and SIGHUP (143, 129).");
    command.addOption({"bank", "The bank to record into, 1 to 7.", "N"}, true);
    command.addOption({"out", "The disk to write; - writes it to standard output.", "DISK"}, true);
    command.addOption({"from", "Start from the banks of this disk instead of the factory banks.", "DISK"});
    command.addOption({"one-bank", "Write a disk of bank N alone."});
    command.addOption(
        {"device", "The ALSA sound input (default: \"default\").", "NAME", KTAlsaAudioInputDevice::kDefaultName});
    command.addOption(
        {"threshold", "Wait until the input reaches this level in dBFS (-96 to 0), keeping 10 ms before it.", "DB"});
    command.addOption({"seconds", "Record at most this long (up to 1.486, a bank's length, the default).", "S"});
    command.addOption({"channel", "mix (the default), or the left or right channel alone.", "mix|left|right", "mix"});
    if (!command.parse(arguments, 0, 0))
        return 0;
    const int bank = OrvaneBankNumbers::one(command.required("bank"));
    const KTAudioRecorder::Options options{channelNamed(command), thresholdOf(command), frameLimitOf(command)};
    const std::string device = command.value("device").toStdString();
    // The output is checked before recording, so a bad name loses no take.
    const OrvaneOutputFile out(OrvaneArgumentText::bytes(command.required("out")), {});

    TLOrvane orvane(FactoryImage::samples());
    if (command.isSet("from"))
        OrvaneDiskInput::load(OrvaneArgumentText::bytes(command.value("from")), orvane);

    KTAlsaQuietErrors::install();
    OrvaneStopSignal::install();
    const std::time_t started = std::time(nullptr);
    const KTAudioRecorder::Ending ending = record(device, options);
    TLRecording::store(orvane, bank, keptTake(ending, "sound device \"" + device + "\""), started);
    const TLDiskShape shape = command.isSet("one-bank") ? TLDiskShape::OneBank : TLDiskShape::AllBanks;
    std::string failure;
    const std::vector<std::uint8_t> disk = TLDiskWriter::bytes(TLDiskWriter::tracks(orvane, shape, bank), failure);
    if (disk.empty())
        throw OrvaneCliError::unwritable(out.path(), failure);
    out.write(disk);
    return 0;
}
