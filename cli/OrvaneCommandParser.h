#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The parser of one command: the command's name as the first positional
// argument, --help, and usage errors thrown as OrvaneCliError with status 2.
class OrvaneCommandParser {
public:
    // syntax: the positional arguments as the usage line shows them.
    OrvaneCommandParser(const QString& command, const QString& syntax, const QString& description);

    QCommandLineParser& parser() { return mParser; }
    const QCommandLineParser& parser() const { return mParser; }
    // Parses the whole command line (program, command, ...). False when --help
    // was asked for: the help is printed and the command has nothing to do.
    // Throws when the positional arguments are fewer than min or more than max.
    bool parse(const QStringList& arguments, qsizetype min, qsizetype max);
    // The positional arguments after the command.
    QStringList files() const;
    // The option's value; a usage error when it is missing.
    QString required(const QString& option) const;

private:
    QString mCommand;
    QCommandLineParser mParser;
};
