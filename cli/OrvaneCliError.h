#pragma once

#include <string>

// Why a command cannot go on: the one line it leaves on stderr and the exit
// status. Thrown by the commands, caught once in OrvaneCommandLine.
struct OrvaneCliError {
    static constexpr int kFailure = 1;
    static constexpr int kUsage = 2;
    // A signal ended the command: 128 + its number (130 for SIGINT).
    static constexpr int kSignalBase = 128;

    int exitCode = kFailure;
    std::string message;

    // "SUBJECT: reason": the subject (a file name, a port) with its control
    // characters escaped, the reason starting in lower case.
    static OrvaneCliError failure(const std::string& subject, const std::string& reason);
    static OrvaneCliError usage(const std::string& message) { return {kUsage, message}; }
    // A failure naming a file that cannot be written, with the system's reason.
    static OrvaneCliError unwritable(const std::string& path, const std::string& reason);
    static OrvaneCliError interrupted(int signal, const std::string& subject, const std::string& what);
};
