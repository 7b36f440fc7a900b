#include "audioout/alsa/KTAlsaPcmFailure.h"

#include <alsa/asoundlib.h>

#include <cerrno>

std::string KTAlsaPcmFailure::reason(int error)
{
    if (error == -EBUSY || error == -EAGAIN)
        return "busy (another program is using it)";
    if (error == -EACCES || error == -EPERM)
        return "no permission to use it";
    if (error == -ENOENT || error == -ENODEV || error == -ENXIO) {
        int card = -1;
        return snd_card_next(&card) < 0 || card < 0 ? "no sound card" : "no such device";
    }
    return snd_strerror(error);
}
