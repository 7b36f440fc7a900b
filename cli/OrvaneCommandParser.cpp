#include "cli/OrvaneCommandParser.h"

#include "cli/OrvaneArgumentText.h"
#include "cli/OrvaneCliError.h"

#include <QMap>

#include <algorithm>
#include <cmath>
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
    if (option.valueName().startsWith("[="))
        title += option.valueName();
    else if (!option.valueName().isEmpty())
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
    mOptions.append({option, required, {}});
}

void OrvaneCommandParser::addOptionalValue(const QString& name, const QString& description,
                                           const QString& valueName, const QString& defaultValue)
{
    QCommandLineOption flag(name, description);
    mParser.addOption(flag);
    QCommandLineOption holder(valueHolder(name), {}, valueName);
    holder.setFlags(QCommandLineOption::HiddenFromHelp);
    mParser.addOption(holder);
    mOptions.append({QCommandLineOption(name, description, "[=" + valueName + "]"), false, defaultValue});
}

bool OrvaneCommandParser::takesOptionalValue(const QString& name) const
{
    return std::any_of(mOptions.begin(), mOptions.end(), [&name](const Option& option) {
        return !option.optionalDefault.isNull() && option.option.names().contains(name);
    });
}

// "--normalize=-3" becomes "--normalize --normalize-value -3" for the parser.
QStringList OrvaneCommandParser::withOptionalValuesSplit(const QStringList& arguments) const
{
    QStringList split;
    for (const QString& argument : arguments) {
        const qsizetype equals = argument.indexOf('=');
        const QString name = argument.mid(2, equals - 2);
        if (!argument.startsWith("--") || equals < 0 || !takesOptionalValue(name)) {
            split.append(argument);
            continue;
        }
        split << "--" + name << "--" + valueHolder(name) << argument.mid(equals + 1);
    }
    return split;
}

QString OrvaneCommandParser::value(const QString& option) const
{
    if (!takesOptionalValue(option))
        return mParser.value(option);
    if (mParser.isSet(valueHolder(option)))
        return mParser.value(valueHolder(option));
    return std::find_if(mOptions.begin(), mOptions.end(), [&option](const Option& each) {
               return each.option.names().contains(option);
           })->optionalDefault;
}

QList<std::pair<QString, QString>> OrvaneCommandParser::optionsInOrder() const
{
    QList<std::pair<QString, QString>> options;
    QMap<QString, qsizetype> used;
    for (const QString& name : mParser.optionNames()) {
        if (name.endsWith("-value") && takesOptionalValue(name.chopped(6))) {
            options.back().second = mParser.values(name).value(used[name]++);
            continue;
        }
        const bool hasValue = !takesOptionalValue(name) && mParser.values(name).size() > 0;
        options.append({name, hasValue ? mParser.values(name).value(used[name]++) : QString()});
    }
    return options;
}

double OrvaneCommandParser::number(const QString& option) const
{
    bool valid = false;
    const double value = this->value(option).toDouble(&valid);
    if (!valid || !std::isfinite(value))
        fail("--" + option.toStdString() + " takes a number, not \"" + this->value(option).toStdString() + "\"");
    return value;
}

bool OrvaneCommandParser::parse(const QStringList& given, qsizetype min, qsizetype max)
{
    const QStringList arguments = withOptionalValuesSplit(given);
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
