#pragma once

// alsa-lib prints its own errors on stderr (a missing /dev/snd/seq, say). A
// command-line program that reports every failure in one line of its own
// turns them off.
class KTAlsaQuietErrors {
public:
    static void install();
};
