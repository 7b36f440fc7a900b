#include "midiout/alsa/KTAlsaQuietErrors.h"

#include <alsa/asoundlib.h>

namespace {

void ignore(const char*, int, const char*, int, const char*, ...) {}

} // namespace

void KTAlsaQuietErrors::install()
{
    snd_lib_error_set_handler(&ignore);
}
