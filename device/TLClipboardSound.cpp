#include "device/TLClipboardSound.h"

#include "device/TLWaveExport.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

std::vector<std::uint8_t> TLClipboardSound::wave(const std::vector<std::int16_t>& samples)
{
    return TLWaveExport::bytes(samples);
}

// The readers read files: the bytes go into a file that lives in memory only,
// read by its /proc name.
TLImportedSound TLClipboardSound::read(const std::vector<std::uint8_t>& bytes)
{
    TLImportedSound sound;
    const int memory = ::memfd_create("orvane-clipboard", MFD_CLOEXEC);
    if (memory < 0) {
        sound.reason = std::strerror(errno);
        return sound;
    }
    if (::write(memory, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()))
        sound = TLSampleImporter::read("/proc/self/fd/" + std::to_string(memory));
    else
        sound.reason = std::strerror(errno);
    ::close(memory);
    return sound;
}
