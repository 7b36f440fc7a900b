#pragma once

#include <string>

// Why a command cannot go on: the one line it leaves on stderr and the exit
// status. Thrown by the commands, caught once in OrvaneCommandLine.
struct OrvaneCliError {
    static constexpr int kFailure = 1;
    static constexpr int kUsage = 2;
    static constexpr int kInterrupted = 130;

    int exitCode = kFailure;
    std::string message;

    static OrvaneCliError failure(const std::string& subject, const std::string& reason)
    {
        return {kFailure, subject + ": " + reason};
    }
    static OrvaneCliError usage(const std::string& message) { return {kUsage, message}; }
};
