#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

// The parser of one command: the command's name as the first positional
// argument, the command's own arguments and options, --help, and usage errors
// thrown as OrvaneCliError with status 2.
class OrvaneCommandParser {
public:
    OrvaneCommandParser(const QString& command, const QString& description);

    // A positional argument as the help shows it ("DISK", "AUDIO...").
    void addArgument(const QString& name, const QString& description);
    // An option; a required one is named in the usage line and marked in the help.
    void addOption(const QCommandLineOption& option, bool required = false);
    // A switch that may carry a value after "=" (--normalize or --normalize=-3),
    // the default value when it carries none.
    void addOptionalValue(const QString& name, const QString& description, const QString& valueName,
                          const QString& defaultValue);

    // Parses the whole command line (program, command, ...). False when --help
    // was asked for: the help is printed and the command has nothing to do.
    // Throws when the positional arguments are fewer than min or more than max.
    bool parse(const QStringList& arguments, qsizetype min, qsizetype max);
    // The positional arguments after the command.
    QStringList files() const;
    bool isSet(const QString& option) const { return mParser.isSet(option); }
    QString value(const QString& option) const;
    // The options in the order they were given, each with its value (empty for
    // a switch), for commands whose options are steps.
    QList<std::pair<QString, QString>> optionsInOrder() const;
    // A number; a usage error naming the option when the value is none.
    double number(const QString& option) const;
    // The option's value; a usage error when it is missing.
    QString required(const QString& option) const;
    // A usage error of this command.
    [[noreturn]] void fail(const std::string& message) const;

    QString helpText() const;

private:
    struct Argument {
        QString name;
        QString description;
    };
    struct Option {
        QCommandLineOption option;
        bool required;
        // For addOptionalValue: the default, and the hidden option that holds a value.
        QString optionalDefault;
    };

    static QString valueHolder(const QString& name) { return name + "-value"; }
    bool takesOptionalValue(const QString& name) const;
    QStringList withOptionalValuesSplit(const QStringList& arguments) const;

    QString mCommand;
    QString mDescription;
    QList<Argument> mArguments;
    QList<Option> mOptions;
    QCommandLineParser mParser;
};
