#include "cli/OrvaneCommandParser.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneCliError.h"

#include <cstdio>

namespace {

constexpr qsizetype kColumn = 24;

// "-h, --help" or "--bank N": an option as the help's left column shows it.
QString optionTitle(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names())
        names.append((name.size() == 1 ? "-" : "--") + name);
    QString title = names.join(", ");
    if (!option.valueName().isEmpty())
        title += " <" + option.valueName() + ">";
    return title;
}

QString row(const QString& title, const QString& description)
{
    const QString left = "  " + title;
    const QString gap = left.size() < kColumn ? QString(kColumn - left.size(), ' ') : "\n" + QString(kColumn, ' ');
    return left + gap + description + "\n";
}

} // namespace

OrvaneCommandParser::OrvaneCommandParser(const QString& command, const QString& description)
    : mCommand(command)
    , mDescription(description)
{
    mParser.addPositionalArgument(command, {});
    addOption({{"h", "help"}, "Shows this help."});
}

void OrvaneCommandParser::addArgument(const QString& name, const QString& description)
{
    mArguments.append({name, description});
}

void OrvaneCommandParser::addOption(const QCommandLineOption& option, bool required)
{
    mParser.addOption(option);
    mOptions.append({option, required});
}

bool OrvaneCommandParser::parse(const QStringList& arguments, qsizetype min, qsizetype max)
{
    if (!mParser.parse(arguments)) {
        QString error = mParser.errorText();
        if (error.endsWith('.'))
            error.chop(1);
        fail(error.left(1).toLower().toStdString() + error.mid(1).toStdString());
    }
    if (mParser.isSet("help")) {
        std::fputs(helpText().toUtf8().constData(), stdout);
        return false;
    }
    const qsizetype count = files().size();
    if (count < min)
        fail("a file is missing (see orvane " + mCommand.toStdString() + " --help)");
    if (count > max)
        fail("unexpected argument \"" + OrvaneArgumentText::escaped(OrvaneArgumentText::bytes(files().at(max))) +
             "\"");
    return true;
}

QStringList OrvaneCommandParser::files() const
{
    return mParser.positionalArguments().mid(1);
}

QString OrvaneCommandParser::required(const QString& option) const
{
    if (!mParser.isSet(option))
        fail("--" + option.toStdString() + " is required");
    return mParser.value(option);
}

void OrvaneCommandParser::fail(const std::string& message) const
{
    throw OrvaneCliError::usage(mCommand.toStdString() + ": " + message);
}

QString OrvaneCommandParser::helpText() const
{
    QString usage = "Usage: orvane " + mCommand;
    for (const Argument& argument : mArguments)
        usage += " " + argument.name;
    for (const Option& option : mOptions)
        if (option.required)
            usage += " " + optionTitle(option.option);
    QString help = usage + " [options]\n" + mDescription + "\n";
    if (!mArguments.isEmpty()) {
        help += "\nArguments:\n";
        for (const Argument& argument : mArguments)
            help += row(argument.name, argument.description);
    }
    help += "\nOptions:\n";
    for (const Option& option : mOptions)
        help += row(optionTitle(option.option),
                    (option.required ? "Required. " : "") + option.option.description());
    return help;
}
