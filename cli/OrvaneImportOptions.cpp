#include "cli/OrvaneImportOptions.h"

#include "cli/OrvaneCommandParser.h"

#include <string>

namespace {

using Resampling = TLImportOptions::Resampling;

Resampling resamplingOf(const OrvaneCommandParser& command)
{
    const QString name = command.value("resample");
    if (name == "linear")
        return Resampling::Linear;
    if (name == "hq")
        return Resampling::HighQuality;
    command.fail("--resample is linear or hq, not \"" + name.toStdString() + "\"");
}

// A time in the file in seconds, 0 or more (more than 0 for a length).
double secondsOf(const OrvaneCommandParser& command, const QString& option, bool positive)
{
    const double seconds = command.number(option);
    if (seconds < 0.0 || (positive && seconds == 0.0))
        command.fail("--" + option.toStdString() + " is a time in seconds" + (positive ? " above 0" : ", 0 or more") +
                     ", not \"" + command.value(option).toStdString() + "\"");
    return seconds;
}

// A level in dBFS; a trim's threshold lies below full scale.
double levelOf(const OrvaneCommandParser& command, const QString& option, double highest)
{
    const double dbfs = command.number(option);
    if (dbfs > highest)
        command.fail("--" + option.toStdString() + " is a level in dBFS up to " + std::to_string(int(highest)) +
                     ", not \"" + command.value(option).toStdString() + "\"");
    return dbfs;
}

} // namespace

void OrvaneImportOptions::addChannelTo(OrvaneCommandParser& command)
{
    command.addOption(
        {"channel", "The channels mixed (the default), or the left or right one alone.", "mix|left|right", "mix"});
}

TLImportOptions::Channel OrvaneImportOptions::channelOf(const OrvaneCommandParser& command)
{
    const QString name = command.value("channel");
    if (name == "mix")
        return TLImportOptions::Channel::Mix;
    if (name == "left")
        return TLImportOptions::Channel::Left;
    if (name == "right")
        return TLImportOptions::Channel::Right;
    command.fail("--channel is mix, left or right, not \"" + name.toStdString() + "\"");
}

void OrvaneImportOptions::addTo(OrvaneCommandParser& command)
{
    command.addOption({"resample", "How files at other rates reach 44,100 Hz: linear interpolation (default) or hq, "
                                   "a band-limited filter.", "linear|hq", "linear"});
    command.addOption({"start", "Where in each file the bank's sound starts, in seconds (default 0).", "SECONDS"});
    command.addOption({"length", "How much of each file goes in, in seconds (at most a bank's 1.486).", "SECONDS"});
    addChannelTo(command);
    command.addOptionalValue("trim-silence", "Leave out leading silence below the level (default -50 dBFS).", "DB",
                             "-50");
    command.addOptionalValue("normalize", "Bring the sound's peak to the level (default 0 dBFS).", "DB", "0");
}

TLImportOptions OrvaneImportOptions::of(const OrvaneCommandParser& command)
{
    TLImportOptions options;
    options.resampling = resamplingOf(command);
    if (command.isSet("start"))
        options.startSeconds = secondsOf(command, "start", false);
    if (command.isSet("length"))
        options.lengthSeconds = secondsOf(command, "length", true);
    options.channel = channelOf(command);
    if (command.isSet("trim-silence"))
        options.trimSilenceDbfs = levelOf(command, "trim-silence", 0.0);
    if (command.isSet("normalize"))
        options.normalizeDbfs = levelOf(command, "normalize", 6.0);
    return options;
}
