#include "cli/OrvaneRecordCommand.h"

#include "audioin/KTAudioRecorder.h"
#include "audioin/KTRecordingTake.h"
#include "audioin/alsa/KTAlsaAudioInputDevice.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneDiskOutput.h"
#include "cli/OrvaneRecordMeter.h"
#include "cli/OrvaneStopSignal.h"
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "device/TLRecording.h"
#include "midiout/alsa/KTAlsaQuietErrors.h"
#include "resources/FactoryImage.h"

#include <chrono>
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

Channel channelNamed(const QString& name)
{
    if (name == "mix")
        return Channel::Mix;
    if (name == "left")
        return Channel::Left;
    if (name == "right")
        return Channel::Right;
    throw OrvaneCliError::usage("record: --channel is mix, left or right, not \"" + name.toStdString() + "\"");
}

std::optional<double> thresholdOf(const QCommandLineParser& parser)
{
    if (!parser.isSet("threshold"))
        return {};
    bool number = false;
    const double dbfs = parser.value("threshold").toDouble(&number);
    if (!number || !(dbfs >= kLowestThresholdDbfs && dbfs <= 0.0))
        throw OrvaneCliError::usage("record: --threshold is a level in dBFS from -96 to 0, not \"" +
                                    parser.value("threshold").toStdString() + "\"");
    return dbfs;
}

std::size_t frameLimitOf(const QCommandLineParser& parser)
{
    if (!parser.isSet("seconds"))
        return KTRecordingTake::kBankFrames;
    bool number = false;
    const double seconds = parser.value("seconds").toDouble(&number);
    if (!number || !(seconds > 0.0 && seconds <= kBankSeconds))
        throw OrvaneCliError::usage("record: --seconds is more than 0 and at most 1.486 (a bank's length), not \"" +
                                    parser.value("seconds").toStdString() + "\"");
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
const std::vector<std::int16_t>& keptTake(const KTAudioRecorder::Ending& ending, const std::string& subject)
{
    if (!ending.failure.empty())
        throw OrvaneCliError::failure(subject, ending.failure);
    if (OrvaneStopSignal::received() > 1)
        throw OrvaneCliError{OrvaneCliError::kInterrupted, "recording cancelled, nothing written"};
    if (ending.take.empty())
        throw OrvaneCliError{OrvaneCliError::kInterrupted, "stopped before anything was recorded, nothing written"};
    if (ending.overruns > 0)
        std::fprintf(stderr, "orvane: %s: the input ran over %u times; the take misses sound there\n",
                     subject.c_str(), ending.overruns);
    return ending.take;
}

} // namespace

int OrvaneRecordCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command(
        "record", "",
        "Records from a sound input into bank N and writes the banks as a disk. The input's channels are\n"
        "mixed to mono as an import mixes them; the take is placed as an import is. On a terminal a level\n"
        "meter shows the peak. Ctrl-C stops early and keeps what was recorded; a second Ctrl-C cancels\n"
        "(exit 130, nothing written).");
    command.parser().addOptions({
        {"bank", "The bank to record into, 1 to 7.", "N"},
        {"out", "The disk to write.", "DISK"},
        {"from", "Start from the banks of this disk instead of the factory banks.", "DISK"},
        {"one-bank", "Write a disk of bank N alone."},
        {"device", "The ALSA sound input (default: \"default\").", "NAME", KTAlsaAudioInputDevice::kDefaultName},
        {"threshold", "Wait until the input reaches this level in dBFS (-96 to 0), keeping 10 ms before it.",
         "DB"},
        {"seconds", "Record at most this long (up to 1.486, a bank's length, the default).", "S"},
        {"channel", "mix (the default), or the left or right channel alone.", "mix|left|right", "mix"},
    });
    if (!command.parse(arguments, 0, 0))
        return 0;
    const int bank = OrvaneBankNumbers::one(command.required("bank"));
    const std::string out = command.required("out").toStdString();
    const KTAudioRecorder::Options options{channelNamed(command.parser().value("channel")),
                                           thresholdOf(command.parser()), frameLimitOf(command.parser())};
    const std::string device = command.parser().value("device").toStdString();

    TLOrvane orvane(FactoryImage::samples());
    if (command.parser().isSet("from"))
        OrvaneDiskInput::load(command.parser().value("from").toStdString(), orvane);
    OrvaneDiskOutput::check(out);

    KTAlsaQuietErrors::install();
    OrvaneStopSignal::install();
    const std::time_t started = std::time(nullptr);
    const KTAudioRecorder::Ending ending = record(device, options);
    TLRecording::store(orvane, bank, keptTake(ending, "sound device \"" + device + "\""), started);
    const TLDiskShape shape = command.parser().isSet("one-bank") ? TLDiskShape::OneBank : TLDiskShape::AllBanks;
    if (!TLDiskWriter::save(orvane, shape, bank, out))
        OrvaneDiskOutput::fail(out);
    return 0;
}
