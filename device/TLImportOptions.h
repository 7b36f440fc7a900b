#pragma once

#include "audio/KTChannelChoice.h"
#include "audio/KTSampleConverter.h"

#include <optional>

// What part of a file goes into a bank, and how it is shaped on the way: the
// options apply between reading and placing. Without any, an import is the
// file from its start, its channels mixed, as it always was.
struct TLImportOptions {
    using Resampling = KTSampleConverter::Resampling;
    using Channel = KTChannelChoice::Channel;

    static constexpr double kDefaultTrimDbfs = -50.0;
    static constexpr double kDefaultNormalizeDbfs = 0.0;

    Resampling resampling = Resampling::Linear;
    // Where in the file the bank's sound starts, and how much of the file
    // goes in at most (never more than a bank holds).
    double startSeconds = 0.0;
    std::optional<double> lengthSeconds{};
    Channel channel = Channel::Mix;
    // Leading samples below this level are left out, and the bank takes the
    // file from its first louder sample on.
    std::optional<double> trimSilenceDbfs{};
    // The sound's peak is brought to this level.
    std::optional<double> normalizeDbfs{};
};
