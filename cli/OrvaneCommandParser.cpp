#include "cli/OrvaneCommandParser.h"

#include "cli/OrvaneCliError.h"

#include <QCoreApplication>

#include <cstdio>

OrvaneCommandParser::OrvaneCommandParser(const QString& command, const QString& syntax, const QString& description)
    : mCommand(command)
{
    mParser.setApplicationDescription(description);
    mParser.addOption({{"h", "help"}, "Shows this help."});
    mParser.addPositionalArgument(command, "The command.", command + " " + syntax);
}

bool OrvaneCommandParser::parse(const QStringList& arguments, qsizetype min, qsizetype max)
{
    if (!mParser.parse(arguments))
        throw OrvaneCliError::usage(mCommand.toStdString() + ": " + mParser.errorText().toStdString());
    if (mParser.isSet("help")) {
        // Qt names the program by the path it was started with.
        QString help = mParser.helpText();
        help.replace(QCoreApplication::arguments().constFirst() + " [options] " + mCommand,
                     "orvane " + mCommand + " [options]");
        std::fputs(help.toUtf8().constData(), stdout);
        return false;
    }
    const qsizetype count = files().size();
    if (count < min)
        throw OrvaneCliError::usage(mCommand.toStdString() + ": a file is missing (see orvane " +
                                    mCommand.toStdString() + " --help)");
    if (count > max)
        throw OrvaneCliError::usage(mCommand.toStdString() + ": unexpected argument \"" +
                                    files().at(max).toStdString() + "\"");
    return true;
}

QStringList OrvaneCommandParser::files() const
{
    return mParser.positionalArguments().mid(1);
}

QString OrvaneCommandParser::required(const QString& option) const
{
    if (!mParser.isSet(option))
        throw OrvaneCliError::usage(mCommand.toStdString() + ": --" + option.toStdString() + " is required");
    return mParser.value(option);
}
