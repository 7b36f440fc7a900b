#include "cli/OrvanePlayCommand.h"

#include "audioout/KTAudioPlayer.h"
#include "audioout/alsa/KTAlsaAudioDevice.h"
#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneBankNumbers.h"
#include "cli/OrvaneCliError.h"
#include "cli/OrvaneCommandParser.h"
#include "cli/OrvaneDiskInput.h"
#include "cli/OrvaneStopSignal.h"
#include "device/TLAudibleSound.h"
#include "device/TLOrvane.h"
#include "midiout/alsa/KTAlsaQuietErrors.h"
#include "resources/FactoryImage.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

int OrvanePlayCommand::run(const QStringList& arguments)
{
    OrvaneCommandParser command("play", "Plays a bank of a disk on the sound output, up to its last non-zero "
                                        "sample.\nCtrl-C stops it and exits 130.");
    command.addArgument("DISK", "The disk that holds the bank.");
    command.addOption({"bank", "The bank to play, 1 to 7.", "N"}, true);
    command.addOption(
        {"device", "The ALSA sound device (default: \"default\").", "NAME", KTAlsaAudioDevice::kDefaultName});
    if (!command.parse(arguments, 1, 1))
        return 0;
    const int bank = OrvaneBankNumbers::one(command.required("bank"));
    const std::string path = OrvaneArgumentText::bytes(command.files().front());
    const std::string deviceName = command.value("device").toStdString();

    TLOrvane orvane(FactoryImage::samples());
    OrvaneDiskInput::load(path, orvane).require(bank, path);

    KTAlsaQuietErrors::install();
    const std::atomic<bool>& stop = OrvaneStopSignal::install();
    KTAlsaAudioDevice device(deviceName);
    KTAudioPlayer player(device);
    std::string failure;
    player.play(TLAudibleSound::samplesOf(orvane.mSamples[static_cast<std::size_t>(bank)]),
                {nullptr, [&failure](const std::string& reason) { failure = reason; }});
    while (player.isPlaying() && !stop.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    player.stop();
    if (!failure.empty())
        throw OrvaneCliError::failure("sound device \"" + deviceName + "\"", failure);
    if (stop.load())
        throw OrvaneCliError::interrupted(OrvaneStopSignal::signal(), "sound device \"" + deviceName + "\"",
                                          "playing stopped");
    return 0;
}
