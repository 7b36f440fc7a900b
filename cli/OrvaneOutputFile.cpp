#include "cli/OrvaneOutputFile.h"

#include "cli/OrvaneCliError.h"
#include "device/TLSafeWrite.h"

#include <unistd.h>

OrvaneOutputFile::OrvaneOutputFile(std::string path, const std::vector<std::filesystem::path>& inputs)
    : mPath(std::move(path))
{
    if (mPath == kStandardOutput)
        return;
    if (const std::string refused = TLSafeWrite::refusal(mPath, inputs); !refused.empty())
        throw OrvaneCliError::unwritable(mPath, refused);
}

void OrvaneOutputFile::write(std::span<const std::uint8_t> bytes) const
{
    const TLWriteResult result =
        mPath == kStandardOutput ? TLSafeWrite::writeAll(STDOUT_FILENO, bytes) : TLSafeWrite::replace(mPath, bytes);
    if (!result)
        throw OrvaneCliError::unwritable(mPath == kStandardOutput ? "standard output" : mPath, result.failure);
}
